#pragma once
// The version box: the program's picture, its version, and the date of the
// postal data in the master data file.
#include <QDialog>

class CDB;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(CDB& masterDb, QWidget* parent = nullptr);
    // "郵便番号検索は、日本郵政公社 %s更新のデータを使用しています。"; empty without a date.
    static QString PostalDataLine(const QString& date);
};
