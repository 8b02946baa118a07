#pragma once
// A user's best and worst results over the trials that one choice of the
// trial-history filters takes in, and the filter rules the history list shares.
#include <QtGlobal>

class CRsHistory_tbl;

// The four drop-down choices of the trial-history screen, numbered from 1 as
// the screen lists them.
struct HistoryFilter {
    enum TrialTime { Converted60 = 5, Aborted = 6 }; // 1..4: time limit 15, 30, 45, 60 minutes
    enum DisplayData { AllTrials = 1, BestWorkCount = 2, BestCorrectRate = 3 };

    int task = 1;        // problem_code 1..3
    int trialTime = 2;   // 1..6
    int courseGroup = 1; // 1 実力テスト/レベルアップトレーニング, 2 基礎トレーニング
    int displayData = AllTrials;

    bool converted() const { return trialTime == Converted60; }
    // The best-trial choices exist only for course group 1; elsewhere every trial is listed.
    int effectiveDisplayData() const { return courseGroup == 1 ? displayData : AllTrials; }
    // 1..4 completed trials of that time limit, 5 every completed trial, 6 aborted trials.
    bool passesTrialTime(const CRsHistory_tbl& row) const;

    // A row's values for this choice: the 60-minute columns for 60分換算値.
    int workCount(const CRsHistory_tbl& row) const;
    int correctCount(const CRsHistory_tbl& row) const;
    int workItems(const CRsHistory_tbl& row) const;
    double correctRate(const CRsHistory_tbl& row) const; // as stored
    double itemCorrectRate(const CRsHistory_tbl& row) const;
};

class CHistoryMaxMin {
public:
    static constexpr int kNoLowest = 999999;

    int m_maxAnswerNumber = 0;
    int m_minAnswerNumber = kNoLowest;
    double m_maxCorrectRate = 0;
    double m_minCorrectRate = kNoLowest;
    int m_maxAnswerKoumoku = 0;
    int m_minAnswerKoumoku = kNoLowest;
    double m_maxCorrectRateKoumoku = 0; // rates are rounded to one decimal
    double m_minCorrectRateKoumoku = kNoLowest;

    // Walks the user's history rows (the history list's query, from its first
    // row) and keeps the extremes of the trials of the task, of the skill-test
    // course (group 1) or the basic course (group 2), and of the trial time.
    // Lowest values never reached become 0.
    void Compute(CRsHistory_tbl& rows, const HistoryFilter& filter);
    // After a database error every value is 0.
    void SetAllZero();

private:
    void take(const CRsHistory_tbl& row, const HistoryFilter& filter);
};
