#include "HandwrittenForms.h"

#include "PrintDialogs.h"
#include "PrintingDlg.h"
#include "ProgramFolder.h"
#include "StringTable.h"
#include "Zentry01ManStrings.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace HandwrittenForms {
namespace {
Launcher systemLauncher() {
    return {[](const QString& program) { return QStandardPaths::findExecutable(program); },
            [](const QString& program, const QStringList& args, bool wait, QString* error) {
                if (!wait) {
                    if (QProcess::startDetached(program, args))
                        return true;
                    *error = QStringLiteral("%1 を起動できません。").arg(program);
                    return false;
                }
                QProcess p;
                p.start(program, args);
                if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
                    *error = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
                    if (error->isEmpty())
                        *error = p.errorString();
                    return false;
                }
                return true;
            }};
}

Launcher& launcher() {
    static Launcher l = systemLauncher();
    return l;
}
} // namespace

QString FileName(int kind, int dataSet, int paper) {
    return QString(kind == 3 ? QStringLiteral("アンケートカード_") : QStringLiteral("顧客伝票_")) +
           (dataSet == 2 ? QStringLiteral("K_") : QStringLiteral("T_")) +
           (paper == 2 ? QStringLiteral("Hagaki.pdf") : QStringLiteral("A4.pdf"));
}

Launcher SetLauncher(Launcher l) {
    Launcher previous = launcher();
    launcher() = l.find && l.run ? std::move(l) : systemLauncher();
    return previous;
}

void Print(QWidget* parent, int kind, int dataSet, int paper) {
    const QString lp = launcher().find(QStringLiteral("lp"));
    const QString opener = lp.isEmpty() ? launcher().find(QStringLiteral("xdg-open")) : QString();
    if (lp.isEmpty() && opener.isEmpty()) {
        AppMessageBox(Zentry01ManStrings::NoPdfProgram, MsgIcon::Exclamation);
        return;
    }
    const QString form = sharedDataFolder() + FileName(kind, dataSet, paper);
    if (!QFileInfo::exists(form)) {
        AppMessageBox(QStringLiteral("手書きデータが見つかりません。ソラミ！ミルテアの再インストールをしてください。"),
                      MsgIcon::Exclamation);
        return;
    }
    QString error;
    if (!lp.isEmpty()) {
        const std::optional<PrintDialogs::Target> target = PrintDialogs::ChooseTarget(parent);
        if (!target)
            return;
        if (!target->pdfFile.isEmpty()) {
            // "Print to file" in the dialog: the form itself is the PDF.
            QFile::remove(target->pdfFile);
            if (!QFile::copy(form, target->pdfFile))
                AppMessageBox(QStringLiteral("ファイル %1 に書き込めません。").arg(target->pdfFile), MsgIcon::Exclamation);
            else
                TellWherePdfWent(target->pdfFile);
            return;
        }
        QStringList args;
        if (!target->printerName.isEmpty())
            args << QStringLiteral("-d") << target->printerName;
        if (!launcher().run(lp, args << form, true, &error))
            AppMessageBox(QStringLiteral("手書きデータを印刷できませんでした。\n\n%1").arg(error), MsgIcon::Exclamation);
        return;
    }
    if (!launcher().run(opener, {form}, false, &error))
        AppMessageBox(QStringLiteral("手書きデータを開けませんでした。\n\n%1").arg(error), MsgIcon::Exclamation);
}
} // namespace HandwrittenForms
