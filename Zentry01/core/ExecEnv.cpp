#include "ExecEnv.h"

#include "AppSub.h"
#include "ArrKaisekiMain.h"
#include "Clock.h"
#include "DB.h"
#include "ICException.h"
#include "Notifier.h"
#include "Recordsets.h"
#include "TextUtil.h"

namespace {
QString blankZero(int value) {
    return TextUtil::CodeToText(value, true);
}
} // namespace

CExecEnv::~CExecEnv() = default;

void CExecEnv::ResetTraineeConditions() {
    end_time = 2;
    progress_flg = timer_flg = remainder_flg = enlarge_flg = 0;
    target_value = target_value2 = 0;
    graph_flg = error_feedback_flg = final_feedback_flg = 1;
    result_code = color_code = 1;
}

void CExecEnv::SetTraineeConditions(int endTime, int progress, int timer, int remainder, int targetWork,
                                    int targetCorrect, int graph, int errorFeedback, int finalFeedback,
                                    int method, int colour, int enlarge) {
    end_time = endTime;
    progress_flg = progress;
    timer_flg = timer;
    remainder_flg = remainder;
    target_value = targetWork;
    target_value2 = targetCorrect;
    graph_flg = graph;
    error_feedback_flg = errorFeedback;
    final_feedback_flg = finalFeedback;
    result_code = method;
    color_code = colour;
    enlarge_flg = enlarge;
}

void CExecEnv::LoadInstructorConditions() {
    // A value outside its choices (the file edited by hand) reads as the choice
    // the screens fall back to, so that the screens, the order of the cards
    // and the history row all tell the same conditions.
    const auto choice = [](const char* key, int def, int other) {
        const int v = AppSub::GetProfileInt(QString::fromLatin1(key), def);
        return v == other ? other : def;
    };
    const auto onOff = [](const char* key, int def) {
        return AppSub::GetProfileInt(QString::fromLatin1(key), def) != 0 ? 1 : 0;
    };
    order_flg = choice("order_flg", 1, 2);
    start_flg = choice("start_flg", 1, 2);
    specifie_start_no = AppSub::GetProfileInt(QStringLiteral("specifie_start_no"), 1);
    display_flg = AppSub::ImageOnScreen() ? 1 : 0;
    display_position = choice("display_position", 1, 2);
    zip_flg = onOff("zip_flg", 1);
    sound_flg = onOff("sound_flg", 1);
}

int CExecEnv::ImagePosition() const {
    return display_flg != 0 ? display_position : 0;
}

qint64 CExecEnv::TimeLimitMs() const {
    switch (end_time) {
    case 1:
        return 900000;
    case 3:
        return 2700000;
    case 4:
        return 3600000;
    default:
        return 1800000;
    }
}

Labels::Rgb CExecEnv::FeedbackColour() const {
    return Labels::ColourRgb(color_code);
}

Labels::Rgb CExecEnv::ContrastColour() const {
    return color_code == 1 ? Labels::Rgb{255, 0, 0} : Labels::Rgb{};
}

int CExecEnv::StoredStartNumber(CDB& userDb) const {
    int number = 0;
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                QStringLiteral("select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 "),
                {user_code}, CRecordset::readOnly);
        if (!rs.IsEOF()) {
            switch (problem_code) {
            case 1:
                number = rs.m_start_no1;
                break;
            case 2:
                number = rs.m_start_no2;
                break;
            case 3:
                number = rs.m_start_no3;
                break;
            default:
                break;
            }
        }
    } catch (const CDBException&) {
        number = 0;
    }
    return number > 0 ? number : 1;
}

