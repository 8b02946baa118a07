#pragma once
// The user comparison: every live user ranked by the skill-test trials of one
// task — by the best work volume, by the best correct rate, and overall by the
// sum of both ranks — with the best trials and the last three trials, as the
// 14 columns of the comparison list and the CSV file saved from it.
#include <QByteArray>
#include <QDateTime>
#include <QStringList>

#include <vector>

class CDB;
class CRsHistory_tbl;

// One skill-test trial of a user: the columns of its history row the comparison reads.
class CArrUserHikakuHistoryInfo {
public:
    int m_seq = 0; // 1, 2, ... in date order among the user's trials
    qint32 m_AutoNumber = 0;
    QDateTime m_execution_date;
    QString m_answer_time;
    double m_answer_number60 = 0, m_answer_koumoku60 = 0;
    double m_correct_rate60 = 0, m_correct_rate_koumoku60 = 0;

    // The 60-minute work volume and correct rate of the level (1 cards, 2 items).
    double Volume(int level) const { return level == 2 ? m_answer_koumoku60 : m_answer_number60; }
    double Rate(int level) const { return level == 2 ? m_correct_rate_koumoku60 : m_correct_rate60; }

    static CArrUserHikakuHistoryInfo From(const CRsHistory_tbl& row, int seq);
};

class CArrUserHikakuUserInfo {
public:
    qint32 m_user_code = 0;
    QString m_name; // user_name1 + "　" + user_name2
    std::vector<CArrUserHikakuHistoryInfo> m_trials;
    int m_rank = 0, m_volumeRank = 0, m_rateRank = 0;
    // Index of the earliest trial with the highest volume / rate; -1 without trials.
    int m_bestVolume = -1, m_bestRate = -1;

    const CArrUserHikakuHistoryInfo* BestVolume() const { return trialAt(m_bestVolume); }
    const CArrUserHikakuHistoryInfo* BestRate() const { return trialAt(m_bestRate); }

private:
    const CArrUserHikakuHistoryInfo* trialAt(int i) const { return i >= 0 ? &m_trials[i] : nullptr; }
};

class CArrUserHikaku {
public:
    enum Level { CardLevel = 1, ItemLevel = 2 };
    static constexpr int kColumns = 14;

    CArrUserHikaku() = default;
    CArrUserHikaku(const CArrUserHikaku&) = delete;
    CArrUserHikaku& operator=(const CArrUserHikaku&) = delete;

    // Loads the users and their skill-test trials of the task, ranks them and
    // orders them for display (largest overall rank number first). False after a
    // database error, which has been shown; the users loaded so far are ranked.
    bool Compute(CDB& userDb, int task, int level);

    int Level() const { return m_level; }
    const std::vector<CArrUserHikakuUserInfo>& Users() const { return m_users; }

    static const QStringList& Captions();
    // The 14 cell texts of a user's row.
    QStringList Cells(const CArrUserHikakuUserInfo& user) const;
    // The saved file: the captions, then a line per user in display order; every
    // field quoted with inner quotes doubled, code page 932, CR LF.
    QByteArray CsvBytes() const;

private:
    void rank();
    QString volumeText(const CArrUserHikakuHistoryInfo& trial) const;
    QString rateText(const CArrUserHikakuHistoryInfo& trial) const;

    int m_level = CardLevel;
    std::vector<CArrUserHikakuUserInfo> m_users;
};
