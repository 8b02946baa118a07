#include "Zentry01ManStrings.h"

#include "ExportStrings.h"
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
        {NoTrialChecked, QStringLiteral("試行回が選択されていません。\n解析したい行のチェックをONにしてください。")},
        {SelectListRow, QStringLiteral("リスト行を選択してください。")},
        {PrintRangeError, QStringLiteral("印刷範囲の指定に誤りがあります。正しく入力してください。\n\n"
                                         "指定できるNoの範囲は、%1～%2 です。")},
        {ConfirmCancelPrint, QStringLiteral("印刷を中止しますか？")},
        {StartNumberOutOfRange,
         QStringLiteral("開始Noの指定に誤りがあります。\n開始Noは、%1～%2までの間で指定してください。")},
        {ConfirmDeleteTrial, QStringLiteral("選択された試行回（%1 %2）の履歴を削除してよろしいですか。")},
        {InputFileMissing, QStringLiteral("指定された試行回の入力値ファイルが見つかりません。")},
        {CountOutOfRange, QStringLiteral("作業枚数の範囲で選択してください。")},
        {NothingToSave, QStringLiteral("保存できるものはありません。")},
        {NoPdfProgram, QStringLiteral("手書きデータを印刷するプログラムが見つかりません。\n"
                                      "印刷システム（CUPS の lp）か、PDF を開くプログラム（xdg-open）をインストールしてください。")},
    });
    for (ExportStrings::Id id : ExportStrings::kAll)
        StringTable::add(id, ExportStrings::Text(id));
}
} // namespace Zentry01ManStrings
