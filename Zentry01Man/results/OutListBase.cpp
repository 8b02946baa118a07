#include "OutListBase.h"

#include "ArrKaisekiMain.h"
#include "HistoryList.h"
#include "Labels.h"


void COutListBase::SetRows(const CArrKaisekiMain& analysis, const Context& context) {
    resetRows([&] {
        m_context = context;
        m_columns = Columns();
        m_trials.clear();
        for (const auto& trial : analysis.Trials())
            m_trials.push_back(trial.get());
        RowsSet();
    });
    QStringList samples;
    for (const Column& c : m_columns)
        samples << c.sample;
    sizeColumns(samples);
}

QString COutListBase::Text(int row, int column) const { return CellText(*m_trials.at(row), column); }

int COutListBase::MessageColumn(int row) const { return m_trials.at(row)->m_fileMissing ? firstValueColumn() : -1; }

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
