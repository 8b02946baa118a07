#include "ResultListDlg.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "BannerPicture.h"
#include "CardResultList.h"
#include "ExecEnv.h"
#include "GraphDlg.h"
#include "Guarded.h"
#include "ICListCtrl.h"
#include "KaisekiFile.h"
#include "Labels.h"
#include "NumberSpinField.h"
#include "ProgramResources.h"
#include "ResultDetailDlg.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "Zentry01Strings.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
using CardResultList::Column;

int positionsOf(const CArrBase& deck) {
    const IShowOrder* order = deck.ShowOrder();
    return order ? order->size() : deck.GetSize();
}
} // namespace

CResultListDlg::CResultListDlg(const CKaisekiFile& result, const CExecEnv& env, CDB& userDb, CDB& masterDb,
                               const CArrBase& deck, QWidget* parent)
    : QDialog(parent), m_result(result), m_env(env), m_userDb(userDb), m_masterDb(masterDb), m_deck(deck) {
    setObjectName(QStringLiteral("resultListScreen"));
    buildControls();
    ScreenSetup::SetUpScreen(this, ProgramIcon());
    Guarded([this] { fill(); });
}

QStringList CResultListDlg::Captions(int problemCode, int courseCode) {
    QStringList out;
    for (const Column& c : CardResultList::Columns(problemCode, courseCode))
        out << c.caption;
    return out;
}

int CResultListDlg::ListedCount(const CArrBase& deck) {
    const int n = positionsOf(deck);
    int rows = 0;
    while (rows < n && deck.at(deck.CardAtPosition(rows)).finished.isValid())
        ++rows;
    return rows;
}

QStringList CResultListDlg::RowCells(const CArrBase& deck, int position, int problemCode, int courseCode) {
    return CardResultList::Cells(deck, deck.CardAtPosition(position), position + 1, problemCode, courseCode);
}

