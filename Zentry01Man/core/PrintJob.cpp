#include "PrintJob.h"

#include "ArrDenpyo.h"

#include <algorithm>

namespace PrintLayout {
namespace {
constexpr double kA4Short = 21000, kA4Long = 29700;
constexpr double kCardShort = 10000, kCardLong = 14800;
} // namespace

bool Landscape(int kind) { return kind == kVouchers; }

QSizeF PaperSize(int kind, int paper) {
    const QSizeF portrait = paper == kA4 ? QSizeF(kA4Short, kA4Long) : QSizeF(kCardShort, kCardLong);
    return Landscape(kind) ? portrait.transposed() : portrait;
}

std::pair<int, int> Range(const CArrBase& deck, int firstNo, int lastNo) {
    if (firstNo == 0)
        firstNo = deck.IsEmpty() ? 0 : deck.at(0).number;
    if (lastNo == 0)
        lastNo = deck.IsEmpty() ? 0 : deck.at(deck.GetSize() - 1).number;
    return {firstNo, lastNo};
}

double PrintableScale(double marginX, double marginY, const QSizeF& paper) {
    return 1 - (std::max(marginY / paper.height(), marginX / paper.width()) + 0.05);
}

int ProgressMaximum(int paper, int firstNo, int lastNo) {
    const int cards = lastNo - firstNo + 1;
    return paper == kA4 ? cards / 4 + 1 : cards;
}

std::vector<Page> Pages(const CArrBase& deck, int kind, int paper, int firstNo, int lastNo, double scale) {
    std::vector<Page> pages;
    const QSizeF sheet = PaperSize(kind, paper);
    if (paper != kA4) {
        for (int n = firstNo; n <= lastNo; ++n) {
            const int index = deck.FindCard(n);
            if (index >= 0)
                pages.push_back({{{n, index, QRectF(QPointF(0, 0), sheet)}}});
        }
        return pages;
    }
    const QSizeF card = Landscape(kind) ? QSizeF(kCardLong, kCardShort) : QSizeF(kCardShort, kCardLong);
    const QSizeF cell = card * scale;
    const QPointF origin((sheet.width() - 2 * cell.width()) / 2, (sheet.height() - 2 * cell.height()) / 2);
    for (int n = firstNo; n <= lastNo; n += 4) {
        Page page;
        for (int i = 0; i < 4 && n + i <= lastNo; ++i)
            page.cells.push_back({n + i, deck.FindCard(n + i),
                                  QRectF(origin + QPointF((i % 2) * cell.width(), (i / 2) * cell.height()), cell)});
        pages.push_back(std::move(page));
    }
    return pages;
}
} // namespace PrintLayout
