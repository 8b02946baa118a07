#include "HistoryMaxMin.h"

#include "Recordsets.h"
#include "TextUtil.h"
#include "TrialState.h"

#include <algorithm>

bool HistoryFilter::passesTrialTime(const CRsHistory_tbl& row) const {
    const bool aborted = row.m_end_flg.toInt() == 1;
    if (trialTime == Aborted)
        return aborted;
    if (aborted)
        return false;
    return trialTime == Converted60 || row.m_end_time.toInt() == trialTime;
}

int HistoryFilter::workCount(const CRsHistory_tbl& row) const {
    return converted() ? static_cast<int>(row.m_answer_number60) : row.m_answer_number;
}

int HistoryFilter::correctCount(const CRsHistory_tbl& row) const {
    return converted() ? static_cast<int>(row.m_correct_number60) : row.m_correct_number;
}

int HistoryFilter::workItems(const CRsHistory_tbl& row) const {
    return converted() ? static_cast<int>(row.m_answer_koumoku60) : row.m_answer_koumoku;
}

double HistoryFilter::correctRate(const CRsHistory_tbl& row) const {
    return converted() ? row.m_correct_rate60 : row.m_correct_rate;
}

double HistoryFilter::itemCorrectRate(const CRsHistory_tbl& row) const {
    return converted() ? row.m_correct_rate_koumoku60 : row.m_correct_rate_koumoku;
}

void CHistoryMaxMin::SetAllZero() {
    m_maxAnswerNumber = m_minAnswerNumber = m_maxAnswerKoumoku = m_minAnswerKoumoku = 0;
    m_maxCorrectRate = m_minCorrectRate = m_maxCorrectRateKoumoku = m_minCorrectRateKoumoku = 0;
}

void CHistoryMaxMin::Compute(CRsHistory_tbl& rows, const HistoryFilter& filter) {
    *this = CHistoryMaxMin();
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext())
        take(rows, filter);
    auto zeroIfUnset = [](auto& v) {
        if (v == kNoLowest)
            v = 0;
    };
    zeroIfUnset(m_minAnswerNumber);
    zeroIfUnset(m_minCorrectRate);
    zeroIfUnset(m_minAnswerKoumoku);
    zeroIfUnset(m_minCorrectRateKoumoku);
}

void CHistoryMaxMin::take(const CRsHistory_tbl& row, const HistoryFilter& filter) {
    if (row.m_problem_code.toInt() != filter.task)
        return;
    // Group 1 measures the skill test alone, not the level-up training listed with it.
    if (row.m_course_code.toInt() != (filter.courseGroup == 1 ? 1 : 2))
        return;
    if (!filter.passesTrialTime(row))
        return;
    // A trial without an end has no result yet: its zeros are no lowest value.
    if (TrialState::IsUnfinished(row))
        return;
    const int work = filter.workCount(row);
    const int items = filter.workItems(row);
    const double rate = TextUtil::OneDecimal(filter.correctRate(row));
    const double itemRate = TextUtil::OneDecimal(filter.itemCorrectRate(row));
    m_maxAnswerNumber = std::max(m_maxAnswerNumber, work);
    m_minAnswerNumber = std::min(m_minAnswerNumber, work);
    m_maxCorrectRate = std::max(m_maxCorrectRate, rate);
    m_minCorrectRate = std::min(m_minCorrectRate, rate);
    m_maxAnswerKoumoku = std::max(m_maxAnswerKoumoku, items);
    m_minAnswerKoumoku = std::min(m_minAnswerKoumoku, items);
    m_maxCorrectRateKoumoku = std::max(m_maxCorrectRateKoumoku, itemRate);
    m_minCorrectRateKoumoku = std::min(m_minCorrectRateKoumoku, itemRate);
}

