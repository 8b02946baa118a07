#include "ArrDenpyo.h"
#include "DeckFixtures.h"
#include "ICException.h"
#include "TestFolder.h"

#include <QFile>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace fixtures;

namespace {
QString masterPath(const TestFolder& folder) {
    return folder.file(QStringLiteral("Quillon01.mst"));
}

void writeVouchers(MasterWriter& w, const QString& table, const QString& errorTable, int count,
                   int errorRows) {
    for (int n = 1; n <= count; ++n)
        w.voucher(table, n, {QString::asprintf("C%03d", n), "P-1", "03-1234-5678", "a@b.jp"});
    for (int n = 1; n <= errorRows; ++n)
        w.voucher(errorTable, n, {QString::asprintf("C%03d", n + 1), "P-1", "03-1234-5679", "a@b.jp"});
}

std::string loadError(CArrBase& deck, CDB& master, int course) {
    try {
        deck.Load(master, course);
    } catch (const CICException& e) {
        return e.GetErrorMessage().toStdString();
    }
    return {};
}
} // namespace

// ---------------------------------------------------------------- loading

TEST(DeckLoad, QuestionnaireCardsComeFromTheTableOfTheCourseInNumberOrder) {
    TestFolder folder;
    {
        MasterWriter w(masterPath(folder));
        w.card("Mst01", 3,
               {"スズキ　レン", "鈴木　蓮", "368-0052", "埼玉県", "070-1", "s@x.jp", "4", "2", "1"}, 1);
        w.card("Mst01", 1, {"アイ", "愛"}, 2);
        w.card("Mst03", 7, {"ベーシック"});
    }
    CDB master;
    master.OpenMaster();

    CArrHagaki deck;
    deck.Load(master, 1);
    ASSERT_EQ(deck.GetSize(), 2);
    EXPECT_EQ(deck.at(0).number, 1);
    EXPECT_EQ(deck.at(1).number, 3);
    EXPECT_EQ(deck.at(1).correct[1], QStringLiteral("鈴木　蓮"));
    EXPECT_EQ(deck.at(1).correct[8], QStringLiteral("1"));
    EXPECT_TRUE(deck.at(1).correct[9].isEmpty());
    EXPECT_TRUE(deck.at(1).erroneous[0].isEmpty());
    EXPECT_TRUE(deck.at(1).excluded);
    EXPECT_FALSE(deck.at(0).excluded) << "only JogaiFlag 1 excludes";
    EXPECT_EQ(deck.ColumnCount(), 11);
    EXPECT_EQ(deck.ItemCount(), 9);
    EXPECT_EQ(deck.MasterDb(), &master);

    deck.Load(master, 3);
    EXPECT_EQ(deck.GetSize(), 2) << "course 3 shares the course-1 cards, and a reload starts afresh";
    deck.Load(master, 2);
    ASSERT_EQ(deck.GetSize(), 1);
    EXPECT_EQ(deck.at(0).number, 7);
}

TEST(DeckLoad, VouchersCarryTheirPrintedErrorsAndBasicTrainingUsesItsOwnTables) {
    TestFolder folder;
    {
        MasterWriter w(masterPath(folder));
        writeVouchers(w, "Mst02", "Mst02Error", 3, 3);
        w.voucher("Mst04", 9, {"B9", "Q", "T", "M"}, 1);
        w.voucher("Mst04Error", 9, {"B8", "Q", "T", "M"});
    }
    CDB master;
    master.OpenMaster();

    CArrDenpyo deck;
    deck.Load(master, 1);
    ASSERT_EQ(deck.GetSize(), 3);
    EXPECT_EQ(deck.at(2).correct[0], QStringLiteral("C003"));
    EXPECT_EQ(deck.at(2).erroneous[0], QStringLiteral("C004"));
    EXPECT_EQ(deck.at(2).erroneous[2], QStringLiteral("03-1234-5679"));
    EXPECT_TRUE(deck.at(2).correct[4].isEmpty());
    EXPECT_EQ(deck.ItemCount(), 4);

    deck.Load(master, 2);
    ASSERT_EQ(deck.GetSize(), 1);
    EXPECT_EQ(deck.at(0).erroneous[0], QStringLiteral("B8"));
    EXPECT_TRUE(deck.at(0).excluded);
}

