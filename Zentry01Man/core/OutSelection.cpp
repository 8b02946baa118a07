#include "OutSelection.h"

#include "Labels.h"

CArrKaisekiMain::Conditions COutSelection::Conditions(int timeBand, int courseFilter) const {
    CArrKaisekiMain::Conditions c;
    c.userCode = userCode;
    c.problemCode = filter.task;
    c.timeBucket = timeBand;
    c.selection = autoNumbers;
    c.selectionNumbers = positions;
    // The trial-time choices 1..6 are the analysis's selection types.
    c.selectionType = filter.trialTime;
    c.courseFilter = courseFilter;
    return c;
}

QString COutSelection::TitleLine() const {
    return QStringLiteral("%1  %2  %3")
        .arg(Labels::Problem(filter.task), Labels::EndTimeList(filter.trialTime), Labels::CourseGroup(filter.courseGroup));
}
