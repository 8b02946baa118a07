#include "LiveDlg.h"

#include "Clock.h"
#include "DB.h"
#include "GrowToShow.h"
#include "Guarded.h"
#include "HistoryList.h"
#include "ICException.h"
#include "Labels.h"
#include "LiveChanges.h"
#include "OutResultList.h"
#include "OutSelection.h"
#include "ScreenSetup.h"
#include "StringTable.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using LiveTrials::Row;

namespace {
constexpr int kTickMs = 1000;
constexpr int kRetryMs = 10000;
constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kShareRole = Qt::UserRole + 2; // elapsed per mille, for the bar

int compareKeys(const QVariant& a, const QVariant& b) {
    const QPartialOrdering o = QVariant::compare(a, b);
    return o == QPartialOrdering::Less ? -1 : o == QPartialOrdering::Greater ? 1 : 0;
}

// Sorts by the key each cell carries (numbers and times by value), the
// start and then the trial number breaking ties, so that the order is stable.
class LiveItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int c = treeWidget() ? treeWidget()->sortColumn() : 0;
        for (const int column : {c, int(CLiveDlg::Start)})
            if (const int order = compareKeys(data(column, kSortRole), other.data(column, kSortRole)))
                return order < 0;
        return data(0, Qt::UserRole).toInt() < other.data(0, Qt::UserRole).toInt();
    }
};

// Room kept free at either side of every cell, so that a right-aligned number
// and the text or bar beside it do not read as one. The row's background and
// selection run through it.
class PaddedCell : public QStyledItemDelegate {
public:
    PaddedCell(int pad, QObject* parent) : QStyledItemDelegate(parent), m_pad(pad) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(2 * m_pad, 0);
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem panel = option;
        initStyleOption(&panel, index);
        styleOf(option)->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, option.widget);
        QStyleOptionViewItem inner = option;
        inner.rect = option.rect.adjusted(m_pad, 0, -m_pad, 0);
        QStyledItemDelegate::paint(painter, inner, index);
    }

protected:
    static QStyle* styleOf(const QStyleOptionViewItem& option) {
        return option.widget ? option.widget->style() : QApplication::style();
    }
    int m_pad;
};

// The elapsed share of the trial time as a bar holding the cell's text: the
// row is made tall enough for the text inside the bar's outline.
class ElapsedBar : public PaddedCell {
public:
    using PaddedCell::PaddedCell;
    // Outline and a pixel of air above and below the text.
    static constexpr int kBarFrame = 2;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics& fm = option.fontMetrics;
        const int text = fm.horizontalAdvance(QStringLiteral("60/60分"));
        const QSize hint = QStyledItemDelegate::sizeHint(option, index);
        return {std::max(hint.width(), text + 2 * fm.height()) + 2 * m_pad,
                std::max(hint.height(), fm.height() + 2 * (kBarFrame + 1))};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        QStyleOptionProgressBar bar;
        bar.rect = option.rect.adjusted(m_pad, 1, -m_pad, -1);
        bar.minimum = 0;
        bar.maximum = 1000;
        bar.progress = index.data(kShareRole).toInt();
        bar.text = index.data(Qt::DisplayRole).toString();
        bar.textVisible = true;
        bar.textAlignment = Qt::AlignCenter;
        bar.state = option.state | QStyle::State_Horizontal;
        bar.palette = option.palette;
        bar.fontMetrics = option.fontMetrics;
        // The parts one by one: the style draws a sliver of progress outside
        // the outline at no progress at all.
        QStyle* style = styleOf(option);
        style->drawControl(QStyle::CE_ProgressBarGroove, &bar, painter, option.widget);
        QStyleOptionProgressBar part = bar;
        if (bar.progress * bar.rect.width() / bar.maximum >= 2) {
            part.rect = style->subElementRect(QStyle::SE_ProgressBarContents, &bar, option.widget);
            style->drawControl(QStyle::CE_ProgressBarContents, &part, painter, option.widget);
        }
        part.rect = style->subElementRect(QStyle::SE_ProgressBarLabel, &bar, option.widget);
        style->drawControl(QStyle::CE_ProgressBarLabel, &part, painter, option.widget);
    }
};

QString startText(const QDateTime& t) { return t.toString(QStringLiteral("HH:mm")); }