TEST(DeckLoad, ErrorTableMustMatchTheVoucherTableRowForRow) {
    TestFolder folder;
    {
        MasterWriter w(masterPath(folder));
        // Fewer error rows: accepted, the last voucher keeps empty printed values.
        writeVouchers(w, "Mst02", "Mst02Error", 3, 2);
        // One error row more than vouchers, numbers agreeing where both exist.
        writeVouchers(w, "Mst04", "Mst04Error", 2, 3);
    }
    CDB master;
    master.OpenMaster();
    CArrDenpyo deck;
    EXPECT_EQ(loadError(deck, master, 1), "");
    EXPECT_TRUE(deck.at(2).erroneous[0].isEmpty());
    EXPECT_EQ(deck.at(1).erroneous[0], QStringLiteral("C003"));

    const std::string count = loadError(deck, master, 2);
    EXPECT_NE(
        count.find("DBのデータに論理エラーがあります。\n伝票データと伝票誤りデータのレコード数が違います。"),
        std::string::npos)
        << count;
}

TEST(DeckLoad, ErrorRowWithAnotherNumberStopsTheLoad) {
    TestFolder folder;
    {
        MasterWriter w(masterPath(folder));
        w.voucher("Mst02", 1, {"A"});
        w.voucher("Mst02", 2, {"B"});
        w.voucher("Mst02Error", 1, {"A"});
        w.voucher("Mst02Error", 3, {"B"});
    }
    CDB master;
    master.OpenMaster();
    CArrDenpyo deck;
    const std::string text = loadError(deck, master, 1);
    EXPECT_NE(
        text.find(
            "DBのデータに論理エラーがあります。\n伝票データと伝票誤りデータのカラム[No]の値が違います。"),
        std::string::npos)
        << text;
}

TEST(DeckLoad, EmptyTableGivesAnEmptyDeckWithoutTimes) {
    TestFolder folder;
    { MasterWriter w(masterPath(folder)); }
    CDB master;
    master.OpenMaster();
    CArrHagaki deck;
    deck.Load(master, 1);
    EXPECT_TRUE(deck.IsEmpty());
    EXPECT_FALSE(deck.FirstTrialStart().isValid());
    EXPECT_FALSE(deck.LastFinish().isValid());
    EXPECT_EQ(deck.WorkingTime(), QString());
}

TEST(DeckLoad, DatabaseFailurePassesThroughUnchanged) {
    TestFolder folder;
    {
        MasterWriter w(masterPath(folder));
        w.run("drop table Mst02Error");
        w.run("create table Mst02Error (other)"); // there, but not as the deck reads it
        w.voucher("Mst02", 1, {"A"});
    }
    CDB master;
    master.OpenMaster();
    CArrDenpyo deck;
    EXPECT_THROW(deck.Load(master, 1), CDBException);
}

TEST(DeckLoad, DeliveredMasterFileLoadsEveryDeck) {
    TestFolder folder;
    folder.copyBuiltMaster();
    if (!QFile::exists(masterPath(folder)))
        GTEST_SKIP() << "the default master data file has not been built";
    CDB master;
    master.OpenMaster();
    for (int course : {1, 2}) {
        CArrHagaki cards;
        cards.Load(master, course);
        CArrDenpyo vouchers;
        vouchers.Load(master, course);
        EXPECT_GT(cards.GetSize(), 0);
        EXPECT_GT(vouchers.GetSize(), 0);
        for (int i = 1; i < vouchers.GetSize(); ++i)
            EXPECT_LT(vouchers.at(i - 1).number, vouchers.at(i).number);
    }
}

// ---------------------------------------------------------------- lookups

