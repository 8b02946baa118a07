#include "ExportStrings.h"

namespace ExportStrings {
QString Text(Id id) {
    switch (id) {
    case DestinationMissing:
        return QStringLiteral("保存先フォルダが見つかりません。またはアクセスできません。\n保存先フォルダを確認してください。");
    case ExportDone:
        return QStringLiteral("エクスポートが正常に終了しました。");
    case ConfirmExport:
        return QStringLiteral("データをエクスポートしてよろしいですか？");
    case ExportExists:
        return QStringLiteral("指定されたフォルダには既にエクスポートデータが存在しています。\n\n"
                              "指定したフォルダの中にあるすべてのファイルを削除するか、または別なフォルダを指定してください。");
    case NoImportData:
        return QStringLiteral("指定されたフォルダには「ソラミ！ミルテア」のデータが見つかりません。");
    case ImportDone:
        return QStringLiteral("インポートが正常に終了しました。");
    case BadManagementFile:
        return QStringLiteral("エクスポート／インポートの管理ファイル UserData.ukv の内容が正しく読み込めません。");
    case AlreadyImported:
        return QStringLiteral("指定されたインポートデータの一部または全部は既にインポート済みなので、"
                              "このデータをインポートする事はできません。");
    case SourceMissing:
        return QStringLiteral("Ver2データフォルダが見つかりません。またはアクセスできません。\n"
                              "インストール先フォルダを確認してください。");
    case NoDataInSource:
        return QStringLiteral("指定されたVer2データフォルダには「ソラミ！ミルテア」のデータが見つかりません。");
    }
    return {};
}

QString ExportDoneText(int leftOutTrials) {
    QString text = Text(ExportDone);
    if (leftOutTrials > 0)
        text += QStringLiteral("\n\n終了していない試行（実施中または中断）%1 件はエクスポートしていません。")
                    .arg(leftOutTrials);
    return text;
}
} // namespace ExportStrings
