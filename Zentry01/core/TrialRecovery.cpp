#include "TrialRecovery.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "ArrKaisekiMain.h"
#include "DB.h"
#include "ExecEnv.h"
#include "ICException.h"
#include "KaisekiFile.h"
#include "Notifier.h"
#include "Recordsets.h"
#include "TrialState.h"

#include <optional>
#include <stdexcept>
#include <vector>

namespace {
// The cards of a restored deck in the order the input-value file lists them,
// so that the deck's trial start, last finish and working time are those of
// the interrupted trial.
class AnsweredOrder : public IShowOrder {
public:
    void Follow(CArrBase& deck) {
        m_indexes.clear();
        for (int number : deck.AnsweredNumbers())
            m_indexes.push_back(deck.FindCard(number));
        deck.SetShowOrder(this);
    }
    int size() const override { return static_cast<int>(m_indexes.size()); }
    int DeckIndexAt(int position) const override {
        if (position < 0 || position >= size())
            throw std::invalid_argument("position outside the answered cards");
        return m_indexes[position];
    }

private:
    std::vector<int> m_indexes;
};

// What a history row says about its trial's conditions, as the trial's own
// analysis-result file reports them. Error feedback exists only in basic
// training and final feedback only in level-up training, so a feedback method
// stored for level-up training means final feedback was chosen.
struct Unfinished {
    int autoNumber = 0;
    int userCode = 0;
    int problemCode = 0;
    QDateTime start;
    CKaisekiFile::TrialConditions conditions;
};

Unfinished unfinishedOf(const CRsHistory_tbl& row) {
    Unfinished u;
    u.autoNumber = row.m_AutoNumber;
    u.userCode = row.m_user_code;
    u.problemCode = row.m_problem_code.toInt();
    u.start = row.m_execution_date;
    CKaisekiFile::TrialConditions& c = u.conditions;
    c.course_code = row.m_course_code.toInt();
    c.end_time = row.m_end_time.toInt();
    c.display_flg = row.m_display_flg.toInt();
    c.order_flg = row.m_order_flg.toInt();
    c.progress_flg = row.m_progress_flg.toInt();
    c.timer_flg = row.m_timer_flg.toInt();
    c.zip_flg = row.m_zip_flg.toInt();
    c.sound_flg = row.m_sound_flg.toInt();
    c.target_value = row.m_target_value;
    c.target_value2 = row.m_target_value2;
    c.result_code = row.m_result_code.toInt();
    c.color_code = row.m_color_code.toInt();
    c.final_feedback_flg = c.course_code == 3 && !row.m_result_code.isEmpty() ? 1 : 0;
    return u;
}

std::optional<CTrialRecovery::Closed> closeOne(CDB& userDb, CDB& masterDb, const Unfinished& u) {
    AnsweredOrder order; // outlives the analysis and its decks, which follow it
    CArrKaisekiMain analysis;
    CArrKaisekiMain::Conditions c;
    c.userCode = u.userCode;
    c.problemCode = u.problemCode;
    c.selection = CArrRirekiNum{u.autoNumber};
    c.selectionNumbers = CArrRirekiNum{1};
    c.includeUnfinished = true;
    if (!analysis.Run(userDb, masterDb, c) || analysis.GetSize() == 0)
        return std::nullopt; // the reason has been shown; the row stays for the next start
    const CArrKaisekiMain_ShikouKai& trial = *analysis.GetAt(0);

    QString workingTime;
    if (!trial.m_fileMissing) {
        try {
            CArrBase* deck = analysis.DeckOf(trial);
            analysis.RestoreDeck(trial.m_trialNo);
            order.Follow(*deck);
            workingTime = deck->WorkingTime();
            CKaisekiFile result;
            result.Open(userDb, masterDb, u.conditions, u.problemCode, u.start, u.userCode);
            result.WriteResult(*deck, u.autoNumber);
        } catch (const CICException& e) {
            // The totals are known; the history row is still completed.
            notifyError(e.GetErrorMessage());
        }
    }
    if (!CExecEnv().CompleteHistoryRow(userDb, u.autoNumber, trial, 1, workingTime))
        return std::nullopt;

    CTrialRecovery::Closed closed;
    closed.autoNumber = u.autoNumber;
    closed.userCode = u.userCode;
    closed.problemCode = u.problemCode;
    closed.start = u.start;
    closed.cards = trial.m_answer_number;
    QString kana;
    if (!AppSub::GetUserDisplayNames(userDb, u.userCode, closed.userName, kana))
        closed.userName.clear();
    return closed;
}
} // namespace

bool CTrialRecovery::IsUnfinished(const CRsHistory_tbl& row) { return TrialState::IsUnfinished(row); }

QVector<CTrialRecovery::Closed> CTrialRecovery::CloseUnfinished(CDB& userDb, CDB& masterDb) {
    QVector<Closed> closed;
    if (!userDb.canWrite())
        return closed; // no trial can run either; starting one says why
    std::vector<Unfinished> unfinished;
    try {
        CRsHistory_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                // Only rows without a working time can be unfinished: the start-up
                // then reads those few, not every trial of every year.
                QStringLiteral("select * from [History_tbl] where [delete_flg] <> 1 and "
                               "ifnull([answer_time], '') = '' order by [execution_date], [AutoNumber]"),
                {}, CRecordset::readOnly);
        for (; !rs.IsEOF(); rs.MoveNext())
            if (IsUnfinished(rs))
                unfinished.push_back(unfinishedOf(rs));
    } catch (const CDBException& e) {
        notifyError(e.text());
        return closed;
    }
    for (const Unfinished& u : unfinished) {
        const std::optional<Closed> done = closeOne(userDb, masterDb, u);
        if (!done)
            break; // what failed (master data, database) fails for the rest too: said once
        closed.push_back(*done);
    }
    return closed;
}
