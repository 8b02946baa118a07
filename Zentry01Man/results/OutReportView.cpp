#include "OutReportView.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>

#include <algorithm>

class COutReportView::Model : public QAbstractTableModel {
public:
    explicit Model(COutReportView* view) : QAbstractTableModel(view), m_view(view) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !m_live ? 0 : m_view->RowCount();
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() || !m_live ? 0 : m_view->ColumnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole)
            return m_view->Text(index.row(), index.column());
        if (role == Qt::TextAlignmentRole) {
            const int message = m_view->MessageColumn(index.row());
            const bool inMessage = message >= 0 && index.column() >= message;
            return int((inMessage ? Qt::AlignLeft : m_view->Alignment(index.column())) | Qt::AlignVCenter);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section >= columnCount({}))
            return {};
        if (role == Qt::DisplayRole)
            return m_view->Caption(section);
        if (role == Qt::TextAlignmentRole)
            return int(m_view->Alignment(section) | Qt::AlignVCenter);
        return {};
    }
    void reset(const std::function<void()>& change) {
        beginResetModel();
        change();
        m_live = true;
        endResetModel();
    }
    // The view's rows exist only between its subclass's first reset and its
    // destruction; the view asks for counts outside that span too.
    void retire() { m_live = false; }

private:
    COutReportView* m_view;
    bool m_live = false;
};

// Paints a row's message once, from its column to the right end of the last
// column, instead of cut short in every cell.
class MessageRowDelegate : public QStyledItemDelegate {
public:
    explicit MessageRowDelegate(COutReportView* view) : QStyledItemDelegate(view), m_view(view) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int message = m_view->MessageColumn(index.row());
        if (message < 0 || index.column() < message) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        if (index.column() > message)
            return;
        const QHeaderView* header = m_view->header();
        const int last = header->logicalIndex(header->count() - 1);
        QStyleOptionViewItem wide = option;
        wide.rect.setRight(header->sectionViewportPosition(last) + header->sectionSize(last) - 1);
        QStyledItemDelegate::paint(painter, wide, index);
    }

private:
    COutReportView* m_view;
};

COutReportView::COutReportView(QWidget* parent) : QTreeView(parent), m_model(new Model(this)) {
    setModel(m_model);
    setItemDelegate(new MessageRowDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

COutReportView::~COutReportView() { m_model->retire(); }

Qt::Alignment COutReportView::Alignment(int) const { return Qt::AlignLeft; }
int COutReportView::MessageColumn(int) const { return -1; }

void COutReportView::resetRows(const std::function<void()>& change) {
    m_model->reset(change);
    applyColumnWidths();
    if (RowCount() > 0)
        setCurrentIndex(m_model->index(0, 0));
}

void COutReportView::sizeColumns(const QStringList& samples) {
    m_samples = samples;
    applyColumnWidths();
}

// The header has its sections only once the rows are set.
void COutReportView::applyColumnWidths() {
    const QStringList& samples = m_samples;
    const QFontMetrics metrics(font());
    const QFontMetrics headerMetrics(header()->font());
    for (int c = 0; c < std::min(int(samples.size()), header()->count()); ++c)
        header()->resizeSection(
            c, std::max(metrics.horizontalAdvance(samples[c]), headerMetrics.horizontalAdvance(Caption(c)) + 12));
}