// Where the history screen lists the trial: the filter it passes and its 試行回.
bool historyPlace(CDB& userDb, const Row& r, COutSelection& selection) {
    for (const int trialTime : {r.endTime >= 1 && r.endTime <= 4 ? r.endTime : 2, int(HistoryFilter::Aborted)}) {
        HistoryFilter filter;
        filter.task = r.task;
        filter.trialTime = trialTime;
        filter.courseGroup = r.course == 2 ? 2 : 1;
        CHistoryList list;
        if (!list.Load(userDb, r.userCode, filter))
            return false;
        const auto& rows = list.Rows();
        const auto it = std::find_if(rows.begin(), rows.end(),
                                     [&](const HistoryListRow& h) { return h.autoNumber == r.autoNumber; });
        if (it != rows.end()) {
            selection = {r.userCode, filter, {r.autoNumber}, {int(it - rows.begin()) + 1}};
            return true;
        }
    }
    return false;
}
} // namespace

CLiveDlg::CLiveDlg(CDB& userDb, CDB& masterDb, QWidget* parent)
    : COutScreen(QStringLiteral("実施状況"), parent), m_userDb(userDb), m_masterDb(masterDb),
      m_changes(ILiveChanges::For(userDb)) {
    setObjectName(QStringLiteral("liveScreen"));
    m_count = addCountRow();
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("liveList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList captions(kColumns);
    captions[UserName] = QStringLiteral("ユーザー名");
    captions[Host] = QStringLiteral("PC");
    captions[State] = QStringLiteral("状態");
    captions[Cards] = QStringLiteral("作業枚数");
    captions[Elapsed] = QStringLiteral("経過");
    captions[Left] = QStringLiteral("残り時間");
    captions[Start] = QStringLiteral("開始時刻");
    captions[Task] = QStringLiteral("課題");
    captions[Course] = QStringLiteral("コース");
    captions[Conditions] = QStringLiteral("条件");
    m_list->setHeaderLabels(captions);
    const int pad = ScreenSetup::ScaleX(this, 4);
    m_list->setItemDelegate(new PaddedCell(pad, m_list));
    m_list->setItemDelegateForColumn(Elapsed, new ElapsedBar(pad, m_list));
    // Columns fit their captions until rows come, then their contents; the
    // bar keeps room for "60/60分".
    const QFontMetrics fm = m_list->fontMetrics();
    for (int c = 0; c < kColumns; ++c)
        m_list->setColumnWidth(c, fm.horizontalAdvance(m_list->headerItem()->text(c)) + ScreenSetup::ScaleX(this, 24));
    m_list->setColumnWidth(Elapsed, fm.horizontalAdvance(QStringLiteral("60/60分")) + ScreenSetup::ScaleX(this, 40));
    m_list->header()->setSortIndicatorShown(true);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(Start, Qt::AscendingOrder);
    body()->addWidget(m_list, 1);

    QPushButton* close = button(QStringLiteral("閉じる"), "closeButton");
    addButtonRow({close});
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { openResults(item); });

    m_timer.setParent(this);
    m_timer.setObjectName(QStringLiteral("liveTick"));
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_wake.setSingleShot(true);
    connect(&m_wake, &QTimer::timeout, this, [this] { changeTold(); });
    m_changes->onChange = [this] { changeTold(); };
    Tick();
    m_timer.start();
}

CLiveDlg::~CLiveDlg() = default;

void CLiveDlg::showEvent(QShowEvent* event) {
    COutScreen::showEvent(event);
    if (std::exchange(m_opened, true))
        return;
    // The shared placement or the least size of these screens cuts the last
    // columns: the list is widened once, on opening; later rows do not move it.
    layout()->activate();
    const int wanted = m_list->header()->length() + 2 * m_list->frameWidth() +
                       m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    GrowToShow::By(this, QSize(wanted - m_list->width(), 0));
}

void CLiveDlg::Tick() {
    if (readIfChanged())
        return;
    const QDateTime now = appClock().now();
    for (Row& r : m_rows)
        LiveTrials::Age(r, now);
    showRows();
}

bool CLiveDlg::readIfChanged() {
    if (m_changes->Lost()) {
        listenAgain();
        if (m_changes->Lost())
            return true;
    }
    if (!m_changes->TakeChange(appClock().msecsSinceStart()))
        return false;
    read();
    showRows();
    return true;
}

void CLiveDlg::changeTold() {
    if (readIfChanged() || m_wake.isActive())
        return;
    const qint64 wait = m_changes->WaitingMs(appClock().msecsSinceStart());
    if (wait >= 0)
        m_wake.start(int(wait));
}

