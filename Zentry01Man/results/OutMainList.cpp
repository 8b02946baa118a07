#include "OutMainList.h"

#include "ArrKaisekiMain.h"
#include "HistoryMaxMin.h"
#include "Labels.h"
#include "TextUtil.h"

namespace {
constexpr int kLeading = 3;
constexpr int kValueColumns = 9; // コース .. 項目正解率

QString cards(int n) { return QString::asprintf("%d", n) + QStringLiteral("枚"); }
QString rate(double r) { return QString::asprintf("%4.1f%%", r); }

// The counts shown for a trial: as run, or converted to 60 minutes and truncated.
struct Counts {
    int work, correct, items, itemsCorrect;
    double rate, itemRate; // rounded to one decimal
};

Counts countsOf(const CArrKaisekiMain_ShikouKai& t, bool converted) {
    if (converted)
        return {int(t.m_answer_number60), int(t.m_correct_number60), int(t.m_answer_koumoku60),
                int(t.m_correct_koumoku60), TextUtil::OneDecimal(t.m_correct_rate60),
                TextUtil::OneDecimal(t.m_correct_rate_koumoku60)};
    return {t.m_answer_number, t.m_correct_number, t.m_answer_koumoku, t.m_correct_koumoku,
            TextUtil::OneDecimal(t.m_correct_rate), TextUtil::OneDecimal(t.m_correct_rate_koumoku)};
}

const char* const kMarkerCaptions[] = {"最高作業枚数",   "最高正解率",     "最低作業枚数",   "最低正解率",
                                       "最高作業項目数", "最高項目正解率", "最低作業項目数", "最低項目正解率"};
} // namespace

// ---------------------------------------------------------------- 集計値一覧

QList<COutListBase::Column> COutMainList1::Columns() const {
    QList<Column> c = LeadingColumns();
    c.insert(1, {QStringLiteral("コース"), QStringLiteral("■レベル■"), Qt::AlignLeft});
    const char* const numbers[][2] = {{"作業枚数", "■作業枚数"},     {"正しい枚数", "■正しい枚数"},
                                      {"エラー枚数", "■エラー枚数"}, {"正解率", "■100.0%"},
                                      {"作業項目数", "■作業項目数"}, {"正しい項目数", "■正しい項目数"},
                                      {"エラー項目数", "■エラー項目数"}, {"項目正解率", "■項目正解率"}};
    for (const auto& n : numbers)
        c << Column{QString::fromUtf8(n[0]), QString::fromUtf8(n[1]), Qt::AlignRight};
    if (context().courseGroup == 1)
        for (const char* caption : kMarkerCaptions)
            c << Column{QString::fromUtf8(caption), QStringLiteral("■") + QString::fromUtf8(caption),
                        Qt::AlignHCenter};
    return c;
}

std::array<double, 4> COutMainList1::markedValues(const CArrKaisekiMain_ShikouKai& trial) const {
    const Counts n = countsOf(trial, context().trialTime == HistoryFilter::Converted60);
    return {double(n.work), n.rate, double(n.items), n.itemRate};
}

void COutMainList1::RowsSet() {
    // The markers compare the complete analyses only, by the values as shown.
    m_markers = false;
    for (const CArrKaisekiMain_ShikouKai* t : trials()) {
        if (t->m_fileMissing)
            continue;
        const std::array<double, 4> v = markedValues(*t);
        for (int i = 0; i < 4; ++i) {
            m_highest[i] = m_markers ? std::max(m_highest[i], v[i]) : v[i];
            m_lowest[i] = m_markers ? std::min(m_lowest[i], v[i]) : v[i];
        }
        m_markers = true;
    }
}

QString COutMainList1::valueText(const CArrKaisekiMain_ShikouKai& trial, int column) const {
    const Counts n = countsOf(trial, context().trialTime == HistoryFilter::Converted60);
    switch (column) {
    case 4: return cards(n.work);
    case 5: return cards(n.correct);
    case 6: return cards(n.work - n.correct);
    case 7: return rate(n.rate);
    case 8: return QString::number(n.items);
    case 9: return QString::number(n.itemsCorrect);
    case 10: return QString::number(n.items - n.itemsCorrect);
    default: return rate(n.itemRate);
    }
}

QString COutMainList1::CellText(const CArrKaisekiMain_ShikouKai& trial, int column) const {
    switch (column) {
    case 0: return leadingText(trial, 0);
    case 1: return Labels::CourseShort(trial.courseCode());
    case 2: return leadingText(trial, 1);
    case 3: return leadingText(trial, 2);
    default: break;
    }
    if (column < kLeading + kValueColumns)
        return trial.m_fileMissing ? trial.m_message : valueText(trial, column);
    if (!m_markers || trial.m_fileMissing)
        return {};
    // 最高作業枚数, 最高正解率, 最低作業枚数, 最低正解率, then the same for items.
    const int marker = column - kFirstMarkerColumn;
    const int value = (marker / 4) * 2 + marker % 2;
    const bool highest = marker % 4 < 2;
    const double v = markedValues(trial)[value];
    return v == (highest ? m_highest[value] : m_lowest[value]) ? QStringLiteral("○") : QString();
}

// ---------------------------------------------------------------- 項目別集計値一覧

QList<COutListBase::Column> COutMainList2::Columns() const {
    QList<Column> c = LeadingColumns();
    for (const QString& item : Labels::ItemNames(context().problemCode))
        c << Column{item, QStringLiteral("■") + item, Qt::AlignRight};
    return c;
}

QString COutMainList2::CellText(const CArrKaisekiMain_ShikouKai& trial, int column) const {
    if (column < kLeading)
        return leadingText(trial, column);
    return trial.m_fileMissing ? trial.m_message : cards(trial.m_itemErrors[column - kLeading]);
}

// ---------------------------------------------------------------- 文字種別集計値一覧

QList<COutListBase::Column> COutMainList3::Columns() const {
    QList<Column> c = LeadingColumns();
    for (int kind = 1; kind <= CArrKaisekiMain_ShikouKai::kClassCount; ++kind)
        c << Column{Labels::CharClass(kind), QStringLiteral("■英小文字"), Qt::AlignRight};
    return c;
}

QString COutMainList3::CellText(const CArrKaisekiMain_ShikouKai& trial, int column) const {
    if (column < kLeading)
        return leadingText(trial, column);
    return trial.m_fileMissing ? trial.m_message : cards(trial.m_classErrors[column - kLeading]);
}
