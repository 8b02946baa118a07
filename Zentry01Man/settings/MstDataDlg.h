#pragma once
// "マスターデータ管理": chooses the master data file both programs use. OK
// writes mst_path, lets the current deck go and connects the utility to the
// new file at once.
#include <QDialog>

class CZentry01ManApp;
class QLineEdit;

class CMstDataDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMstDataDlg(CZentry01ManApp& app, QWidget* parent = nullptr);

    // The program folder's Quillon01.mst.
    static QString DefaultPath();

private:
    void browse();
    void ok();

    CZentry01ManApp& m_app;
    QLineEdit* m_path;
};
