#pragma once
// The rows of the trial-history list: one user's trials that pass the four
// filters, each as the 19 cell texts the list shows, with the extremes the
// best-trial filters compare against. The history screen and
// "zentry-tool history" both show this list.
#include "HistoryMaxMin.h"

#include <QDateTime>
#include <QStringList>

#include <vector>

class CDB;

struct HistoryListRow {
    qint32 autoNumber = 0;
    QStringList cells; // one text per column
    bool unfinished = false; // running or interrupted: no result, nothing to analyse
};

class CHistoryList {
public:
    static constexpr int kColumns = 19;
    enum Column { TrialNo, ExecutionDate, Course, TrialTime, WorkCount, CorrectCount, CorrectRate };

    static const QStringList& Captions();
    // Number columns to the right, the six condition marks centred, the rest to the left.
    static Qt::Alignment Alignment(int column);
    // The text whose width sizes the column in the list.
    static QString SampleText(int column);

    // Reads the user's trials, computes the extremes and keeps the rows that pass
    // the filter. False after a database error, which has been shown: the rows
    // read so far stay and the extremes are all 0. A trial without an end shows
    // "実施中" while the task program runs, else "中断", and no result.
    bool Load(CDB& userDb, int userCode, const HistoryFilter& filter, bool taskProgramRunning = false);

    const CHistoryMaxMin& Extremes() const { return m_extremes; }
    const std::vector<HistoryListRow>& Rows() const { return m_rows; }

    // Soft-deletes the trial (delete_flg 1 and last_update now, in a transaction),
    // then removes its input-value and analysis-result files; files already gone
    // do not matter. False when the row cannot be updated or a database error
    // occurred (the reason has been shown; nothing changed).
    static bool Delete(CDB& userDb, qint32 autoNumber);

    // "%04d/%02d/%02d %02d:%02d:%02d"; every part -1 for an unset date.
    static QString DateText(const QDateTime& date);

private:
    bool keeps(const CRsHistory_tbl& row, const HistoryFilter& filter) const;
    static QStringList cells(const CRsHistory_tbl& row, const HistoryFilter& filter, int position);
    static QStringList unfinishedCells(const CRsHistory_tbl& row, const HistoryFilter& filter, int position,
                                       bool taskProgramRunning);

    CHistoryMaxMin m_extremes;
    std::vector<HistoryListRow> m_rows;
};
