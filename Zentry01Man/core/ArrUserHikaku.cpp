#include "ArrUserHikaku.h"

#include "Codec.h"
#include "HikakuSort.h"
#include "ICException.h"
#include "Notifier.h"
#include "Recordsets.h"
#include "TextUtil.h"
#include "TrialState.h"

#include <algorithm>

namespace {
QString rankText(int rank) { return QString::asprintf("%d", rank) + QStringLiteral("位"); }

// The earliest trial whose value is higher than every earlier one's.
template <typename Value> int best(const std::vector<CArrUserHikakuHistoryInfo>& trials, Value value) {
    int top = -1;
    for (int i = 0; i < int(trials.size()); ++i)
        if (top < 0 || value(trials[i]) > value(trials[top]))
            top = i;
    return top;
}
} // namespace

CArrUserHikakuHistoryInfo CArrUserHikakuHistoryInfo::From(const CRsHistory_tbl& row, int seq) {
    CArrUserHikakuHistoryInfo t;
    t.m_seq = seq;
    t.m_AutoNumber = row.m_AutoNumber;
    t.m_execution_date = row.m_execution_date;
    t.m_answer_time = row.m_answer_time;
    t.m_answer_number60 = row.m_answer_number60;
    t.m_answer_koumoku60 = row.m_answer_koumoku60;
    t.m_correct_rate60 = row.m_correct_rate60;
    t.m_correct_rate_koumoku60 = row.m_correct_rate_koumoku60;
    return t;
}

bool CArrUserHikaku::Compute(CDB& userDb, int task, int level) {
    m_users.clear();
    m_level = level;
    bool ok = true;
    try {
        CRsUser_tbl users(&userDb);
        users.Open(CRecordset::dbOpenSnapshot,
                   QStringLiteral("select * from [User_tbl] where [delete_flg] <> 1 order by [user_code]"));
        m_users.reserve(users.GetRecordCount());
        CRsHistory_tbl rs(&userDb);
        for (; !users.IsEOF(); users.MoveNext()) {
            CArrUserHikakuUserInfo user;
            user.m_user_code = users.m_user_code;
            user.m_name = users.m_user_name1 + QStringLiteral("　") + users.m_user_name2;
            rs.Open(CRecordset::dbOpenSnapshot,
                    QStringLiteral("select * from [History_tbl] where [user_code] = %d and [problem_code] = '%d' "
                                   "and [course_code] = '1' and [delete_flg] <> 1 order by [execution_date], "
                                   "[AutoNumber]"),
                    {user.m_user_code, task});
            user.m_trials.reserve(rs.GetRecordCount());
            // A trial without an end has no result yet; counting it would make
            // "1回/1回 0枚" of a trainee who is still at work.
            for (; !rs.IsEOF(); rs.MoveNext())
                if (!TrialState::IsUnfinished(rs))
                    user.m_trials.push_back(CArrUserHikakuHistoryInfo::From(rs, int(user.m_trials.size()) + 1));
            m_users.push_back(std::move(user));
        }
    } catch (const CDBException& e) {
        notifyError(e.text());
        ok = false;
    }
    rank();
    return ok;
}

void CArrUserHikaku::rank() {
    const int level = m_level;
    CHikakuSort volumes, rates;
    for (int i = 0; i < int(m_users.size()); ++i) {
        CArrUserHikakuUserInfo& u = m_users[i];
        u.m_bestVolume = best(u.m_trials, [level](const auto& t) { return t.Volume(level); });
        u.m_bestRate = best(u.m_trials, [level](const auto& t) { return t.Rate(level); });
        volumes.Add(u.BestVolume() ? u.BestVolume()->Volume(level) : 0, i, u.m_name);
        rates.Add(u.BestRate() ? u.BestRate()->Rate(level) : 0, i, u.m_name);
    }
    const std::vector<int> volumeRanks = volumes.Rank(CHikakuSort::Descending);
    const std::vector<int> rateRanks = rates.Rank(CHikakuSort::Descending);
    CHikakuSort overall;
    for (int i = 0; i < int(m_users.size()); ++i) {
        m_users[i].m_volumeRank = volumeRanks[i];
        m_users[i].m_rateRank = rateRanks[i];
        overall.Add(volumeRanks[i] + rateRanks[i], i, m_users[i].m_name);
    }
    const std::vector<int> ranks = overall.Rank(CHikakuSort::Ascending);
    for (int i = 0; i < int(m_users.size()); ++i)
        m_users[i].m_rank = ranks[i];
    // The best-ranked users end the list.
    std::stable_sort(m_users.begin(), m_users.end(),
                     [](const CArrUserHikakuUserInfo& a, const CArrUserHikakuUserInfo& b) { return a.m_rank > b.m_rank; });
}

const QStringList& CArrUserHikaku::Captions() {
    static const QStringList captions{
        QStringLiteral("順位"),       QStringLiteral("氏名"),     QStringLiteral("作業量の順位"),
        QStringLiteral("試行実時間"), QStringLiteral("試行回"),   QStringLiteral("作業量"),
        QStringLiteral("正解率"),     QStringLiteral("正解率の順位"), QStringLiteral("試行実時間"),
        QStringLiteral("試行回"),     QStringLiteral("作業量"),   QStringLiteral("正解率"),
        QStringLiteral("最終３回分の作業量"), QStringLiteral("最終３回分の正解率"),
    };
    return captions;
}

QString CArrUserHikaku::volumeText(const CArrUserHikakuHistoryInfo& trial) const {
    return QString::asprintf("%d", static_cast<int>(trial.Volume(m_level))) +
           (m_level == ItemLevel ? QStringLiteral("項目") : QStringLiteral("枚"));
}

QString CArrUserHikaku::rateText(const CArrUserHikakuHistoryInfo& trial) const {
    return QString::asprintf("%4.1f%%", TextUtil::OneDecimal(trial.Rate(m_level)));
}

QStringList CArrUserHikaku::Cells(const CArrUserHikakuUserInfo& user) const {
    const int trials = int(user.m_trials.size());
    auto bestColumns = [&](const CArrUserHikakuHistoryInfo* t) -> QStringList {
        if (!t)
            return {QString(), QString(), QString(), QString()};
        return {t->m_answer_time, QString::asprintf("%d回/%d回", t->m_seq, trials), volumeText(*t), rateText(*t)};
    };
    QStringList lastVolumes, lastRates;
    for (int i = std::max(0, trials - 3); i < trials; ++i) {
        lastVolumes << volumeText(user.m_trials[i]);
        lastRates << rateText(user.m_trials[i]);
    }
    return QStringList{rankText(user.m_rank), user.m_name, rankText(user.m_volumeRank)} +
           bestColumns(user.BestVolume()) + QStringList{rankText(user.m_rateRank)} + bestColumns(user.BestRate()) +
           QStringList{lastVolumes.join('/'), lastRates.join('/')};
}

QByteArray CArrUserHikaku::CsvBytes() const {
    QString text = TextUtil::CsvLine(Captions(), true);
    for (const CArrUserHikakuUserInfo& user : m_users)
        text += TextUtil::CsvLine(Cells(user), true);
    return cp932::encode(text);
}
