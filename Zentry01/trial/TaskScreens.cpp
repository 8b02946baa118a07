#include "TaskScreens.h"

#include "DenMissDlg.h"
#include "DenpyoDlg.h"
#include "HagakiDlg.h"

namespace TaskScreens {
QString NoCardsText() {
    return QStringLiteral("選択されたコースの作業データがありません。\n\n"
                          "指導者用ユーティリティの「マスターデータ管理」でマスター・データ・ファイルを確認してください。");
}

std::unique_ptr<CDenpyoDlg> Create(int problemCode, CKaisekiFile& result, QWidget* parent) {
    switch (problemCode) {
    case 1:
        return std::make_unique<CHagakiDlg>(result, parent);
    case 2:
        return std::make_unique<CDenpyoDlg>(result, parent);
    case 3:
        return std::make_unique<CDenMissDlg>(result, parent);
    default:
        return nullptr;
    }
}

int Run(int problemCode, CKaisekiFile& result, QWidget* menu) {
    const std::unique_ptr<CDenpyoDlg> screen = Create(problemCode, result, menu);
    return screen ? screen->exec() : kNoScreen;
}
} // namespace TaskScreens