void CResultListDlg::buildControls() {
    auto* body = AddBannerAndBody<QGridLayout>(this, QStringLiteral("試行一覧"), 16, 10, 14);
    body->setVerticalSpacing(ScreenSetup::ScaleY(this, 8));

    auto* info = new QGridLayout;
    info->setHorizontalSpacing(ScreenSetup::ScaleX(this, 10));
    info->setVerticalSpacing(ScreenSetup::ScaleY(this, 4));
    info->addWidget(new QLabel(QStringLiteral("課題名"), this), 0, 0);
    m_taskName = new QLabel(this);
    m_taskName->setObjectName(QStringLiteral("taskName"));
    m_taskName->setFrameShape(QFrame::StyledPanel);
    info->addWidget(m_taskName, 0, 1);
    info->addWidget(new QLabel(QStringLiteral("ユーザー名"), this), 1, 0);
    m_userName = new QLabel(this);
    m_userName->setObjectName(QStringLiteral("userName"));
    m_userName->setFrameShape(QFrame::StyledPanel);
    info->addWidget(m_userName, 1, 1);
    info->setColumnMinimumWidth(1, ScreenSetup::ScaleX(this, 260));
    info->setColumnStretch(2, 1);
    body->addLayout(info, 0, 0);

    // Rows inside a grid whose two spacings differ get no spacing of their own.
    auto* pick = new QHBoxLayout;
    pick->setSpacing(ScreenSetup::ScaleX(this, 6));
    auto* countLabel = new QLabel(QStringLiteral("枚数"), this);
    m_count = new CNumberSpinField(this);
    m_count->setObjectName(QStringLiteral("countField"));
    m_count->setFixedWidth(ScreenSetup::ScaleX(this, 80));
    countLabel->setBuddy(m_count);
    auto* select = new QPushButton(QStringLiteral("選択(&S)"), this);
    select->setObjectName(QStringLiteral("selectButton"));
    m_rows = new QLabel(this);
    m_rows->setObjectName(QStringLiteral("rowCount"));
    pick->addWidget(countLabel);
    pick->addWidget(m_count);
    pick->addWidget(new QLabel(QStringLiteral("枚目"), this));
    pick->addWidget(select);
    pick->addStretch(1);
    pick->addWidget(m_rows);
    body->addLayout(pick, 1, 0);

    m_list = new CICListCtrl(this);
    m_list->setObjectName(QStringLiteral("cardList"));
    m_list->SetUp(false, QString(), 0);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    body->addWidget(m_list, 2, 0);
    body->setRowStretch(2, 1);

    m_graph = new QPushButton(QStringLiteral("グラフの表示(&G)"), this);
    m_graph->setObjectName(QStringLiteral("graphButton"));
    auto* detail = new QPushButton(QStringLiteral("解答・入力値の表示(&K)"), this);
    detail->setObjectName(QStringLiteral("detailButton"));
    m_back = new QPushButton(QStringLiteral("メニューへ戻る(&N)"), this);
    m_back->setObjectName(QStringLiteral("backButton"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(ScreenSetup::ScaleX(this, 10));
    select->setAutoDefault(false);
    for (QPushButton* b : {m_graph, detail, m_back}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(ScreenSetup::ScaleY(this, 30));
    }
    buttons->addWidget(m_graph);
    buttons->addStretch(1);
    buttons->addWidget(detail);
    buttons->addWidget(m_back);
    body->addLayout(buttons, 3, 0);

    connect(select, &QPushButton::clicked, this, &CResultListDlg::selectByCount);
    connect(m_graph, &QPushButton::clicked, this, &CResultListDlg::showGraph);
    connect(detail, &QPushButton::clicked, this, &CResultListDlg::showDetail);
    connect(m_back, &QPushButton::clicked, this, &CResultListDlg::backToMenu);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { showDetail(); });
}

void CResultListDlg::fill() {
    const int problem = m_env.problem_code;
    const int course = m_env.course_code;
    m_taskName->setText(Labels::Problem(problem));
    QString fullName, fullKana;
    AppSub::GetUserDisplayNames(m_userDb, m_env.user_code, fullName, fullKana);
    m_userName->setText(fullName);

    // Each column shows its sample whole, the cell's margins included, and is
    // never narrower than its caption.
    const QList<Column> columns = CardResultList::Columns(problem, course);
    for (int i = 0; i < columns.size(); ++i)
        m_list->InsertSizedColumn(i, columns[i].caption, columns[i].sample,
                                  columns[i].centred ? Qt::AlignHCenter : Qt::AlignLeft);

    if (!m_result.FirstResult()) {
        AppMessageBox(QStringLiteral("試行の解析結果がありません。"), MsgIcon::Stop);
        return;
    }
    const int rows = ListedCount(m_deck);
    for (int pos = 0; pos < rows; ++pos) {
        const QStringList cells = RowCells(m_deck, pos, problem, course);
        const int row = m_list->InsertItem(pos, cells.first(), pos + 1);
        for (int c = 1; c < cells.size(); ++c) {
            m_list->SetItemText(row, c, cells[c]);
            if (columns[c].centred)
                m_list->topLevelItem(row)->setTextAlignment(c, Qt::AlignCenter);
        }
    }
    m_rows->setText(QStringLiteral("%1 件").arg(rows));
    if (rows > 0)
        m_list->SelectRow(0);
    m_count->setFieldText(QStringLiteral("1"));
    m_count->setRange(1, rows);
    m_graph->setVisible(course == 3 && m_env.graph_flg);
}

void CResultListDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The menu stays out of sight until the trainee goes back to it (the final
    // feedback before this screen shows it again as it closes).
    if (parentWidget())
        parentWidget()->hide();
    if (m_opened)
        return;
    m_opened = true;
    QTimer::singleShot(0, this, [this] {
        if (m_list->ItemCount() > 0)
            m_list->setFocus();
        else
            m_back->setFocus();
    });
}

void CResultListDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter only serves the 枚数 field.
        event->accept();
        if (m_count->hasFocus())
            selectByCount();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CResultListDlg::selectByCount() {
    Guarded([this] {
        const QString text = m_count->fieldText().trimmed();
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok || n <= 0 || n > m_list->ItemCount()) {
            AppMessageBox(Zentry01Strings::CountOutOfRange, MsgIcon::Exclamation);
            return;
        }
        for (int row = 0; row < m_list->ItemCount(); ++row) {
            if (m_list->ItemText(row, 0) == QString::number(n)) {
                m_list->SelectRow(row);
                m_list->setFocus();
                return;
            }
        }
    });
}

void CResultListDlg::showDetail() {
    Guarded([this] {
        // A trial ended before its first card lists nothing to choose from.
        if (m_list->ItemCount() == 0) {
            AppMessageBox(QStringLiteral("表示できるカードがありません。"), MsgIcon::Exclamation);
            return;
        }
        const int row = m_list->SingleSelection();
        if (row < 0) {
            AppMessageBox(Zentry01Strings::SelectListRow, MsgIcon::Exclamation);
            return;
        }
        const int n = m_list->ItemText(row, 0).toInt();
        CResultDetailDlg detail(m_deck, m_deck.CardAtPosition(n - 1), m_env.problem_code, this);
        detail.exec();
    });
}

void CResultListDlg::showGraph() {
    Guarded([this] {
        CGraphDlg graph(m_result, m_env, m_userDb, m_masterDb, this);
        graph.exec();
    });
}

void CResultListDlg::backToMenu() {
    if (parentWidget())
        parentWidget()->show();
    done(kBackToMenu);
}
