#include "GraphDlg.h"

#include "BannerPicture.h"
#include "ExecEnv.h"
#include "Guarded.h"
#include "KCGraph.h"
#include "KaisekiFile.h"
#include "ProgramResources.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "WaitCursor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

CGraphDlg::CGraphDlg(const CKaisekiFile& result, const CExecEnv& env, CDB& userDb, CDB& masterDb, QWidget* parent)
    : CResultScreen(parent), m_env(env), m_userDb(userDb), m_masterDb(masterDb) {
    setObjectName(QStringLiteral("graphScreen"));
    auto* body = AddBannerAndBody<QVBoxLayout>(this, QStringLiteral("グラフ"), 16, 10, 12);
    body->setSpacing(ScreenSetup::ScaleY(this, 8));

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("caption"));
    QFont captionFont(QStringLiteral("ＭＳ Ｐゴシック"));
    captionFont.setPointSize(12);
    m_caption->setFont(captionFont);
    body->addWidget(m_caption);

    m_graph = new CKCGraph(this);
    m_graph->setObjectName(QStringLiteral("graph"));
    body->addWidget(m_graph, 1);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setMinimumSize(ScreenSetup::ScaleX(this, 110), ScreenSetup::ScaleY(this, 30));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(okButton);
    body->addLayout(row);
    connect(okButton, &QPushButton::clicked, this, &CGraphDlg::ok);

    ScreenSetup::SetUpScreen(this, ProgramIcon());
    if (const CArrKaisekiMain_ShikouKai* trial = result.FirstResult())
        m_caption->setText(CaptionText(env.course_code, env.target_value, trial->m_answer_number));
    else
        AppMessageBox(QStringLiteral("試行の解析結果がありません。"), MsgIcon::Stop);
}

QString CGraphDlg::CaptionText(int courseCode, int targetWork, int work) {
    if (courseCode == 3)
        return QStringLiteral("目標作業枚数： %1 枚　　　　　　結果作業枚数： %2 枚").arg(targetWork).arg(work);
    return QStringLiteral("結果作業枚数： %1 枚").arg(work);
}

CArrKaisekiMain::Conditions CGraphDlg::HistoryConditions(int userCode, int problemCode) {
    CArrKaisekiMain::Conditions c;
    c.userCode = userCode;
    c.problemCode = problemCode;
    c.endTimeFilter = 0;
    c.timeBucket = 0;
    c.testLevelUpOnly = true;
    c.selectionType = CArrKaisekiMain::SelectCompleted;
    c.courseFilter = CArrKaisekiMain::AnyCourse;
    return c;
}

void CGraphDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    // The graph shows its waiting text first; the analysis runs once the screen is up.
    QTimer::singleShot(0, this, &CGraphDlg::loadHistory);
}

void CGraphDlg::loadHistory() {
    Guarded([this] {
        CWaitCursor wait;
        // A database failure has been shown; the trials read before it are still drawn.
        m_history.Run(m_userDb, m_masterDb, HistoryConditions(m_env.user_code, m_env.problem_code));
        m_graph->SetData(m_history, &m_userDb);
    });
}

void CGraphDlg::ok() { closeShowingParent(); }
