#pragma once
// "試行条件の設定": the installation-wide conditions under which the task
// program runs every trial (presentation order, start number, card image and
// its side, postal-code search, switch sound), kept in Quillon01.ini. The
// allowed start numbers are those of the questionnaire deck, loaded while the
// screen is open.
#include <QDialog>

class CNumberSpinField;
class CZentry01ManApp;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;

class CSettingDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSettingDlg(CZentry01ManApp& app, QWidget* parent = nullptr);
    ~CSettingDlg() override;

    // The allowed start numbers: the first and the last card's number.
    int LowestStart() const { return m_low; }
    int HighestStart() const { return m_high; }

private:
    void load();
    void applyRules();
    void ok();
    void save();
    QButtonGroup* radioPair(QGroupBox* box, const QString& first, const char* firstName, const QString& second,
                            const char* secondName);

    CZentry01ManApp& m_app;
    int m_low = 0;
    int m_high = 0;
    QButtonGroup* m_order;
    QGroupBox* m_startBox;
    QButtonGroup* m_start;
    CNumberSpinField* m_startNo;
    QCheckBox* m_display;
    QButtonGroup* m_position;
    QCheckBox* m_zip;
    QCheckBox* m_sound;
};
