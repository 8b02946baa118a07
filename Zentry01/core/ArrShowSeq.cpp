#include "ArrShowSeq.h"

#include "ExecEnv.h"
#include "Notifier.h"

#include <QDateTime>

#include <stdexcept>
#include <utility>

namespace {
quint32 calendarSeconds() {
    return static_cast<quint32>(QDateTime::currentSecsSinceEpoch());
}

QString startNumberMissing(int number) {
    return QStringLiteral(
               "開始Noの指定に誤りがあります。\n責任者を呼んでください。\n\n\n"
               "指導者用ユーティリティで開始Noは、%1に設定されていますが、この番号は見つかりません。")
        .arg(number);
}
} // namespace

CArrShowSeq::CArrShowSeq() : m_seedSource(calendarSeconds) {}

CArrShowSeq::~CArrShowSeq() {
    detach();
}

void CArrShowSeq::detach() {
    // m_deck is set only while the deck follows this order, so it is alive.
    if (CArrBase* deck = std::exchange(m_deck, nullptr))
        deck->SetShowOrder(nullptr);
}

void CArrShowSeq::DeckReleased(const CArrBase& deck) {
    if (m_deck == &deck)
        m_deck = nullptr;
}

void CArrShowSeq::SetSeedSource(SeedSource source) {
    m_seedSource = source ? std::move(source) : calendarSeconds;
}

int CArrShowSeq::DeckIndexAt(int position) const {
    if (position < 0 || position >= m_order.size())
        throw std::invalid_argument("presentation position outside the order");
    return m_order.at(position);
}

void CArrShowSeq::Shuffle(QVector<int>& order, quint32 seed) {
    CShuffleRandom random(seed);
    const int n = static_cast<int>(order.size());
    for (int i = 0; i < n; ++i)
        std::swap(order[i], order[random.Next() % n]);
}

bool CArrShowSeq::Build(CArrBase& deck, CDB& userDb, const CExecEnv& env) {
    detach();
    m_deck = &deck;
    m_order.clear();
    // The deck follows this order from now on; an empty order until built.
    deck.SetShowOrder(this);
    const int n = deck.GetSize();

    if (env.order_flg == 2) {
        for (int i = 0; i < n; ++i)
            m_order.push_back(i);
        Shuffle(m_order, m_seedSource());
        return true;
    }

    int start = 0;
    if (env.start_flg == 2) {
        start = deck.FindCard(env.specifie_start_no);
        if (start < 0) {
            notifyMessage(startNumberMissing(env.specifie_start_no), MsgIcon::Exclamation);
            return false;
        }
    } else {
        start = std::max(0, deck.FindCard(env.StoredStartNumber(userDb)));
    }
    for (int i = start; i < n; ++i)
        m_order.push_back(i);
    for (int i = 0; i < start; ++i)
        m_order.push_back(i);
    return true;
}
