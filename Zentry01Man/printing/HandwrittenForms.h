#pragma once
// The handwritten questionnaire cards and vouchers: PDF forms in the program
// folder, sent to the chosen printer with CUPS ("lp -d PRINTER FILE") or, on a
// machine without CUPS, opened in the desktop's PDF viewer ("xdg-open FILE").
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace HandwrittenForms {
// "アンケートカード_" (kind 3) or "顧客伝票_" (kind 4), "T_" (data set 1) or
// "K_" (data set 2), "A4.pdf" (paper 1) or "Hagaki.pdf" (paper 2).
QString FileName(int kind, int dataSet, int paper);

// How programs are found and started; tests answer both.
struct Launcher {
    // The full path of a program on the search path, or empty.
    std::function<QString(const QString& program)> find;
    // Runs the program; false with *error set when it could not run or failed.
    std::function<bool(const QString& program, const QStringList& args, bool wait, QString* error)> run;
};
// Installs a launcher (an empty one restores the system's). Returns the previous one.
Launcher SetLauncher(Launcher launcher);

// Prints the form of the choice; every failure is shown.
void Print(QWidget* parent, int kind, int dataSet, int paper);
} // namespace HandwrittenForms
