#include "PrintDialogs.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

namespace {
QStringList& queued() {
    static QStringList q;
    return q;
}

bool isPdf(const QString& answer) { return answer.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive); }
} // namespace

bool PrintDialogs::Choose(QWidget* parent, QPrinter& printer) {
    if (!queued().isEmpty()) {
        const QString answer = queued().takeFirst();
        if (answer.isEmpty())
            return false;
        if (isPdf(answer)) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(answer);
        } else {
            printer.setPrinterName(answer);
        }
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<PrintDialogs::Target> PrintDialogs::ChooseTarget(QWidget* parent) {
    if (!queued().isEmpty()) {
        const QString answer = queued().takeFirst();
        if (answer.isEmpty())
            return std::nullopt;
        return isPdf(answer) ? Target{QString(), answer} : Target{answer, QString()};
    }
    QPrinter printer;
    if (!Choose(parent, printer))
        return std::nullopt;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return Target{QString(), printer.outputFileName()};
    return Target{printer.printerName(), QString()};
}

void PrintDialogs::setNextAnswer(const QString& answer) { queued().append(answer); }

void PrintDialogs::clearNextAnswers() { queued().clear(); }
