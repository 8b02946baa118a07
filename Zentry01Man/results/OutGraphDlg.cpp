#include "OutGraphDlg.h"

#include "Guarded.h"
#include "KCGraph.h"
#include "Labels.h"
#include "PrintDialogs.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "Zentry01ManStrings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr double kBandHeight = 12000; // 120 mm in 0.01 mm
}

COutGraphDlg::COutGraphDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, int timeBand,
                           QWidget* parent)
    : COutResultScreen(userDb, masterDb, selection, QStringLiteral("解析結果の出力 [グラフ表示]"), parent),
      m_timeBand(timeBand) {
    setObjectName(QStringLiteral("outGraphScreen"));
    addUserRow(userDb, selection.userCode, timeBand);

    auto* titleRow = new QHBoxLayout;
    // The line takes the row's free width and wraps only where that is short.
    titleRow->addWidget(titleLine(), 1);
    m_course = addChoice(titleRow, QStringLiteral("コース"), "courseList");
    if (selection.filter.courseGroup == 1) {
        for (int course : {4, 1, 3})
            m_course->addItem(Labels::Course(course), course);
    } else {
        m_course->addItem(Labels::Course(2), 2);
        m_course->setEnabled(false);
    }
    body()->addLayout(titleRow);

    m_graph = new CKCGraph(this);
    m_graph->setObjectName(QStringLiteral("graph"));
    m_graph->SetForm(CKCGraphDraw::kUtility);
    body()->addWidget(m_graph, 1);

    QPushButton* printButton = button(QStringLiteral("印刷(&P)"), "printButton");
    QPushButton* close = button(QStringLiteral("閉じる"), "closeButton");
    addButtonRow({printButton, close});

    connect(m_course, &QComboBox::activated, this, &COutGraphDlg::reload);
    connect(printButton, &QPushButton::clicked, this, &COutGraphDlg::print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    reload();
}

void COutGraphDlg::reload() {
    Guarded([this] {
        analyse(m_timeBand, m_course->currentData().toInt());
        m_graph->SetData(m_analysis, &m_userDb);
        m_graph->Prepare();
    });
}

void COutGraphDlg::print() {
    Guarded([this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName(ProductTitle());
        if (PrintDialogs::Choose(this, printer))
            PrintTo(printer);
    });
}

bool COutGraphDlg::PrintTo(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter dc;
    if (!dc.begin(&printer)) {
        AppMessageBox(QStringLiteral("印刷でエラーが発生しました。\n\n印刷が開始できません。\nエラーコード=%1")
                          .arg(int(printer.printerState())),
                      MsgIcon::Stop);
        return false;
    }
    CWaitCursor wait;
    // The painter starts at the printable area; its width is the page less the margins the printer needs.
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const QRectF band(0, (printable.height() * 100 - kBandHeight) / 2, printable.width() * 100, kBandHeight);
    m_graph->DrawOnPage(&dc, band);
    return dc.end();
}
