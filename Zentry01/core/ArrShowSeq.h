#pragma once
// The presentation order of a trial: position -> deck index, either number
// order from a start card (wrapping round to the first card) or shuffled.
#include "ArrDenpyo.h"

#include <QVector>

#include <functional>

class CDB;
class CExecEnv;

// The pseudo-random generator of the shuffle: a linear congruential generator
// (x = x * 214013 + 2531011 mod 2^32) yielding bits 16..30 of the state.
class CShuffleRandom {
public:
    explicit CShuffleRandom(quint32 seed) : m_state(seed) {}
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    quint32 m_state;
};

class CArrShowSeq : public IShowOrder {
public:
    using SeedSource = std::function<quint32()>;

    CArrShowSeq();
    ~CArrShowSeq() override;
    CArrShowSeq(const CArrShowSeq&) = delete;
    CArrShowSeq& operator=(const CArrShowSeq&) = delete;

    // Builds the order for the deck and makes it the deck's presentation order.
    // False when the instructor's specified start number is not in the deck
    // (string 118 has been shown); the order is then empty.
    bool Build(CArrBase& deck, CDB& userDb, const CExecEnv& env);

    int size() const override { return static_cast<int>(m_order.size()); }
    // Throws std::invalid_argument for a position outside 0 .. size() - 1.
    int DeckIndexAt(int position) const override;
    const QVector<int>& Order() const { return m_order; }
    void DeckReleased(const CArrBase& deck) override;

    // Where the shuffle's seed comes from: by default the calendar time in
    // seconds (its low 32 bits). Tests fix it.
    void SetSeedSource(SeedSource source);
    // Swaps each position i = 0 .. n-1 with a drawn position (draw mod n).
    static void Shuffle(QVector<int>& order, quint32 seed);

private:
    void detach();

    CArrBase* m_deck = nullptr; // the deck this order was built for (not owned)
    QVector<int> m_order;
    SeedSource m_seedSource;
};