TEST(DeckCards, FindByNumberAndRejectIndexesOutsideTheDeck) {
    HandDeck<CArrDenpyo> deck;
    deck.add(5, {"A"});
    deck.add(2, {"B"});
    deck.add(5, {"C"});
    EXPECT_EQ(deck.FindCard(5), 0) << "the first card with the number";
    EXPECT_EQ(deck.FindCard(2), 1);
    EXPECT_EQ(deck.FindCard(4), -1);
    EXPECT_THROW(deck.at(3), std::out_of_range);
    EXPECT_THROW(deck.at(-1), std::out_of_range);
    EXPECT_EQ(deck.CardAtPosition(2), 2) << "without an order the deck presents its own order";
    EXPECT_THROW(deck.CardAtPosition(3), std::out_of_range);
    EXPECT_EQ(MakeDeckForTask(1)->ItemCount(), 9) << "known before loading";
    EXPECT_EQ(MakeDeckForTask(2)->ItemCount(), 4);
    EXPECT_NE(dynamic_cast<CArrHagaki*>(MakeDeckForTask(1).get()), nullptr);
    EXPECT_NE(dynamic_cast<CArrDenpyo*>(MakeDeckForTask(3).get()), nullptr);
}

// ---------------------------------------------------------------- judging

TEST(DeckJudging, ItemsCompareExactlyWithoutFolding) {
    HandDeck<CArrHagaki> deck;
    deck.add(1, {"ヤマダ", "123", "abc"});
    CArrBaseInfo& card = deck.at(0);
    card.input[0] = "ヤマダ";
    card.input[1] = "１２３";
    card.input[2] = "abc ";
    EXPECT_TRUE(deck.ItemCorrect(0, 0));
    EXPECT_FALSE(deck.ItemCorrect(0, 1)) << "full-width digits are not the half-width ones";
    EXPECT_FALSE(deck.ItemCorrect(0, 2)) << "no trimming";
    EXPECT_TRUE(deck.ItemCorrect(0, 9)) << "empty on both sides";
    EXPECT_FALSE(deck.CardCorrect(0));
    card.input[1] = "123";
    card.input[2] = "abc";
    EXPECT_TRUE(deck.CardCorrect(0));
    card.input[9] = "x";
    EXPECT_FALSE(deck.CardCorrect(0)) << "all ten items count";
}

