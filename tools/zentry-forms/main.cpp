// zentry-forms OUTDIR: writes the eight handwritten forms — questionnaire
// cards and vouchers of both data sets, four to an A4 sheet and one to a
// postcard — as PDF files into the program folder OUTDIR, from its master
// data file. The forms are the printed cards with every entry in a
// handwriting face, for trainees who work from handwritten material.
// Run with QT_QPA_PLATFORM=offscreen.
#include "ArrDenpyo.h"
#include "DB.h"
#include "FontSubstitution.h"
#include "HandwrittenForms.h"
#include "ICException.h"
#include "PrintWorker.h"
#include "ProgramFolder.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QPrinter>
#include <QTextStream>

namespace {
const QString kHandwriting = QStringLiteral("Klee One");

bool writeForm(CDB& master, int kind, int dataSet, int paper) {
    std::unique_ptr<CArrBase> deck;
    if (kind == 3)
        deck = std::make_unique<CArrHagaki>();
    else
        deck = std::make_unique<CArrDenpyo>();
    deck->Load(master, dataSet);
    const QString path = programFolder() + HandwrittenForms::FileName(kind, dataSet, paper);
    const QString temporary = path + QStringLiteral(".part");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temporary);
    printer.setCreator(QStringLiteral("ソラミ！ミルテア"));
    PRINT_THREAD_PARAM param;
    param.deck = deck.get();
    param.kind = kind == 3 ? PrintLayout::kCards : PrintLayout::kVouchers;
    param.paper = paper;
    CPrintWorker worker(param, printer, kHandwriting);
    worker.RunToEnd();
    // Replaced whole, so an interrupted build never leaves half a form.
    QFile::remove(path);
    if (!QFile::exists(temporary) || !QFile::rename(temporary, path)) {
        QTextStream(stderr) << "zentry-forms: cannot write " << path << "\n";
        return false;
    }
    QTextStream(stdout) << path << "\n";
    return true;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: zentry-forms PROGRAM_FOLDER\n";
        return 2;
    }
    if (!QFontDatabase::families().contains(kHandwriting)) {
        QTextStream(stderr) << "zentry-forms: the handwriting font " << kHandwriting
                            << " is not installed (Debian package fonts-klee)\n";
        return 1;
    }
    installFontSubstitutions();
    setProgramFolder(QString::fromLocal8Bit(argv[1]));
    try {
        CDB master;
        master.OpenMaster();
        bool ok = true;
        for (int kind : {3, 4})
            for (int dataSet : {1, 2})
                for (int paper : {PrintLayout::kA4, PrintLayout::kPostcard})
                    ok &= writeForm(master, kind, dataSet, paper);
        return ok ? 0 : 1;
    } catch (const CICException& e) {
        QTextStream(stderr) << "zentry-forms: " << e.GetErrorMessage() << "\n";
    } catch (const CDBException& e) {
        QTextStream(stderr) << "zentry-forms: " << e.text() << "\n";
    }
    return 1;
}
