#pragma once
// "外部データの取り出し・取り込み": export of an installation folder into an
// export folder, and import of an export folder into this installation. The
// three folders are remembered in the settings file.
#include <QDialog>

class QLineEdit;

class CKaisekiDlg : public QDialog {
    Q_OBJECT
public:
    explicit CKaisekiDlg(QWidget* parent = nullptr);
    ~CKaisekiDlg() override;

    void done(int result) override; // writes the three folders, whichever way the screen closes

private:
    QLineEdit* folderRow(class QGridLayout* grid, int row, const QString& label, const char* name,
                         const QString& browseText);
    void exportData();
    void importData();

    QLineEdit* m_source = nullptr;
    QLineEdit* m_destination = nullptr;
    QLineEdit* m_import = nullptr;
};
