#pragma once
// Card decks: the questionnaire cards (CArrHagaki) and the customer vouchers
// (CArrDenpyo) of one task, loaded from the master data file, with what the
// trainee typed or marked on each card and when. The same classes serve the
// task program during a trial and the analysis afterwards.
#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>
#include <memory>
#include <vector>

class CArrBase;
class CDB;

// One card. Times are naive local times (Clock.h); an invalid value means "not set".
class CArrBaseInfo {
public:
    static constexpr int kItems = 10;

    qint32 number = 0;                     // Col01: カードNo. / NO.
    std::array<QString, kItems> correct;   // correct value of items 1..10
    std::array<QString, kItems> erroneous; // value printed on the voucher (vouchers only)
    bool excluded = false;                 // JogaiFlag = 1: excluded from evaluation
    std::array<QString, kItems> input;     // typed text, or "C"/"N" marks for the miss-check task
    QDateTime trialStart;                  // copy of the deck's trial start when last shown
    QDateTime shown;                       // when the card was last shown
    QDateTime finished;                    // when the screen last took the card's inputs
    qint32 errorChecks = 0;                // error-check presses on this card
};

// The order in which a trial presents the deck: position -> deck index.
// The task program's presentation order implements it; a deck without one
// presents its cards in deck order.
class IShowOrder {
public:
    virtual ~IShowOrder() = default;
    virtual int size() const = 0;
    // Throws std::invalid_argument for a position outside 0 .. size() - 1.
    virtual int DeckIndexAt(int position) const = 0;
    // Told by a deck that stops following this order (it takes another order
    // or goes away), so that the order never reaches back into a freed deck.
    virtual void DeckReleased(const CArrBase& deck) { (void)deck; }
};

class CArrBase {
public:
    virtual ~CArrBase();
    CArrBase(const CArrBase&) = delete;
    CArrBase& operator=(const CArrBase&) = delete;

    // Clears the deck and reads the cards of the course from the master data file.
    // Throws CICException for inconsistent voucher tables; database failures pass
    // through as CDBException.
    virtual void Load(CDB& master, int courseCode) = 0;

    int GetSize() const { return static_cast<int>(m_cards.size()); }
    bool IsEmpty() const { return m_cards.empty(); }
    // Throws std::out_of_range for an index outside the deck.
    CArrBaseInfo& at(int index) { return *m_cards.at(index); }
    const CArrBaseInfo& at(int index) const { return *m_cards.at(index); }

    // Deck index of the first card with this number, or -1.
    int FindCard(int number) const;
    // Bound columns of the master recordset: 11 questionnaire, 6 voucher.
    int ColumnCount() const { return m_columnCount; }
    // Items per card: 9 for questionnaire cards, 4 for vouchers.
    int ItemCount() const { return m_columnCount > 2 ? m_columnCount - 2 : 0; }
    // The master database the deck was last loaded from (not owned), or nullptr.
    CDB* MasterDb() const { return m_master; }

    // ---- presentation order (not owned; nullptr = deck order). An order that
    // goes away first must clear itself here; the deck tells the order it
    // leaves (IShowOrder::DeckReleased).
    void SetShowOrder(IShowOrder* order);
    const IShowOrder* ShowOrder() const { return m_order; }
    // Deck index of the card at a position of the presentation order.
    int CardAtPosition(int position) const;

    // ---- trial times
    // Stamps the card shown now; the first card shown also starts the trial.
    void MarkShown(int index);
    void MarkFinished(int index);
    QDateTime TrialStart() const { return m_trialStart; }
    // Trial start stored in the card at position 0; invalid for an empty deck.
    QDateTime FirstTrialStart() const;
    // Finished time of the last card in an unbroken run of finished cards from
    // position 0; invalid when the card at position 0 is unfinished.
    QDateTime LastFinish() const;
    // "%02d分%02d秒" from FirstTrialStart to LastFinish, rounded to the nearest
    // second; minutes are not wrapped at 60. Empty when either time is missing.
    QString WorkingTime() const;

    // ---- judging (byte-for-byte in code page 932, no folding)
    bool ItemCorrect(int index, int item) const;
    bool CardCorrect(int index) const;
    // Miss-check: marks must be "C" exactly where the printed character differs
    // from the correct one, "N" everywhere else, and one mark per position.
    bool MissCheckItemCorrect(int index, int item) const;
    bool MissCheckCardCorrect(int index) const;
    static bool MissCheckCorrect(const QString& correct, const QString& erroneous, const QString& marks);

    // Empties every card's inputs and times, the deck's trial start and the
    // answered list; the loaded content stays.
    void ResetTrial();
    // Frees every card.
    void Clear();

    // ---- restore from an input-value file
    // Card numbers in the order of the restored rows.
    const QVector<int>& AnsweredNumbers() const { return m_answered; }
    // Fills inputs and times from an input-value file: 1 restored, 0 not (path
    // empty or missing, no time stamp in the file name, unreadable elapsed time;
    // what was restored before the bad row stays).
    int RestoreFromInputFile(const QString& path);

    // Adds a card (loading, and tests building a deck by hand).
    CArrBaseInfo& Append(std::unique_ptr<CArrBaseInfo> card);

protected:
    explicit CArrBase(int columnCount) : m_columnCount(columnCount) {}
    void BeginLoad(CDB& master);

private:
    std::vector<std::unique_ptr<CArrBaseInfo>> m_cards;
    CDB* m_master = nullptr;
    int m_columnCount = 0;
    QDateTime m_trialStart;
    QVector<int> m_answered;
    IShowOrder* m_order = nullptr;
};

// Questionnaire cards (task 1): Mst03 for course 2, Mst01 otherwise.
class CArrHagaki : public CArrBase {
public:
    static constexpr int kColumns = 11;
    CArrHagaki() : CArrBase(kColumns) {}
    void Load(CDB& master, int courseCode) override;
};

// Customer vouchers (tasks 2 and 3): Mst04 + Mst04Error for course 2,
// Mst02 + Mst02Error otherwise.
class CArrDenpyo : public CArrBase {
public:
    static constexpr int kColumns = 6;
    CArrDenpyo() : CArrBase(kColumns) {}
    void Load(CDB& master, int courseCode) override;
};

// A deck of the right kind for a task: questionnaire cards for task 1, vouchers otherwise.
std::unique_ptr<CArrBase> MakeDeckForTask(int problemCode);
