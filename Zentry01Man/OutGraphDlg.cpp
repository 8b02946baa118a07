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
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr double kBandHeight = 12000; // 120 mm in 0.01 mm
}

COutGraphDlg::COutGraphDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, int timeBand,
                           QWidget* parent)
    : COutScreen(QStringLiteral("解析結果の出力 [グラフ表示]"), parent), m_userDb(userDb), m_masterDb(masterDb),
      m_selection(selection), m_timeBand(timeBand) {
    setObjectName(QStringLiteral("outGraphScreen"));
    QHBoxLayout* nameRow = userNameRow(userDb, selection.userCode);
    auto* band = new QLineEdit(Labels::TimeBand(timeBand), this);
    band->setObjectName(QStringLiteral("bandField"));
    band->setReadOnly(true);
    band->setFocusPolicy(Qt::NoFocus);
    nameRow->insertWidget(nameRow->count() - 1, new QLabel(QStringLiteral("経過時間"), this));
    nameRow->insertWidget(nameRow->count() - 1, band);

    auto* titleRow = new QHBoxLayout;
    auto* title = new QLabel(selection.TitleLine(), this);
    title->setObjectName(QStringLiteral("titleLine"));
    auto* courseCaption = new QLabel(QStringLiteral("コース"), this);
    m_course = new QComboBox(this);
    m_course->setObjectName(QStringLiteral("courseList"));
    if (selection.filter.courseGroup == 1) {
        for (int course : {4, 1, 3})
            m_course->addItem(Labels::Course(course), course);
    } else {
        m_course->addItem(Labels::Course(2), 2);
        m_course->setEnabled(false);
    }
    courseCaption->setBuddy(m_course);
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(courseCaption);
    titleRow->addWidget(m_course);
    body()->addLayout(titleRow);

    m_graph = new CKCGraph(this);
    m_graph->setObjectName(QStringLiteral("graph"));
    m_graph->SetForm(CKCGraphDraw::kUtility);
    body()->addWidget(m_graph, 1);

    auto* printButton = new QPushButton(QStringLiteral("印刷(&P)"), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    printButton->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(printButton);
    buttons->addWidget(close);
    body()->addLayout(buttons);

    connect(m_course, &QComboBox::activated, this, &COutGraphDlg::reload);
    connect(printButton, &QPushButton::clicked, this, &COutGraphDlg::print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    reload();
}

void COutGraphDlg::reload() {
    Guarded([this] {
        CWaitCursor wait;
        m_analysis.Run(m_userDb, m_masterDb, m_selection.Conditions(m_timeBand, m_course->currentData().toInt()));
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
