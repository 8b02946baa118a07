#include "Labels.h"

#include <initializer_list>

namespace Labels {
namespace {
QString pick(int code, int first, std::initializer_list<const char*> texts) {
    int i = code - first;
    if (i < 0 || i >= static_cast<int>(texts.size()))
        return {};
    return QString::fromUtf8(*(texts.begin() + i));
}
} // namespace

QString Problem(int code) { return pick(code, 1, {"アンケート入力", "顧客伝票修正", "顧客伝票ミスチェック"}); }
QString Course(int code) {
    return pick(code, 1, {"実力テスト", "基礎トレーニング", "レベルアップトレーニング", "実力テスト/レベルアップトレーニング"});
}
QString CourseShort(int code) { return pick(code, 1, {"テスト", "基礎", "レベル"}); }
QString CourseGroup(int code) { return pick(code, 1, {"実力テスト/レベルアップトレーニング", "基礎トレーニング"}); }
QString TrialSelection(int code) { return pick(code, 1, {"全て", "実力テスト最大作業量回", "実力テスト最大正解率回"}); }
QString EndTime(int code) { return pick(code, 1, {"15分", "30分", "45分", "60分"}); }
QString EndTimeList(int code) { return pick(code, 1, {"15分", "30分", "45分", "60分", "60分換算値", "試行中止"}); }
QString TimeBand(int code) {
    return pick(code, 0, {"全体", "0分～15分未満", "15分～30分未満", "30分～45分未満", "45分～60分"});
}
QString ResultMethod(int code) { return pick(code, 1, {"音", "図形（○×）", "文字色"}); }
QString Colour(int code) { return pick(code, 1, {"黒", "赤", "青", "緑", "黄色", "オレンジ"}); }
QString Display(int code) { return code == 0 ? QStringLiteral("紙") : QStringLiteral("画面"); }
QString Order(int code) { return pick(code, 1, {"番号順", "シャッフル"}); }
QString Question1(int code) {
    return pick(code, 0, {"0.回答なし", "1.書店で実物を見て", "2.チラシを見て", "3.書店店員に紹介されて",
                          "4.学校から紹介されて", "5.知人に紹介されて", "6.その他"});
}
QString Question2(int code) { return pick(code, 0, {"回答なし", "1.役に立った", "2.ふつう", "3.期待はずれだった"}); }
QString Question3(const QString& text) {
    if (text == QLatin1String("1"))
        return QStringLiteral("希望する");
    if (text == QLatin1String("2"))
        return QStringLiteral("希望しない");
    if (text == QStringLiteral("両方ともON"))
        return QStringLiteral("希望する　希望しない");
    return text;
}
QStringList ItemNames(int problemCode) {
    if (problemCode == 1)
        return {QStringLiteral("フリガナ"), QStringLiteral("氏名"),           QStringLiteral("郵便番号"),
                QStringLiteral("住所"),     QStringLiteral("電話番号"),       QStringLiteral("メールアドレス"),
                QStringLiteral("問１"),     QStringLiteral("問２"),           QStringLiteral("問３")};
    return {QStringLiteral("顧客コード"), QStringLiteral("商品コード"), QStringLiteral("電話番号"),
            QStringLiteral("メールアドレス")};
}
QString CharClass(int code) { return pick(code, 1, {"カナ", "漢字", "数字", "英大文字", "英小文字", "記号等"}); }
Rgb ColourRgb(int code) {
    switch (code) {
    case 2: return Rgb{255, 0, 0};
    case 3: return Rgb{0, 0, 255};
    case 4: return Rgb{0, 255, 0};
    case 5: return Rgb{255, 255, 0};
    case 6: return Rgb{255, 128, 0};
    default: return Rgb{0, 0, 0};
    }
}
} // namespace Labels
