#include "Zentry01Strings.h"

#include "StringTable.h"

namespace Zentry01Strings {
void Register() {
    StringTable::add({
        {VersionMenuItem, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")},
        {ProductTitle, QStringLiteral("ソラミ！ミルテア")},
        {ConfirmEnd, QStringLiteral("作業を終了してよろしいですか？")},
        {ZipNotFound, QStringLiteral("郵便番号が見つかりません。")},
        {SelectListRow, QStringLiteral("リストを選択してください。")},
        {SelectUserRow, QStringLiteral("ユーザ名リストの行を選択してください。")},
        {NoUsers, QStringLiteral("「%1」のユーザーが何も登録されていません。\n\n責任者を呼んでください。")},
        {TargetOutOfRange, QStringLiteral("%1の入力に誤りがあります。\n%2 までの範囲で入力してください。")},
        {TargetEmpty, QStringLiteral("%1を入力してください。")},
        {StartNumberMissing,
         QStringLiteral("開始Noの指定に誤りがあります。\n責任者を呼んでください。\n\n\n"
                        "指導者用ユーティリティで開始Noは、%1に設定されていますが、この番号は見つかりません。")},
        {NotUpdatable, QStringLiteral("%1 の更新ができません。\n読込専用で開かれていないかチェックしてください。")},
        {CorrectAboveWork,
         QStringLiteral("目標枚数の入力に誤りがあります。正しい枚数は作業枚数以下の枚数を入力してください。")},
        {CountOutOfRange, QStringLiteral("作業枚数の範囲で選択してください。")},
        {UnfinishedTrialsClosed,
         QStringLiteral("前回、試行の途中でプログラムが終了しました。\n"
                        "次の試行は、それまでに終わったカードで中止した試行として記録しました。\n\n%1")},
    });
}
} // namespace Zentry01Strings
