#include "ArrShowSeq.h"
#include "DeckFixtures.h"
#include "ExecEnv.h"
#include "TestFolder.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace fixtures;

namespace {
struct OrderTest : ::testing::Test {
    OrderTest() {
        userDb.OpenUser();
        for (int n : {1, 2, 3, 4, 5})
            deck.add(n, {QString::number(n)});
        env.user_code = 1;
        env.problem_code = 2;
    }
    QVector<int> build() {
        EXPECT_TRUE(seq.Build(deck, userDb, env));
        return seq.Order();
    }
    TestFolder folder;
    CDB userDb;
    HandDeck<CArrDenpyo> deck;
    CExecEnv env;
    CArrShowSeq seq;
};
} // namespace

TEST(ShuffleRandom, DrawsTheFifteenBitsOfTheClassicGenerator) {
    CShuffleRandom random(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(random.Next(), value);
}

TEST(ShuffleRandom, SwapsEachPositionWithAnyPositionForAFixedSeed) {
    QVector<int> order{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    CArrShowSeq::Shuffle(order, 12345);
    EXPECT_EQ(order, (QVector<int>{4, 0, 1, 6, 9, 3, 7, 2, 5, 8}));
    QVector<int> seven{0, 1, 2, 3, 4, 5, 6};
    CArrShowSeq::Shuffle(seven, 0xFFFFFFFFu);
    EXPECT_EQ(seven, (QVector<int>{2, 3, 5, 6, 1, 0, 4})) << "the state wraps at 2^32";
    QVector<int> none;
    CArrShowSeq::Shuffle(none, 7);
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(OrderTest, NumberOrderContinuesFromTheStoredCardOfTheTaskAndWraps) {
    addUser(userDb, 1, "山田", "太郎", /*start1*/ 5, /*start2*/ 3, /*start3*/ 1);
    EXPECT_EQ(build(), (QVector<int>{2, 3, 4, 0, 1}));
    env.problem_code = 1;
    EXPECT_EQ(build(), (QVector<int>{4, 0, 1, 2, 3})) << "the last card first";
    env.problem_code = 3;
    EXPECT_EQ(build(), (QVector<int>{0, 1, 2, 3, 4})) << "the first card: plain order";
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(OrderTest, StoredStartThatCannotBeUsedStartsAtTheFirstCardSilently) {
    addUser(userDb, 1, "山田", "太郎", 0, /*not in the deck*/ 42, -3);
    addUser(userDb, 2, "削除", "済み", 0, 4, 0, /*deleted*/ 1);
    EXPECT_EQ(build(), (QVector<int>{0, 1, 2, 3, 4}));
    env.problem_code = 3;
    EXPECT_EQ(build(), (QVector<int>{0, 1, 2, 3, 4})) << "negative";
    env.user_code = 2;
    env.problem_code = 2;
    EXPECT_EQ(build(), (QVector<int>{0, 1, 2, 3, 4})) << "deleted user";
    env.user_code = 9;
    EXPECT_EQ(build(), (QVector<int>{0, 1, 2, 3, 4})) << "no user";
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(OrderTest, SpecifiedStartNumberWinsOverTheStoredOne) {
    addUser(userDb, 1, "山田", "太郎", 0, 2);
    env.start_flg = 2;
    env.specifie_start_no = 4;
    EXPECT_EQ(build(), (QVector<int>{3, 4, 0, 1, 2}));
}

TEST_F(OrderTest, SpecifiedStartNumberNotInTheDeckIsReportedAndNothingIsBuilt) {
    addUser(userDb, 1, "山田", "太郎");
    build();
    env.start_flg = 2;
    env.specifie_start_no = 77;
    EXPECT_FALSE(seq.Build(deck, userDb, env));
    EXPECT_EQ(seq.size(), 0);
    EXPECT_THROW(seq.DeckIndexAt(0), std::invalid_argument);
    EXPECT_THROW(deck.CardAtPosition(0), std::invalid_argument) << "the previous order is gone";
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    const RecordingNotifier::Entry& shown = folder.notifier.entries.last();
    EXPECT_EQ(shown.text,
              QStringLiteral(
                  "開始Noの指定に誤りがあります。\n責任者を呼んでください。\n\n\n"
                  "指導者用ユーティリティで開始Noは、77に設定されていますが、この番号は見つかりません。"));
    EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
    EXPECT_FALSE(shown.question);
}

TEST_F(OrderTest, OrderFlagOtherThanTwoMeansNumberOrder) {
    addUser(userDb, 1, "山田", "太郎", 0, 2);
    for (int flag : {0, 1, 3}) {
        env.order_flg = flag;
        EXPECT_EQ(build(), (QVector<int>{1, 2, 3, 4, 0})) << flag;
    }
}

TEST_F(OrderTest, ShuffleIgnoresStartSettingsAndUsesTheSeed) {
    addUser(userDb, 1, "山田", "太郎", 0, 2);
    env.order_flg = 2;
    env.start_flg = 2;
    env.specifie_start_no = 99; // would fail in number order
    seq.SetSeedSource([] { return 1u; });
    EXPECT_EQ(build(), (QVector<int>{3, 2, 4, 1, 0}));
    EXPECT_EQ(build(), (QVector<int>{3, 2, 4, 1, 0})) << "the same second gives the same order";
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(OrderTest, ShuffleIsSeededWithTheCalendarTimeInSeconds) {
    addUser(userDb, 1, "山田", "太郎");
    env.order_flg = 2;
    for (int n = 6; n <= 40; ++n)
        deck.add(n, {});
    const quint32 before = static_cast<quint32>(QDateTime::currentSecsSinceEpoch());
    const QVector<int> order = build();
    const quint32 after = static_cast<quint32>(QDateTime::currentSecsSinceEpoch());
    QVector<int> expected;
    bool matches = false;
    for (quint32 seed = before; seed <= after && !matches; ++seed) {
        expected.clear();
        for (int i = 0; i < deck.GetSize(); ++i)
            expected << i;
        CArrShowSeq::Shuffle(expected, seed);
        matches = expected == order;
    }
    EXPECT_TRUE(matches);
    QVector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < sorted.size(); ++i)
        EXPECT_EQ(sorted[i], i) << "every card exactly once";
}

TEST_F(OrderTest, OneCardDeckHasOneOrderInEveryMode) {
    HandDeck<CArrDenpyo> one;
    one.add(8, {});
    addUser(userDb, 1, "山田", "太郎", 0, 3);
    for (int order : {1, 2})
        for (int start : {1, 2}) {
            env.order_flg = order;
            env.start_flg = start;
            env.specifie_start_no = 8;
            ASSERT_TRUE(seq.Build(one, userDb, env));
            EXPECT_EQ(seq.Order(), QVector<int>{0});
        }
}

TEST_F(OrderTest, DeckFollowsTheBuiltOrderUntilTheOrderIsGone) {
    addUser(userDb, 1, "山田", "太郎", 0, 4);
    {
        CArrShowSeq local;
        ASSERT_TRUE(local.Build(deck, userDb, env));
        EXPECT_EQ(deck.CardAtPosition(0), 3);
        EXPECT_EQ(deck.CardAtPosition(4), 2);
        EXPECT_THROW(local.DeckIndexAt(5), std::invalid_argument);
        EXPECT_THROW(local.DeckIndexAt(-1), std::invalid_argument);
        deck.MarkShown(3);
        deck.MarkFinished(3);
        EXPECT_EQ(deck.FirstTrialStart(), deck.at(3).trialStart) << "position 0 is card 4";
    }
    EXPECT_EQ(deck.ShowOrder(), nullptr);
    EXPECT_EQ(deck.CardAtPosition(0), 0);
}

TEST_F(OrderTest, DeckAndOrderMayGoAwayInEitherOrder) {
    addUser(userDb, 1, "山田", "太郎", 0, 2);
    auto first = std::make_unique<HandDeck<CArrDenpyo>>();
    first->add(1, {});
    first->add(2, {});
    ASSERT_TRUE(seq.Build(*first, userDb, env));
    first.reset(); // a new course: the launcher frees the deck before the next build
    ASSERT_TRUE(seq.Build(deck, userDb, env));
    EXPECT_EQ(deck.CardAtPosition(0), 1);

    auto order = std::make_unique<CArrShowSeq>();
    ASSERT_TRUE(order->Build(deck, userDb, env));
    EXPECT_EQ(deck.ShowOrder(), order.get()) << "the latest order wins";
    order.reset();
    EXPECT_EQ(deck.ShowOrder(), nullptr) << "a freed order is not followed";

    // Two orders built on one deck, the deck freed first: neither reaches back.
    auto shared = std::make_unique<HandDeck<CArrDenpyo>>();
    shared->add(1, {});
    CArrShowSeq other;
    ASSERT_TRUE(seq.Build(*shared, userDb, env));
    ASSERT_TRUE(other.Build(*shared, userDb, env));
    shared.reset();
    ASSERT_TRUE(seq.Build(deck, userDb, env));
}
