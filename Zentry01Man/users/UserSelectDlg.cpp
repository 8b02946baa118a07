#include "UserSelectDlg.h"

#include "Guarded.h"
#include "ScreenLinks.h"
#include "UtilityResources.h"
#include "Zentry01ManStrings.h"

#include <QPushButton>

CUserSelectDlg::CUserSelectDlg(CDB& userDb, const QString& title, int mode, QWidget* parent)
    : CUserSelectScreen(userDb, QStringLiteral("ユーザー名リストからユーザーを選択して、[次へ]ボタンを押してください。"),
                        QStringLiteral("ユーザーが見つからない場合は責任者を呼んでください。"),
                        Zentry01ManStrings::SelectUserRow, parent),
      m_mode(mode) {
    setWindowTitle(title);
    setWindowIcon(UtilityIcon());
    auto* compare = new QPushButton(QStringLiteral("ユーザー比較"), this);
    compare->setObjectName(QStringLiteral("compareButton"));
    addButton(compare);
    connect(compare, &QPushButton::clicked, this, [this] {
        Guarded([this] { OpenUserComparisonScreen(this); });
        show();
    });
}

void CUserSelectDlg::chosen(int userCode) {
    m_userCode = userCode;
    if (m_mode == PlainSelection) {
        accept();
        return;
    }
    const bool selectTrials = m_mode == AnalysisOutput;
    const QString title = selectTrials ? QStringLiteral("解析結果の出力 [試行履歴の選択]")
                                       : QStringLiteral("解析結果の出力 [試行履歴の一覧]");
    Guarded([&] { OpenHistoryScreen(this, userCode, selectTrials, title); });
    show();
}

int CUserSelectDlg::exec() {
    m_ended = false;
    int result = Rejected;
    while (!m_ended)
        result = CUserSelectScreen::exec();
    return result;
}

void CUserSelectDlg::done(int result) {
    m_ended = true;
    CUserSelectScreen::done(result);
}
