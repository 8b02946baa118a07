#include "OutResultScreen.h"

#include "WaitCursor.h"

#include <QLabel>

COutResultScreen::COutResultScreen(CDB& userDb, CDB& masterDb, const COutSelection& selection, const QString& title,
                                   QWidget* parent)
    : COutScreen(title, parent), m_userDb(userDb), m_masterDb(masterDb), m_selection(selection) {}

void COutResultScreen::analyse(int timeBand, int courseFilter) {
    CWaitCursor wait;
    m_analysis.Run(m_userDb, m_masterDb, m_selection.Conditions(timeBand, courseFilter));
}

QLabel* COutResultScreen::titleLine() {
    auto* line = new QLabel(m_selection.TitleLine(), this);
    line->setObjectName(QStringLiteral("titleLine"));
    // A long selection wraps rather than pushing the choices beside it off a
    // small screen.
    line->setWordWrap(true);
    return line;
}
