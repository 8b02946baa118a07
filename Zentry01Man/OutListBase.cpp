#include "OutListBase.h"

#include "ArrKaisekiMain.h"
#include "HistoryList.h"
#include "Labels.h"

#include <QAbstractTableModel>
#include <QHeaderView>

class COutListBase::Model : public QAbstractTableModel {
public:
    explicit Model(COutListBase* list) : QAbstractTableModel(list), m_list(list) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(m_list->m_trials.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(m_list->m_columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole)
            return m_list->CellText(*m_list->m_trials.at(index.row()), index.column());
        if (role == Qt::TextAlignmentRole)
            return int(m_list->m_columns.at(index.column()).alignment | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section >= m_list->m_columns.size())
            return {};
        if (role == Qt::DisplayRole)
            return m_list->m_columns.at(section).caption;
        if (role == Qt::TextAlignmentRole)
            return int(m_list->m_columns.at(section).alignment | Qt::AlignVCenter);
        return {};
    }
    void reset(const std::function<void()>& change) {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    COutListBase* m_list;
};

COutListBase::COutListBase(QWidget* parent) : QTreeView(parent), m_model(new Model(this)) {
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

COutListBase::~COutListBase() = default;

void COutListBase::SetRows(const CArrKaisekiMain& analysis, const Context& context) {
    m_model->reset([&] {
        m_context = context;
        m_columns = Columns();
        m_trials.clear();
        for (const auto& trial : analysis.Trials())
            m_trials.push_back(trial.get());
        RowsSet();
    });
    const QFontMetrics metrics(font());
    const QFontMetrics headerMetrics(header()->font());
    for (int c = 0; c < m_columns.size(); ++c)
        header()->resizeSection(c, std::max(metrics.horizontalAdvance(m_columns[c].sample),
                                            headerMetrics.horizontalAdvance(m_columns[c].caption) + 12));
    if (!m_trials.empty())
        setCurrentIndex(m_model->index(0, 0));
}

int COutListBase::RowCount() const { return int(m_trials.size()); }
int COutListBase::ColumnCount() const { return int(m_columns.size()); }
QString COutListBase::Caption(int column) const { return m_columns.value(column).caption; }
QString COutListBase::Text(int row, int column) const { return CellText(*m_trials.at(row), column); }

QList<COutListBase::Column> COutListBase::LeadingColumns() {
    return {{QStringLiteral("試行回"), QStringLiteral("■9999回目"), Qt::AlignLeft},
            {QStringLiteral("実施日"), QStringLiteral("■9999/99/99 99:99:99"), Qt::AlignLeft},
            {QStringLiteral("経過時間"), QStringLiteral("■15分～30分未満"), Qt::AlignLeft}};
}

QString COutListBase::leadingText(const CArrKaisekiMain_ShikouKai& trial, int column) const {
    switch (column) {
    case 0: return QString::asprintf("%d", trial.m_trialNo) + QStringLiteral("回目");
    case 1: return CHistoryList::DateText(trial.m_execution_date);
    default: return Labels::TimeBand(m_context.timeBand);
    }
}
