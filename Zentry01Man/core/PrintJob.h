#pragma once
// What the print worker prints: the record the printing screen hands over,
// and the composition of its pages — which cards go on which page, and where.
#include <QRectF>
#include <QSizeF>

#include <atomic>
#include <utility>
#include <vector>

class CArrBase;

// The record handed to the print worker. The progress display, the printer
// and the completion report belong to the progress screen.
struct PRINT_THREAD_PARAM {
    const CArrBase* deck = nullptr; // questionnaire cards for kind 1, vouchers for kind 2
    int kind = 1;                   // 1 questionnaire cards, 2 vouchers
    int paper = 1;                  // 1 A4, 2 postcard
    int firstNo = 0;                // first card number; 0 = all
    int lastNo = 0;                 // last card number; 0 = all
    const std::atomic<int>* cancel = nullptr; // set to 1 by the screen: stop after the page
};

namespace PrintLayout {
enum Kind { kCards = 1, kVouchers = 2 };
enum Paper { kA4 = 1, kPostcard = 2 };

// One card on a page: its number, its index in the deck (-1 when the deck has
// no such card) and its place in 0.01 mm from the paper's top-left corner.
struct Cell {
    int number = 0;
    int deckIndex = -1;
    QRectF rect;
};
struct Page {
    std::vector<Cell> cells; // A4: up to four, in the order top-left, top-right, bottom-left, bottom-right
};

// Paper size in 0.01 mm: A4 or postcard, turned for vouchers.
QSizeF PaperSize(int kind, int paper);
bool Landscape(int kind);
// The range to print: 0 for either end means the deck's first or last card
// (0 and 0 for an empty deck).
std::pair<int, int> Range(const CArrBase& deck, int firstNo, int lastNo);
// Shrinks the four-up block so it clears the printer's unprintable margin:
// 1 − (the larger of the margins as a share of the paper, + 0.05).
double PrintableScale(double marginX, double marginY, const QSizeF& paper);
// The progress bar's maximum: pages on A4 (one more than whole sheets), cards on postcards.
int ProgressMaximum(int paper, int firstNo, int lastNo);
// The pages of a range; `scale` shrinks the A4 cells (postcards are drawn at
// their natural size).
std::vector<Page> Pages(const CArrBase& deck, int kind, int paper, int firstNo, int lastNo, double scale);
} // namespace PrintLayout
