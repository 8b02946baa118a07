#pragma once
// The conditions of the trial being run: who, which task and course, what the
// trainee chose and what the instructor set in the ini file; and the three
// database writes of a trial (its history row, created and completed, and the
// user's next start number).
#include "Labels.h"
#include "LiveTrials.h"

#include <QDateTime>
#include <QString>

#include <optional>

class CDB;
class CArrKaisekiMain_ShikouKai;

class CExecEnv {
public:
    CExecEnv() = default;
    virtual ~CExecEnv();

    // ---- who and what
    int user_code = 0;
    int problem_code = 0; // 1 questionnaire input, 2 voucher correction, 3 voucher miss-check
    int course_code = 0; // 1 実力テスト, 2 基礎トレーニング, 3 レベルアップトレーニング

    // ---- set by the trainee (reset whenever a course is chosen)
    int end_time = 2; // 1 15 min, 2 30 min, 3 45 min, 4 60 min
    int progress_flg = 0;
    int timer_flg = 0;
    int remainder_flg = 0;
    int enlarge_flg = 0;
    int target_value = 0;  // target work count
    int target_value2 = 0; // target correct count
    int graph_flg = 1;
    int error_feedback_flg = 1;
    int final_feedback_flg = 1;
    int result_code = 1; // 1 音, 2 図形（○×）, 3 文字色
    int color_code = 1;  // 1..6, the colour table

    // ---- set by the instructor (read from the ini file)
    int order_flg = 1; // 1 number order, 2 shuffle
    int start_flg = 1; // 1 continue from the stored start number, 2 specifie_start_no
    int specifie_start_no = 1;
    int display_flg = 0;      // 0 paper, 1 image on screen
    int display_position = 1; // 1 left, 2 right
    int zip_flg = 1;
    int sound_flg = 1;

    void ResetTraineeConditions();
    void SetTraineeConditions(int endTime, int progress, int timer, int remainder, int targetWork,
                              int targetCorrect, int graph, int errorFeedback, int finalFeedback, int method,
                              int colour, int enlarge);
    // Section Settings of Quillon01.ini, with the usual defaults for missing keys.
    void LoadInstructorConditions();

    // display_position when the image is on screen, else 0 (no image).
    int ImagePosition() const;
    // The time limit of end_time in milliseconds; 30 minutes for an unknown code.
    qint64 TimeLimitMs() const;
    Labels::Rgb FeedbackColour() const;
    // Red on the black feedback colour, black on every other.
    Labels::Rgb ContrastColour() const;

    // The user's next start card number for problem_code; 1 when missing, not
    // positive or unreadable.
    int StoredStartNumber(CDB& userDb) const;

    // Inserts the trial's history row with the conditions, and its live row
    // (this PC, the whole time limit left) in the same transaction; returns its
    // AutoNumber, or 0 when it could not be written (the reason has been shown).
    int CreateHistoryRow(CDB& userDb, const QDateTime& start) const;
    // Writes the trial's twelve result values, the end reason (0 time limit,
    // 1 ended by the trainee), the working time text and last_update, and
    // with them the live row's end: liveState, the cards scored and the
    // seconds left (nullopt keeps the last reported, for a trial closed after
    // its program was killed).
    bool CompleteHistoryRow(CDB& userDb, int autoNumber, const CArrKaisekiMain_ShikouKai& totals, int endFlag,
                            const QString& answerTime,
                            LiveTrials::State liveState = LiveTrials::State::Aborted,
                            std::optional<int> secondsLeft = std::nullopt) const;
    // Stores the user's next start number for problem_code: cardNumber in number
    // order, 1 when shuffled.
    bool StoreNextStartNumber(CDB& userDb, int cardNumber) const;
};
