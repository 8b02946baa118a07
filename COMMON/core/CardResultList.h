#pragma once
// The per-card result list of one trial, as both programs show it: one row per
// card worked, "×" under each item answered wrongly, the time from the trial's
// start to the card's end, and the check count of the basic-training course.
#include <QList>
#include <QStringList>

class CArrBase;

namespace CardResultList {

struct Column {
    QString caption;
    QString sample; // the text whose width sizes the column
    bool centred;
};
// 枚数, カードNO., the task's items, 所要時間, and チェック回数 for course 2.
QList<Column> Columns(int problemCode, int courseCode);

// The cells of the card at deckIndex, listed as row rowNumber (1-based).
QStringList Cells(const CArrBase& deck, int deckIndex, int rowNumber, int problemCode, int courseCode);

} // namespace CardResultList
