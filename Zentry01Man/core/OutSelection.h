#pragma once
// What the result output screens are opened with from the trial history: the
// user, the four filter choices of the history list, and the chosen trials
// with their positions in that list.
#include "ArrKaisekiMain.h"
#include "HistoryMaxMin.h"

struct COutSelection {
    int userCode = 0;
    HistoryFilter filter;
    CArrRirekiNum autoNumbers; // the chosen trials
    CArrRirekiNum positions;   // their 試行回 in the history list, at the same index

    // The analysis of the chosen trials for a time band (0 the whole trial) and
    // a course filter (0 any, 1..3 that course, 4 courses 1 and 3).
    CArrKaisekiMain::Conditions Conditions(int timeBand, int courseFilter = CArrKaisekiMain::AnyCourse) const;
    // "%s  %s  %s": the task, the trial time and the course group.
    QString TitleLine() const;
};
