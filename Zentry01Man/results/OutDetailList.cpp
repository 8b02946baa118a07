#include "OutDetailList.h"

#include "ArrKaisekiMain.h"
#include "HistoryList.h"
#include "Labels.h"


namespace {
enum Column { TrialNo, Date, Band, CardNo, Item, Kind, CharClass, Expected, Found, ColumnCount };
const char* const kSamples[ColumnCount] = {"■9999回目", "■9999/99/99 99:99:99", "■15分～30分未満",
                                           "■NO■■",   "■メールアドレス",      "■過剰チェック",
                                           "■英小文字", "■正解文字",             "■誤り文字"};
} // namespace

COutDetailList::COutDetailList(QWidget* parent) : COutReportView(parent) {
    QStringList samples;
    for (const char* sample : kSamples)
        samples << QString::fromUtf8(sample);
    sizeColumns(samples);
}

const QStringList& COutDetailList::Captions() {
    static const QStringList captions{QStringLiteral("試行回"),   QStringLiteral("実施日"),   QStringLiteral("経過時間"),
                                      QStringLiteral("NO"),       QStringLiteral("項目名"),   QStringLiteral("エラー種類"),
                                      QStringLiteral("文字種"),   QStringLiteral("正解文字"), QStringLiteral("誤り文字")};
    return captions;
}

QString COutDetailList::ErrorKindName(int problemCode, int kind) {
    if (problemCode == 1)
        return {};
    switch (kind) {
    case 2: return QStringLiteral("見落とし");
    case 3: return problemCode == 3 ? QStringLiteral("過剰チェック") : QStringLiteral("過剰修正");
    default: return QStringLiteral("入力エラー");
    }
}

QString COutDetailList::ItemName(int itemCode) {
    if (itemCode >= 11 && itemCode <= 19)
        return Labels::ItemNames(1).at(itemCode - 11);
    if (itemCode >= 21 && itemCode <= 24)
        return Labels::ItemNames(2).at(itemCode - 21);
    return {};
}

void COutDetailList::SetRows(const CArrKaisekiMain& analysis, int problemCode, int timeBand, const Filter& filter) {
    resetRows([&] {
        m_problemCode = problemCode;
        m_timeBand = timeBand;
        m_rows.clear();
        for (const auto& trial : analysis.Trials()) {
            if (trial->m_fileMissing) {
                m_rows.push_back({trial.get(), nullptr});
                continue;
            }
            for (const CArrKaisekiMain_Moji& m : trial->m_wrongChars) {
                if ((filter.errorKind == 0 || m.m_errorKind == filter.errorKind) &&
                    (filter.itemCode == 0 || m.m_itemCode == filter.itemCode) &&
                    (filter.charClass == 0 || m.m_charClass == filter.charClass))
                    m_rows.push_back({trial.get(), &m});
            }
        }
    });
}

QString COutDetailList::Text(int row, int column) const {
    const Row& r = m_rows.at(row);
    switch (column) {
    case TrialNo: return QString::asprintf("%d", r.trial->m_trialNo) + QStringLiteral("回目");
    case Date: return CHistoryList::DateText(r.trial->m_execution_date);
    case Band: return Labels::TimeBand(m_timeBand);
    default: break;
    }
    if (!r.record)
        return column == CardNo ? r.trial->m_message : QString();
    const CArrKaisekiMain_Moji& m = *r.record;
    switch (column) {
    case CardNo: return QString::asprintf("%04d", m.m_cardNo);
    case Item: return ItemName(m.m_itemCode);
    case Kind: return ErrorKindName(m_problemCode, m.m_errorKind);
    case CharClass: return Labels::CharClass(m.m_charClass);
    case Expected: return m.m_expected;
    default: return m.m_found;
    }
}

int COutDetailList::MessageColumn(int row) const { return m_rows.at(row).record ? -1 : CardNo; }

int COutDetailList::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}
