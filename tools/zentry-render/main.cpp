// zentry-render OUTDIR: draws what the screens and printouts show into PNG
// files, so a person can check them by eye. Run with QT_QPA_PLATFORM=offscreen.
#include "FontSubstitution.h"
#include "KCGraph.h"
#include "KCPrintImage.h"
#include "SampleData.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTextStream>

#ifdef ZENTRY_RENDER_DIAL
#include "CountTimer.h"
#include "KCStaticShintyoku.h"
#endif

namespace {

using Draw = CKCPrintImageDraw;

QString g_outDir;
QStringList g_written;

bool save(const QImage& image, const QString& name) {
    const QString path = g_outDir + QLatin1Char('/') + name;
    if (!image.save(path)) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return false;
    }
    g_written << path;
    return true;
}

struct CardPicture {
    const char* name;
    QSize size;
    int valueSource;
    int comparison;
    bool enlarged;
};

bool renderCards(const CArrBase& deck, const QString& kind, std::initializer_list<CardPicture> pictures) {
    bool ok = true;
    for (const CardPicture& p : pictures) {
        CKCPrintImage image;
        image.SetCard(deck, 0, p.size, Draw::kTemplateIds, p.valueSource, p.comparison, p.enlarged);
        ok &= save(image.bitmap(), kind + QLatin1Char('_') + QLatin1String(p.name) + QStringLiteral(".png"));
    }
    return ok;
}

// A landscape A4 sheet of four vouchers at 100 dots per inch, as the
// instructor utility prints them, with the cell frames.
bool renderSheet(const CArrBase& deck) {
    const double dpi = 100;
    QImage sheet(qRound(297 / 25.4 * dpi), qRound(210 / 25.4 * dpi), QImage::Format_RGB32);
    sheet.setDotsPerMeterX(qRound(dpi / 0.0254));
    sheet.setDotsPerMeterY(qRound(dpi / 0.0254));
    sheet.fill(Qt::white);
    QPainter dc(&sheet);
    const double s = 0.9;
    const QSizeF cell(s * 148 / 25.4 * dpi, s * 100 / 25.4 * dpi);
    const QPointF origin((sheet.width() - 2 * cell.width()) / 2, (sheet.height() - 2 * cell.height()) / 2);
    std::array<QRect, 4> cells;
    for (int i = 0; i < 4; ++i) {
        const QRectF r(origin + QPointF((i % 2) * cell.width(), (i / 2) * cell.height()), cell);
        Draw draw;
        draw.Draw(&dc, deck, 0, r, CKCPrintImage::kFace, CKCPrintImage::kFace, Draw::kTemplateIds,
                  Draw::kValueCorrect, Draw::kCompareNone, false, false);
        cells[i] = r.toRect();
    }
    Draw::DrawPageFrames(&dc, cells);
    dc.end();
    return save(sheet, QStringLiteral("sheet_a4_vouchers.png"));
}

// One voucher at its natural size on a postcard-size page turned on its side,
// as printed one to a page: the PDF page and the drawing are 148 x 100 mm.
bool renderPaperVoucher(const CArrBase& deck) {
    const QString path = g_outDir + QStringLiteral("/voucher_paper.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::Postcard));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true);
    QPainter dc;
    if (!dc.begin(&printer)) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return false;
    }
    Draw().Draw(&dc, deck, 0, std::nullopt, CKCPrintImage::kFace, CKCPrintImage::kFace, Draw::kTemplateIds,
                Draw::kValueCorrect, Draw::kCompareNone, true, false);
    dc.end();
    g_written << path;
    return true;
}