int CExecEnv::CreateHistoryRow(CDB& userDb, const QDateTime& start) const {
    CRsHistory_tbl rs(&userDb);
    try {
        rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[History_tbl]"));
    } catch (const CDBException& e) {
        notifyError(e.text());
        return 0;
    }
    if (!rs.CheckCanUpdate())
        return 0;
    const bool noFeedback = !error_feedback_flg && !final_feedback_flg;
    int autoNumber = 0;
    const bool written = RunWriteTransaction(userDb, [&] {
        // Taken under the write lock: the other program cannot take it too.
        autoNumber = AppSub::NextHistoryNumber(userDb);
        rs.AddNew();
        rs.m_AutoNumber = autoNumber;
        rs.m_user_code = user_code;
        rs.m_problem_code = blankZero(problem_code);
        rs.m_execution_date = rs.m_first_update = rs.m_last_update = start;
        rs.m_order_flg = blankZero(order_flg);
        rs.m_end_time = blankZero(end_time);
        rs.m_display_flg = blankZero(display_flg);
        rs.m_display_position = blankZero(display_position);
        rs.m_progress_flg = blankZero(progress_flg);
        rs.m_timer_flg = blankZero(timer_flg);
        rs.m_remainder_flg = blankZero(remainder_flg);
        rs.m_graph_flg = blankZero(graph_flg);
        rs.m_zip_flg = blankZero(zip_flg);
        rs.m_sound_flg = course_code == 1 ? QString() : blankZero(sound_flg);
        rs.m_course_code = blankZero(course_code);
        rs.m_answer_number = rs.m_answer_koumoku = rs.m_correct_number = rs.m_correct_koumoku = 0;
        rs.m_correct_rate = rs.m_correct_rate_koumoku = 0;
        rs.m_answer_number60 = rs.m_answer_koumoku60 = rs.m_correct_number60 = rs.m_correct_koumoku60 = 0;
        rs.m_correct_rate60 = rs.m_correct_rate_koumoku60 = 0;
        rs.m_target_value = course_code == 3 ? target_value : 0;
        rs.m_target_value2 = course_code == 3 ? target_value2 : 0;
        rs.m_result_code = course_code == 1 || noFeedback ? QString() : QString::number(result_code);
        rs.m_color_code =
            course_code == 1 || result_code == 1 || noFeedback ? QString() : QString::number(color_code);
        rs.m_end_flg.clear();
        rs.m_answer_time.clear();
        rs.m_delete_flg = 0;
        rs.Update();
        LiveTrials::WriteStart(userDb, autoNumber, static_cast<int>(TimeLimitMs() / 1000), start);
    });
    return written ? autoNumber : 0;
}

bool CExecEnv::CompleteHistoryRow(CDB& userDb, int autoNumber, const CArrKaisekiMain_ShikouKai& totals,
                                  int endFlag, const QString& answerTime, LiveTrials::State liveState,
                                  std::optional<int> secondsLeft) const {
    CRsHistory_tbl rs(&userDb);
    try {
        rs.Open(CRecordset::dbOpenDynaset,
                QStringLiteral("select * from [History_tbl] where [AutoNumber] = %d and [delete_flg] <> 1 "),
                {autoNumber});
    } catch (const CDBException& e) {
        notifyError(e.text());
        return false;
    }
    if (!rs.CheckCanUpdate())
        return false;
    return RunWriteTransaction(userDb, [&] {
        rs.Edit();
        rs.m_answer_number = totals.m_answer_number;
        rs.m_answer_koumoku = totals.m_answer_koumoku;
        rs.m_correct_number = totals.m_correct_number;
        rs.m_correct_koumoku = totals.m_correct_koumoku;
        rs.m_correct_rate = totals.m_correct_rate;
        rs.m_correct_rate_koumoku = totals.m_correct_rate_koumoku;
        rs.m_answer_number60 = totals.m_answer_number60;
        rs.m_answer_koumoku60 = totals.m_answer_koumoku60;
        rs.m_correct_number60 = totals.m_correct_number60;
        rs.m_correct_koumoku60 = totals.m_correct_koumoku60;
        rs.m_correct_rate60 = totals.m_correct_rate60;
        rs.m_correct_rate_koumoku60 = totals.m_correct_rate_koumoku60;
        rs.m_end_flg = blankZero(endFlag);
        rs.m_answer_time = answerTime;
        rs.m_last_update = appClock().now();
        rs.Update();
        LiveTrials::WriteEnd(userDb, autoNumber, totals.m_answer_number, secondsLeft, liveState, rs.m_last_update);
    });
}

bool CExecEnv::StoreNextStartNumber(CDB& userDb, int cardNumber) const {
    CRsUser_tbl rs(&userDb);
    try {
        rs.Open(CRecordset::dbOpenDynaset,
                QStringLiteral("select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 "),
                {user_code});
    } catch (const CDBException& e) {
        notifyError(e.text());
        return false;
    }
    if (!rs.CheckCanUpdate())
        return false;
    const int number = order_flg == 1 ? cardNumber : 1;
    return RunWriteTransaction(userDb, [&] {
        rs.Edit();
        switch (problem_code) {
        case 1:
            rs.m_start_no1 = number;
            break;
        case 2:
            rs.m_start_no2 = number;
            break;
        case 3:
            rs.m_start_no3 = number;
            break;
        default:
            break;
        }
        rs.m_last_update = appClock().now();
        rs.Update();
    });
}
