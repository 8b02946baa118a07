#include "TaskScreens.h"

#include "DenMissDlg.h"
#include "DenpyoDlg.h"
#include "HagakiDlg.h"

#include <memory>

namespace TaskScreens {
QString NoCardsText() {
    return QStringLiteral("選択されたコースの作業データがありません。\n\n"
                          "指導者用ユーティリティの「マスターデータ管理」でマスター・データ・ファイルを確認してください。");
}

int Run(int problemCode, CKaisekiFile& result, QWidget* menu) {
    std::unique_ptr<CDenpyoDlg> screen;
    switch (problemCode) {
    case 1:
        screen = std::make_unique<CHagakiDlg>(result, menu);
        break;
    case 2:
        screen = std::make_unique<CDenpyoDlg>(result, menu);
        break;
    case 3:
        screen = std::make_unique<CDenMissDlg>(result, menu);
        break;
    default:
        return kNoScreen;
    }
    return screen->exec();
}
} // namespace TaskScreens
