#include "StartDlg.h"

#include "ArrShowSeq.h"
#include "BannerPicture.h"
#include "ExecEnv.h"
#include "Guarded.h"
#include "ProgramResources.h"
#include "ScreenSetup.h"
#include "WaitCursor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CStartDlg::CStartDlg(CExecEnv& env, CDB& userDb, CArrBase& deck, CArrShowSeq& order, QWidget* parent)
    : QDialog(parent), m_env(env), m_userDb(userDb), m_deck(deck), m_order(order) {
    CWaitCursor wait;
    setObjectName(QStringLiteral("startScreen"));

    auto* body = AddBannerAndBody<QVBoxLayout>(this, QStringLiteral("スタート"), 48, 28, 20);
    body->setSpacing(ScreenSetup::ScaleY(this, 10));

    QFont lineFont(QStringLiteral("ＭＳ Ｐゴシック"));
    lineFont.setPointSize(14);
    for (int i = 0; i < 6; ++i) {
        m_lines[i] = new QLabel(this);
        m_lines[i]->setObjectName(QStringLiteral("line%1").arg(i + 1));
        m_lines[i]->setFont(lineFont);
        m_lines[i]->setWordWrap(true);
        // An empty line keeps its place.
        m_lines[i]->setMinimumHeight(QFontMetrics(lineFont).height());
        body->addWidget(m_lines[i]);
    }
    body->addStretch(1);
    auto* prompt = new QLabel(QStringLiteral("確認したら、「スタート」をクリックして、入力を始めてください。"), this);
    prompt->setObjectName(QStringLiteral("prompt"));
    QFont promptFont(QStringLiteral("ＭＳ Ｐゴシック"));
    promptFont.setPointSize(12);
    prompt->setFont(promptFont);
    body->addWidget(prompt);

    auto* startButton = new QPushButton(QStringLiteral("スタート"), this);
    startButton->setObjectName(QStringLiteral("startButton"));
    startButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    for (QPushButton* b : {startButton, cancel})
        b->setMinimumSize(ScreenSetup::ScaleX(this, 110), ScreenSetup::ScaleY(this, 30));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(startButton);
    buttons->addWidget(cancel);
    body->addLayout(buttons);
    connect(startButton, &QPushButton::clicked, this, &CStartDlg::start);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    ScreenSetup::SetUpScreen(this, ProgramIcon());
    Guarded([this] {
        m_env.LoadInstructorConditions();
        const QStringList lines = SummaryLines(m_env, m_userDb);
        for (int i = 0; i < 6; ++i)
            m_lines[i]->setText(lines.value(i));
    });
}

QStringList CStartDlg::SummaryLines(const CExecEnv& env, CDB& userDb) {
    const bool questionnaire = env.problem_code == 1;
    QStringList lines;
    switch (env.problem_code) {
    case 1: lines << QStringLiteral("◆これからアンケート入力を始めます。"); break;
    case 2: lines << QStringLiteral("◆これから顧客伝票修正を始めます。"); break;
    case 3: lines << QStringLiteral("◆これから顧客伝票ミスチェックを始めます。"); break;
    default: lines << QString(); break;
    }

    const QString medium = env.display_flg != 0 ? QStringLiteral("画面") : QStringLiteral("紙");
    lines << (questionnaire ? QStringLiteral("◆%1のアンケートカードを使います。")
                            : QStringLiteral("◆%1の顧客伝票を使います。"))
                 .arg(medium);

    // Anything but shuffle is number order when the order is built, so the
    // screen says so too.
    const bool numberOrder = env.order_flg != 2;
    QString order = (questionnaire ? QStringLiteral("◆アンケートカードは%1に出てきます。")
                                   : QStringLiteral("◆伝票は%1に出てきます。"))
                        .arg(numberOrder ? QStringLiteral("番号順") : QStringLiteral("ランダム"));
    if (numberOrder) {
        const int start = env.start_flg == 2 ? env.specifie_start_no : env.StoredStartNumber(userDb);
        order += QStringLiteral("開始NO.はNO.%1からです。").arg(QString::asprintf("%04d", start));
    }
    lines << order;

    lines << (env.course_code == 2 ? QString()
                                   : QStringLiteral("◆時間は%1分です。").arg(env.TimeLimitMs() / 60000));
    if (env.course_code == 3) {
        lines << QStringLiteral("◆目標作業枚数は%1枚です。").arg(env.target_value);
        lines << QStringLiteral("◆目標正しい枚数は%1枚です。").arg(env.target_value2);
    } else {
        lines << QString() << QString();
    }
    return lines;
}

QStringList CStartDlg::Lines() const {
    QStringList out;
    for (const QLabel* l : m_lines)
        out << l->text();
    return out;
}

void CStartDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (parentWidget())
        parentWidget()->hide();
}

void CStartDlg::start() {
    Guarded([this] {
        CWaitCursor wait;
        if (m_order.Build(m_deck, m_userDb, m_env))
            accept();
    });
}
