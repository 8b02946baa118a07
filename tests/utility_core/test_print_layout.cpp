// Which cards go on which printed page and where: four-up on A4, one per
// postcard, the printable-area scale and the progress maximum.
#include "ArrDenpyo.h"
#include "PrintJob.h"

#include <gtest/gtest.h>

using namespace PrintLayout;

namespace {
std::unique_ptr<CArrHagaki> deckOf(int count) {
    auto deck = std::make_unique<CArrHagaki>();
    for (int n = 1; n <= count; ++n) {
        auto card = std::make_unique<CArrBaseInfo>();
        card->number = n;
        deck->Append(std::move(card));
    }
    return deck;
}

struct LayoutCase {
    const char* name;
    int kind, paper, first, last;
    std::vector<std::vector<int>> numbersPerPage;
    int progressMaximum;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }
class Layout : public ::testing::TestWithParam<LayoutCase> {};
} // namespace

TEST_P(Layout, PagesHoldTheRangeInOrder) {
    const LayoutCase& c = GetParam();
    const auto deckPtr = deckOf(10);
    const CArrHagaki& deck = *deckPtr;
    const auto [first, last] = Range(deck, c.first, c.last);
    std::vector<std::vector<int>> numbers;
    for (const Page& page : Pages(deck, c.kind, c.paper, first, last, 0.95)) {
        numbers.emplace_back();
        for (const Cell& cell : page.cells) {
            numbers.back().push_back(cell.number);
            EXPECT_EQ(cell.deckIndex, cell.number - 1);
        }
    }
    EXPECT_EQ(numbers, c.numbersPerPage);
    EXPECT_EQ(ProgressMaximum(c.paper, first, last), c.progressMaximum);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, Layout,
    ::testing::Values(LayoutCase{"OneCardOneA4Page", kCards, kA4, 3, 3, {{3}}, 1},
                      LayoutCase{"FiveCardsTwoPages", kCards, kA4, 1, 5, {{1, 2, 3, 4}, {5}}, 2},
                      LayoutCase{"FourCardsOnePage", kVouchers, kA4, 5, 8, {{5, 6, 7, 8}}, 2},
                      LayoutCase{"AllOfTheDeck", kVouchers, kA4, 0, 0, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10}}, 3},
                      LayoutCase{"PostcardsOnePerPage", kCards, kPostcard, 2, 4, {{2}, {3}, {4}}, 3},
                      LayoutCase{"BeyondTheDeckIsLeftOut", kCards, kPostcard, 9, 12, {{9}, {10}}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LayoutGeometry, FourUpCellsAreScaledAndCentredAndPostcardsKeepTheirSize) {
    const auto deckPtr = deckOf(4);
    const CArrHagaki& deck = *deckPtr;
    // Questionnaire cards on portrait A4, vouchers on landscape A4.
    const auto cards = Pages(deck, kCards, kA4, 1, 4, 0.9).at(0).cells;
    EXPECT_EQ(cards.at(0).rect, QRectF(1500, 1530, 9000, 13320));
    EXPECT_EQ(cards.at(3).rect, QRectF(10500, 14850, 9000, 13320));
    const auto vouchers = Pages(deck, kVouchers, kA4, 1, 2, 0.9).at(0).cells;
    EXPECT_EQ(vouchers.at(0).rect, QRectF(1530, 1500, 13320, 9000));
    EXPECT_EQ(vouchers.at(1).rect, QRectF(14850, 1500, 13320, 9000));
    EXPECT_EQ(PaperSize(kVouchers, kPostcard), QSizeF(14800, 10000));
    EXPECT_EQ(Pages(deck, kVouchers, kPostcard, 2, 2, 0.9).at(0).cells.at(0).rect, QRectF(0, 0, 14800, 10000));

    // The larger margin share decides, plus a twentieth.
    EXPECT_DOUBLE_EQ(PrintableScale(0, 0, PaperSize(kCards, kA4)), 0.95);
    EXPECT_DOUBLE_EQ(PrintableScale(420, 594, PaperSize(kCards, kA4)), 0.93);
    EXPECT_DOUBLE_EQ(PrintableScale(1050, 297, PaperSize(kCards, kA4)), 0.9);
    EXPECT_EQ(Range(CArrHagaki(), 0, 0), std::make_pair(0, 0));
}