void CLiveDlg::listenAgain() {
    // A server that cannot be reached holds the screen up to the connection's
    // timeout at each try: not at every tick.
    const qint64 ms = appClock().msecsSinceStart();
    if (m_away && ms - m_triedMs < kRetryMs)
        return;
    m_triedMs = ms;
    try {
        if (!m_userDb.RestoreLostConnection()) {
            // Closed by the program itself: nothing more to show.
            m_timer.stop();
            m_wake.stop();
            return;
        }
    } catch (const CDBException& e) {
        if (std::exchange(m_away, true))
            return;
        // Aged on, running trials would turn 応答なし for want of reports
        // that cannot arrive: the rows stay as last read, and say since when.
        const QString at = m_readAt.toString(QStringLiteral("HH:mm"));
        m_count->setText(QStringLiteral("%1 から更新されていません　%2").arg(at, countText(int(m_rows.size()))));
        AppMessageBox(QStringLiteral("実施状況は %1 から更新されていません。サーバーにつながりしだい更新を続けます。\n\n%2")
                          .arg(at, e.text()),
                      MsgIcon::Stop);
        return;
    }
    m_away = false;
    m_changes->ListenAgain();
}

void CLiveDlg::read() {
    // A failure is shown once: the rows are read again at the next change.
    Guarded([this] {
        ++m_reads;
        m_readAt = appClock().now();
        m_rows = LiveTrials::Read(m_userDb, m_readAt);
    });
}

void CLiveDlg::showRows() {
    QHash<int, QTreeWidgetItem*> kept;
    const int sortColumn = m_list->sortColumn();
    const Qt::SortOrder order = m_list->header()->sortIndicatorOrder();
    m_list->setSortingEnabled(false); // resorted once below, not after every cell
    for (const Row& r : m_rows) {
        QTreeWidgetItem* item = m_items.take(r.autoNumber);
        if (!item) {
            item = new LiveItem(m_list);
            item->setData(0, Qt::UserRole, r.autoNumber);
            for (int c : {Cards, Left})
                item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
        kept.insert(r.autoNumber, item);
        const int elapsed = std::max(0, r.limitSeconds - r.secondsLeft);
        const struct {
            int column;
            QString text;
            QVariant key;
        } cells[] = {
            {UserName, r.userName, r.userName},
            {Host, r.host, r.host},
            {Task, Labels::Problem(r.task), r.task},
            {Course, Labels::Course(r.course), r.course},
            {Conditions, r.ConditionsText(), r.ConditionsText()},
            {Start, startText(r.started), r.started},
            {Cards, QString::number(r.cardsDone), r.cardsDone},
            {Elapsed, QStringLiteral("%1/%2分").arg(elapsed / 60).arg(r.limitSeconds / 60), elapsed},
            {Left, Row::SecondsText(r.secondsLeft), r.secondsLeft},
            {State, r.StateText(), int(r.state)},
        };
        for (const auto& cell : cells) {
            if (item->text(cell.column) != cell.text)
                item->setText(cell.column, cell.text);
            item->setData(cell.column, kSortRole, cell.key);
        }
        item->setData(Elapsed, kShareRole, r.limitSeconds > 0 ? elapsed * 1000 / r.limitSeconds : 0);
        item->setForeground(State, r.state == LiveTrials::State::Silent ? QBrush(Qt::red) : QBrush());
    }
    const bool rowsChanged = !m_items.isEmpty() || kept.size() != m_fitted;
    qDeleteAll(m_items); // trials no longer listed
    m_items = kept;
    if (rowsChanged) {
        m_fitted = int(kept.size());
        // Room for the sort mark beside the caption only where the caption is
        // the widest: the room spent on every column hid the last ones.
        const QAbstractItemView* view = m_list;
        for (int c = 0; c < kColumns; ++c)
            m_list->setColumnWidth(c, std::max(view->sizeHintForColumn(c),
                                               m_list->header()->sectionSizeHint(c) + ScreenSetup::ScaleX(this, 14)));
    }
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(sortColumn, order);
    m_count->setText(countText(int(m_rows.size())));
}

void CLiveDlg::openResults(QTreeWidgetItem* item) {
    Guarded([this, item] {
        const int autoNumber = item->data(0, Qt::UserRole).toInt();
        const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                     [&](const Row& r) { return r.autoNumber == autoNumber; });
        if (it == m_rows.end() || it->state == LiveTrials::State::Running || it->state == LiveTrials::State::Silent)
            return; // results exist once the trial has ended
        COutSelection selection;
        if (!historyPlace(m_userDb, *it, selection))
            return;
        m_timer.stop();
        COutResultList cards(m_userDb, m_masterDb, selection, this);
        ScreenSetup::ExecOnSharedPlacement(this, cards);
        m_timer.start();
    });
}