TEST(DeckJudging, MissCheckMarksMustMatchEveryPosition) {
    struct Case {
        const char* correct;
        const char* printed;
        const char* marks;
        bool right;
    };
    const Case cases[] = {
        {"123", "128", "NNC", true},
        {"123", "128", "NNN", false}, // error overlooked
        {"123", "128", "CNC", false}, // right character marked
        {"123", "128", "NN", false},  // marks shorter: the missing mark fails
        {"123", "128", "NNCN", true}, // extra marks must be N
        {"123", "128", "NNCC", false},
        {"123", "123", "NNN", true}, // nothing printed wrong: all N
        {"123", "123", "NNC", false},
        {"123", "123", "", false},
        {"あいう", "あかう", "NCN", true}, // one mark per character, not per byte
        {"あいう", "あかう", "NNNCNN", false},
        {"ab", "abc", "NNC", true}, // printed longer: the extra character differs
        {"ab", "abc", "NN", false},
        {"", "", "", true},
        {"", "", "N", true},
        {"", "", "C", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CArrBase::MissCheckCorrect(QString::fromUtf8(c.correct), QString::fromUtf8(c.printed),
                                             QString::fromUtf8(c.marks)),
                  c.right)
            << c.correct << " / " << c.printed << " / " << c.marks;

    HandDeck<CArrDenpyo> deck;
    deck.add(1, {"123", "AB"}, {"128", "AB"});
    deck.at(0).input[0] = "NNC";
    deck.at(0).input[1] = "NN";
    EXPECT_TRUE(deck.MissCheckItemCorrect(0, 0));
    EXPECT_TRUE(deck.MissCheckCardCorrect(0));
    deck.at(0).input[4] = "N";
    EXPECT_TRUE(deck.MissCheckCardCorrect(0)) << "an N past empty values passes";
    deck.at(0).input[1] = "NC";
    EXPECT_FALSE(deck.MissCheckCardCorrect(0));
}

// ---------------------------------------------------------------- trial times

namespace {
// A fixed order for the deck: positions map to the given deck indices.
class FixedOrder : public IShowOrder {
public:
    explicit FixedOrder(QVector<int> order) : m_order(std::move(order)) {}
    int size() const override { return static_cast<int>(m_order.size()); }
    int DeckIndexAt(int position) const override {
        if (position < 0 || position >= m_order.size())
            throw std::invalid_argument("position");
        return m_order.at(position);
    }

private:
    QVector<int> m_order;
};
} // namespace

TEST(DeckTimes, FirstCardShownStartsTheTrialAndLaterCardsCopyIt) {
    FakeClock clock;
    const QDateTime t0 = clock.now();
    HandDeck<CArrDenpyo> deck;
    deck.add(1, {"A"});
    deck.add(2, {"B"});
    FixedOrder order({1, 0});
    deck.SetShowOrder(&order);

    EXPECT_FALSE(deck.LastFinish().isValid()) << "nothing finished yet";
    deck.MarkShown(1);
    clock.advance(50);
    deck.MarkFinished(1);
    deck.MarkShown(0);
    EXPECT_EQ(deck.TrialStart(), t0);
    EXPECT_EQ(deck.at(0).trialStart, t0);
    EXPECT_EQ(deck.at(0).shown, t0.addSecs(50));
    EXPECT_EQ(deck.at(1).finished, t0.addSecs(50));
    EXPECT_EQ(deck.FirstTrialStart(), t0);
    EXPECT_EQ(deck.LastFinish(), t0.addSecs(50)) << "the run of finished cards ends at position 1";
    EXPECT_EQ(deck.WorkingTime(), QStringLiteral("00分50秒"));

    clock.advance(75);
    deck.MarkFinished(0);
    EXPECT_EQ(deck.LastFinish(), t0.addSecs(125)) << "all finished: the last position's card";
    EXPECT_EQ(deck.WorkingTime(), QStringLiteral("02分05秒"));
    deck.SetShowOrder(nullptr);
}

TEST(DeckTimes, WorkingTimeKeepsWholeMinutesPastTheHour) {
    FakeClock clock;
    HandDeck<CArrHagaki> deck;
    deck.add(1, {"A"});
    deck.MarkShown(0);
    for (auto [seconds, text] :
         {std::pair{0, "00分00秒"}, {59 * 60 + 59, "59分59秒"}, {3600, "60分00秒"}, {3907, "65分07秒"}}) {
        deck.at(0).finished = deck.TrialStart().addSecs(seconds);
        EXPECT_EQ(deck.WorkingTime(), QString::fromUtf8(text)) << seconds;
    }
    deck.at(0).finished = deck.TrialStart().addMSecs(3599500);
    EXPECT_EQ(deck.WorkingTime(), QStringLiteral("60分00秒")) << "rounded to the nearest second";
}

TEST(DeckTimes, ResetTrialKeepsTheCardsButForgetsTheTrial) {
    FakeClock clock;
    HandDeck<CArrDenpyo> deck;
    deck.add(4, {"A"}, {"B"});
    deck.MarkShown(0);
    deck.MarkFinished(0);
    deck.at(0).input[0] = "A";
    deck.at(0).errorChecks = 3;
    deck.ResetTrial();
    const CArrBaseInfo& card = deck.at(0);
    EXPECT_EQ(card.number, 4);
    EXPECT_EQ(card.correct[0], QStringLiteral("A"));
    EXPECT_EQ(card.erroneous[0], QStringLiteral("B"));
    EXPECT_TRUE(card.input[0].isEmpty());
    EXPECT_FALSE(card.shown.isValid());
    EXPECT_FALSE(card.finished.isValid());
    EXPECT_FALSE(card.trialStart.isValid());
    EXPECT_EQ(card.errorChecks, 0) << "a new trial must not inherit the last trial's check counts";
    EXPECT_FALSE(deck.TrialStart().isValid());

    clock.advance(10);
    deck.MarkShown(0);
    EXPECT_EQ(deck.TrialStart(), clock.now()) << "the next trial starts afresh";
    deck.Clear();
    EXPECT_TRUE(deck.IsEmpty());
}
