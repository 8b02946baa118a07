#include "CardResultList.h"

#include "ArrDenpyo.h"
#include "DateUtil.h"

namespace CardResultList {

QList<Column> Columns(int problemCode, int courseCode) {
    QList<Column> c{{QStringLiteral("枚数"), QStringLiteral("■枚数A"), false},
                    {QStringLiteral("カードNO."), QStringLiteral("■カードNO."), false}};
    if (problemCode == 1) {
        c << Column{QStringLiteral("フリガナ"), QStringLiteral("■フリガナ"), true}
          << Column{QStringLiteral("氏名"), QStringLiteral("■氏名■■"), true}
          << Column{QStringLiteral("郵便番号"), QStringLiteral("■郵便番号"), true}
          << Column{QStringLiteral("住所"), QStringLiteral("■住所■■"), true}
          << Column{QStringLiteral("電話番号"), QStringLiteral("■電話番号"), true}
          << Column{QStringLiteral("メールアドレス"), QStringLiteral("■メールア"), true}
          << Column{QStringLiteral("問１"), QStringLiteral("■問１■■"), true}
          << Column{QStringLiteral("問２"), QStringLiteral("■問２■■"), true}
          << Column{QStringLiteral("問３"), QStringLiteral("■問３■■"), true};
    } else {
        c << Column{QStringLiteral("顧客コード"), QStringLiteral("■顧客コード"), true}
          << Column{QStringLiteral("商品コード"), QStringLiteral("■商品コード"), true}
          << Column{QStringLiteral("電話番号"), QStringLiteral("■電話番号■"), true}
          << Column{QStringLiteral("メールアドレス"), QStringLiteral("■メールアド"), true};
    }
    c << Column{QStringLiteral("所要時間"), QStringLiteral("■所要時間"), false};
    if (courseCode == 2)
        c << Column{QStringLiteral("チェック回数"), QStringLiteral("■チェック回数"), true};
    return c;
}

QStringList Cells(const CArrBase& deck, int deckIndex, int rowNumber, int problemCode, int courseCode) {
    const CArrBaseInfo& card = deck.at(deckIndex);
    QStringList cells{QString::number(rowNumber), QString::asprintf("%04d", card.number)};
    const int items = problemCode == 1 ? 9 : 4;
    for (int item = 0; item < items; ++item) {
        const bool right =
            problemCode == 3 ? deck.MissCheckItemCorrect(deckIndex, item) : deck.ItemCorrect(deckIndex, item);
        cells << (right ? QString() : QStringLiteral("×"));
    }
    const QDateTime start = card.trialStart.isValid() ? card.trialStart : deck.TrialStart();
    cells << DateUtil::ElapsedMinSec(start, card.finished);
    if (courseCode == 2)
        cells << QString::number(card.errorChecks);
    return cells;
}

} // namespace CardResultList