bool renderGraphs() {
    const auto trials = SampleData::Trials(25);
    CKCGraphData data;
    for (const auto& t : trials)
        data.Add(*t);
    data.problemCode = 2;
    data.userCode = 1;
    data.selectionType = 5;
    data.courseFilter = 4;
    data.userName = QStringLiteral("山田　花子");

    bool ok = true;
    {
        CKCGraph waiting;
        waiting.resize(900, 420);
        ok &= save(waiting.grab().toImage(), QStringLiteral("graph_waiting.png"));
    }
    {
        CKCGraph graph;
        graph.resize(900, 420);
        graph.SetData(data, nullptr);
        ok &= save(graph.grab().toImage(), QStringLiteral("graph_task_program.png"));
    }
    {
        CKCGraph graph;
        graph.SetForm(CKCGraphDraw::kUtility);
        graph.resize(1150, 480);
        graph.SetData(data, nullptr);
        ok &= save(graph.grab().toImage(), QStringLiteral("graph_utility.png"));
        graph.Prepare();
        ok &= save(graph.grab().toImage(), QStringLiteral("graph_utility_first_page.png"));
    }
    {
        // A selection with no trial to plot says so.
        CKCGraphData none = data;
        none.trials.clear();
        CKCGraph graph;
        graph.SetForm(CKCGraphDraw::kUtility);
        graph.resize(1150, 480);
        graph.SetData(none, nullptr);
        ok &= save(graph.grab().toImage(), QStringLiteral("graph_utility_no_trials.png"));
    }
    return ok;
}

#ifdef ZENTRY_RENDER_DIAL
// The countdown dial at 64 x 64 and the progress text at the size the task
// screens give them.
bool renderDialAndProgress() {
    bool ok = true;
    const int total = 3600;
    for (int percent : {0, 25, 50, 99}) {
        CCountTimer dial;
        dial.resize(64, 64);
        dial.SetTotal(total);
        dial.SetRemaining(total - total * percent / 100);
        ok &=
            save(dial.grab().toImage(), QStringLiteral("dial_%1.png").arg(percent, 2, 10, QLatin1Char('0')));
    }
    struct Progress {
        int course;
        bool progress, timer;
    };
    for (const Progress& p : {Progress{1, true, true}, Progress{2, true, true}, Progress{3, true, true},
                              Progress{3, false, true}}) {
        const auto text =
            CKCStaticShintyoku::ProgressText(p.course, p.progress, p.timer, 40, 35, 12, 25 * 60 + 7);
        CKCStaticShintyoku control;
        control.resize(204, 56);
        control.Prepare();
        control.SetText(text.value_or(QString()));
        ok &=
            save(control.grab().toImage(), QStringLiteral("progress_course%1%2.png")
                                               .arg(p.course)
                                               .arg(p.progress ? QString() : QStringLiteral("_timer_only")));
    }
    return ok;
}
#endif

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: zentry-render OUTDIR\n";
        return 2;
    }
    g_outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(g_outDir)) {
        QTextStream(stderr) << "cannot create " << g_outDir << "\n";
        return 1;
    }
    installFontSubstitutions();

    const auto vouchers = SampleData::Vouchers();
    const auto postcards = SampleData::Postcards();
    bool ok = true;
    ok &= renderCards(
        *vouchers, QStringLiteral("voucher"),
        {{"screen", {537, 363}, Draw::kValueCorrect, Draw::kCompareNone, false},
         {"screen_enlarged", {644, 435}, Draw::kValueCorrect, Draw::kCompareNone, true},
         {"errors_shown", {537, 363}, Draw::kValueDisplayed, Draw::kCompareCorrect, false},
         {"errors_shown_enlarged", {644, 435}, Draw::kValueDisplayed, Draw::kCompareCorrect, true},
         {"marks", {537, 363}, Draw::kValueDisplayed, Draw::kCompareMarks, false}});
    ok &= renderCards(
        *postcards, QStringLiteral("postcard"),
        {{"screen", {382, 565}, Draw::kValueCorrect, Draw::kCompareNone, false},
         {"screen_enlarged", {458, 678}, Draw::kValueCorrect, Draw::kCompareNone, true},
         {"input_compared", {382, 565}, Draw::kValueInput, Draw::kCompareCorrect, false},
         {"input_compared_enlarged", {458, 678}, Draw::kValueInput, Draw::kCompareCorrect, true}});
    ok &= renderSheet(*vouchers);
    ok &= renderPaperVoucher(*vouchers);
    ok &= renderGraphs();
#ifdef ZENTRY_RENDER_DIAL
    ok &= renderDialAndProgress();
#endif

    QTextStream out(stdout);
    for (const QString& path : g_written)
        out << path << "\n";
    return ok ? 0 : 1;
}
