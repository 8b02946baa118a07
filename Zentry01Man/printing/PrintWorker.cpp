#include "PrintWorker.h"

#include "ArrDenpyo.h"
#include "KCPrintImage.h"
#include "KCPrintImageDraw.h"
#include "SharedPageContent.h"
#include "StringTable.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrinter>
#include <QTimer>

namespace {
constexpr double kUnitsPerInch = 2540.0; // 0.01 mm

using Draw = CKCPrintImageDraw;
} // namespace

CPrintWorker::CPrintWorker(const PRINT_THREAD_PARAM& param, QPrinter& printer, QString valueFace, QObject* parent)
    : QObject(parent), m_param(param), m_printer(printer),
      m_valueFace(valueFace.isEmpty() ? CKCPrintImage::kFace : valueFace) {}

CPrintWorker::~CPrintWorker() { end(); }

bool CPrintWorker::begin(int* result) {
    emit progressRange(1);
    emit progress(0, QString());
    const auto [first, last] = PrintLayout::Range(*m_param.deck, m_param.firstNo, m_param.lastNo);
    if (last == 0) {
        *result = kCancel;
        return false;
    }
    *result = kOk;
    const bool cards = m_param.kind == PrintLayout::kCards;
    m_printer.setFullPage(true);
    m_printer.setPageSize(QPageSize(m_param.paper == PrintLayout::kA4 ? QPageSize::A4 : QPageSize::Postcard));
    m_printer.setPageOrientation(PrintLayout::Landscape(m_param.kind) ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait);
    m_printer.setDocName(cards ? QStringLiteral("アンケートカード") : QStringLiteral("顧客伝票"));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&m_printer)) {
        m_painter.reset();
        AppMessageBox(QStringLiteral("印刷でエラーが発生しました。\n\n印刷が開始できません。\nエラーコード=%1").arg(-1),
                      MsgIcon::Exclamation);
        return false;
    }
    m_pdf = m_painter->paintEngine() && m_painter->paintEngine()->type() == QPaintEngine::Pdf;
    // The four-up block keeps clear of the part of the sheet the printer cannot reach.
    QPageLayout layout = m_printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF margins = layout.minimumMargins() * 100;
    const QSizeF paper = PrintLayout::PaperSize(m_param.kind, m_param.paper);
    const double scale = PrintLayout::PrintableScale(std::max(margins.left(), margins.right()),
                                                     std::max(margins.top(), margins.bottom()), paper);
    m_pages = PrintLayout::Pages(*m_param.deck, m_param.kind, m_param.paper, first, last, scale);
    m_next = 0;
    emit progressRange(PrintLayout::ProgressMaximum(m_param.paper, first, last));
    return true;
}

void CPrintWorker::printPage(size_t index) {
    const int number = static_cast<int>(index) + 1;
    emit progress(number, QStringLiteral("%1 頁を印刷しています").arg(number));
    if (index > 0)
        m_printer.newPage();
    QPainter* dc = m_painter.get();
    const double toDevice = m_printer.resolution() / kUnitsPerInch;
    const bool natural = m_param.paper != PrintLayout::kA4;
    const auto& cells = m_pages[index].cells;
    std::array<QRectF, 4> rects{};
    std::array<QRect, 4> frames{};
    for (size_t i = 0; i < cells.size(); ++i) {
        rects[i] = QRectF(cells[i].rect.topLeft() * toDevice, cells[i].rect.size() * toDevice);
        if (!natural)
            frames[i] = rects[i].toRect();
    }
    const auto drawCells = [&](int layers) {
        for (size_t i = 0; i < cells.size(); ++i)
            if (cells[i].deckIndex >= 0)
                Draw().Draw(dc, *m_param.deck, cells[i].deckIndex,
                            natural ? std::nullopt : std::optional<QRectF>(rects[i]), CKCPrintImage::kFace,
                            m_valueFace, Draw::kTemplateIds, Draw::kValueCorrect, Draw::kCompareNone, false,
                            false, layers);
    };
    // In a PDF the sheet's forms and frames come before all entries, so the
    // pages begin alike and end() stores that beginning once. Elsewhere texts
    // have white grounds, and each card is drawn whole in its usual order.
    if (m_pdf) {
        drawCells(Draw::kForm);
        if (!natural)
            Draw::DrawPageFrames(dc, frames);
        drawCells(Draw::kEntries);
        return;
    }
    drawCells(Draw::kWholeCard);
    if (!natural)
        Draw::DrawPageFrames(dc, frames);
}

void CPrintWorker::end() {
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
        // A file that cannot be rewritten stays as written, a whole document.
        if (m_pdf && m_printer.outputFormat() == QPrinter::PdfFormat && !m_printer.outputFileName().isEmpty())
            SharedPageContent::Apply(m_printer.outputFileName());
    }
}

void CPrintWorker::Start() {
    int result = kOk;
    if (!begin(&result)) {
        QTimer::singleShot(0, this, [this, result] { emit finished(result); });
        return;
    }
    QTimer::singleShot(0, this, &CPrintWorker::step);
}

void CPrintWorker::step() {
    // Pages are printed one per turn of the event loop: a cancel clicked
    // between them stops before the next page; the document is still ended.
    const bool cancelled = m_param.cancel && m_param.cancel->load() != 0;
    if (cancelled || m_next >= m_pages.size()) {
        end();
        emit finished(kOk);
        return;
    }
    printPage(m_next++);
    QTimer::singleShot(0, this, &CPrintWorker::step);
}

int CPrintWorker::RunToEnd() {
    int result = kOk;
    if (!begin(&result))
        return result;
    while (m_next < m_pages.size()) {
        printPage(m_next++);
        if (m_param.cancel && m_param.cancel->load() != 0)
            break;
    }
    end();
    return kOk;
}
