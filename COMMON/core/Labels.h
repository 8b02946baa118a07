#pragma once
// Code → text tables for screens, lists and printouts. A code outside a table
// gives the empty text unless noted.
#include <QString>
#include <QStringList>

namespace Labels {
QString Problem(int code);          // 1 アンケート入力 ...
QString Course(int code);           // 1..4
QString CourseGroup(int code);      // 1, 2
QString CourseShort(int code);      // 1 テスト, 2 基礎, 3 レベル: the lists' コース column
QString TrialSelection(int code);   // 1..3
QString EndTime(int code);          // 1..4
QString EndTimeList(int code);      // 1..6
QString TimeBand(int code);         // 0..4
QString ResultMethod(int code);     // 1..3
QString Colour(int code);           // 1..6
QString Display(int code);          // 0 紙, anything else 画面
QString Order(int code);            // 1, 2
QString Question1(int code);        // 0..6
QString Question2(int code);        // 0..3
QString Question3(const QString& text); // "1", "2", "両方ともON"; other text unchanged
// The items of a task's cards: nine for the questionnaire (1), four for the vouchers.
QStringList ItemNames(int problemCode);
QString CharClass(int code);        // 1 カナ .. 6 記号等
struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
// RGB of the feedback colours 1..6; black for any other code.
Rgb ColourRgb(int code);
} // namespace Labels
