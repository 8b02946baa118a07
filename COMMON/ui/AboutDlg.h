#pragma once
// The version box of both programs: the program's picture, its version line
// and, where the program has one, a second line (the task program names the
// date of its postal data there).
#include <QDialog>

class QIcon;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const QString& versionLine, const QString& secondLine, const QIcon& icon, QWidget* parent = nullptr);
};
