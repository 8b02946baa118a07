#include "PrintingDlg.h"

#include "PrintDialogs.h"
#include "PrintWorker.h"
#include "StringTable.h"
#include "UtilityResources.h"
#include "Zentry01ManApp.h"
#include "Zentry01ManStrings.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CPrintingDlg::CPrintingDlg(int kind, int dataSet, int paper, int firstNo, int lastNo, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_dataSet(dataSet), m_paper(paper), m_firstNo(firstNo), m_lastNo(lastNo) {
    setObjectName(QStringLiteral("printingScreen"));
    setWindowTitle(QStringLiteral("印刷中..."));
    setWindowIcon(UtilityIcon());
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("印刷中です。  しばらくお待ちください..."), this));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusText"));
    layout->addWidget(m_status);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(360);
    layout->addWidget(m_progress);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, &CPrintingDlg::cancelClicked);
}

CPrintingDlg::~CPrintingDlg() = default;

void TellWherePdfWent(const QString& pdfFile) {
    const QFileInfo file(pdfFile);
    if (pdfFile.isEmpty() || !file.isFile())
        return;
    AppMessageBox(QStringLiteral("PDFファイルに出力しました。\n\n%1").arg(file.absoluteFilePath()),
                  MsgIcon::Information);
}

QString CPrintingDlg::PdfFile() const {
    return m_printer.outputFormat() == QPrinter::PdfFormat ? m_printer.outputFileName() : QString();
}

int CPrintingDlg::exec() {
    if (!PrintDialogs::Choose(parentWidget(), m_printer))
        return Rejected;
    m_cancel = 0;
    m_param = std::make_unique<PRINT_THREAD_PARAM>();
    m_param->deck = &theManApp().LoadDeck(m_kind == PrintLayout::kCards ? 1 : 2, m_dataSet);
    m_param->kind = m_kind;
    m_param->paper = m_paper;
    m_param->firstNo = m_firstNo;
    m_param->lastNo = m_lastNo;
    m_param->cancel = &m_cancel;
    m_worker = std::make_unique<CPrintWorker>(*m_param, m_printer);
    connect(m_worker.get(), &CPrintWorker::progressRange, m_progress, [this](int max) {
        m_progress->setRange(0, max);
    });
    connect(m_worker.get(), &CPrintWorker::progress, this, [this](int page, const QString& text) {
        m_progress->setValue(page);
        m_status->setText(text);
    });
    connect(m_worker.get(), &CPrintWorker::finished, this, &CPrintingDlg::finishedPrinting);
    m_worker->Start();
    return QDialog::exec();
}

void CPrintingDlg::cancelClicked() {
    m_asking = true;
    const bool stop = AppMessageBox(Zentry01ManStrings::ConfirmCancelPrint, MsgIcon::Exclamation, MsgButtons::YesNo);
    m_asking = false;
    if (stop)
        m_cancel = 1;
    // Printing may have ended while the question was open.
    if (m_pendingResult)
        done(m_pendingResult == CPrintWorker::kOk ? Accepted : Rejected);
}

void CPrintingDlg::reject() {
    if (!m_asking)
        cancelClicked();
}

void CPrintingDlg::finishedPrinting(int result) {
    if (m_asking) {
        m_pendingResult = result;
        return;
    }
    done(result == CPrintWorker::kOk ? Accepted : Rejected);
}
