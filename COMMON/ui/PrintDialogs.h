#pragma once
// The system print dialog, behind a seam: a test queues the answers of the
// next dialogs ("" cancels, a name ending in ".pdf" prints to that PDF file,
// anything else chooses that printer), and no dialog is shown.
#include <QString>

#include <optional>

class QPrinter;
class QWidget;

class PrintDialogs {
public:
    // Shows the print dialog for printer (print, no page range or selection,
    // no print to file); false when cancelled.
    static bool Choose(QWidget* parent, QPrinter& printer);

    // Where the user chose to print: a printer by name, or a PDF file.
    struct Target {
        QString printerName;
        QString pdfFile;
    };
    static std::optional<Target> ChooseTarget(QWidget* parent);

    // Test seam: the answers of the next dialogs, in order.
    static void setNextAnswer(const QString& answer);
    static void clearNextAnswers();
};
