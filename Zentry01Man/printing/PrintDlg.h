#pragma once
// "アンケートカードと顧客伝票の印刷": what to print (typed or handwritten cards
// or vouchers), which data set, the paper and the range of card numbers.
#include <QDialog>

class CNumberSpinField;
class QButtonGroup;
class QGroupBox;

class CPrintDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPrintDlg(QWidget* parent = nullptr);

private:
    // "印刷開始": checks the range and prints, or sends a handwritten form.
    void startPrinting();
    void buildControls();
    void takeChoices();
    void applyEnablingRules();
    // The field's number, 0 when it holds none.
    static int numberOf(const CNumberSpinField* field);

    QButtonGroup* m_kindGroup = nullptr;
    QButtonGroup* m_dataGroup = nullptr;
    QButtonGroup* m_paperGroup = nullptr;
    QButtonGroup* m_rangeGroup = nullptr;
    QGroupBox* m_rangeBox = nullptr;
    CNumberSpinField* m_start = nullptr;
    CNumberSpinField* m_end = nullptr;
    // The choices as taken on the last click.
    int m_kind = 1, m_dataSet = 1, m_paper = 1;
    bool m_specified = false;
    // First and last card numbers of the questionnaire deck of data set 1.
    int m_first = 0, m_last = 0;
};
