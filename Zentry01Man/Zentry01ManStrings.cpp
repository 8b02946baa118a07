#include "Zentry01ManStrings.h"

#include "StringTable.h"

namespace Zentry01ManStrings {
void Register() {
    StringTable::add({
        {VersionMenuItem, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")},
        {ProductTitle, QStringLiteral("指導者用ユーティリティ")},
        {SelectRowToDelete, QStringLiteral("削除したいリスト行を選択してください。")},
        {ConfirmDeleteUser, QStringLiteral("ユーザー登録名を削除してよろしいですか？\n\n%1")},
        {ConfirmSettings, QStringLiteral("試行条件を変更してよろしいですか？")},
        {FileNotFound, QStringLiteral("指定されたファイルは見つかりません。\n\nファイル名：%1")},
        {NotUpdatable, QStringLiteral("%1 の更新ができません。\n読込専用で開かれていないかチェックしてください。")},
        {DuplicateName, QStringLiteral("同一氏名がすでに登録されています。")},
        {EnterNames, QStringLiteral("氏名およびフリガナを入力してください。")},
        {SelectRowToEdit, QStringLiteral("編集したいリスト行を選択してください。")},
        {EnterIn, QStringLiteral("%1 は、%2で入力してください。")},
        {SelectUserRow, QStringLiteral("ユーザ名リストの行を選択してください。")},
        {StartNumberOutOfRange,
         QStringLiteral("開始Noの指定に誤りがあります。\n開始Noは、%1～%2までの間で指定してください。")},
    });
}
} // namespace Zentry01ManStrings
