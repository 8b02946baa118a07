#pragma once
// The error analysis: for a selection of a user's history rows it finds each
// trial's input-value file, judges every completed card against the master
// data character by character, and keeps per trial the counts, the rates, the
// same values converted to a 60-minute trial, the error counts per item and per
// character class, and every wrong character with its error kind.
#include "ArrRirekiNum.h"
#include "TCLoadCSVFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class CArrBase;
class CDB;
class CKCCompareText;
class CRsHistory_tbl;
class CArrKaisekiMain_ShikouKai;

// One wrong character.
class CArrKaisekiMain_Moji {
public:
    enum Kind {
        InputError = 1,   // task 2 入力エラー; task 1 wrong character
        Overlooked = 2,   // 見落とし; task 1 character missing
        OverCorrected = 3 // task 2 過剰修正, task 3 過剰チェック; task 1 extra character
    };

    int m_cardNo = 0;     // NO. of the card
    int m_itemCode = 0;   // 11..19 questionnaire items, 21..24 voucher items
    int m_charClass = 0;  // 1 カナ, 2 漢字, 3 数字, 4 英大文字, 5 英小文字, 6 記号等
    int m_errorKind = 0;  // Kind
    QString m_expected;   // the correct character; task 2: followed by the printed one
    QString m_found;      // task 3: the printed character; tasks 1, 2: the typed one
    int m_judgedCard = 0; // 0-based index of the judged card row within its trial
    const CArrKaisekiMain_ShikouKai* m_trial = nullptr;
};

// One analysed trial: a copy of its history row and the results of judging
// its input-value file.
class CArrKaisekiMain_ShikouKai {
public:
    static constexpr int kItemCount = 10;
    static constexpr int kClassCount = 6;

    CArrKaisekiMain_ShikouKai() = default;
    CArrKaisekiMain_ShikouKai(const CArrKaisekiMain_ShikouKai&) = delete;
    CArrKaisekiMain_ShikouKai& operator=(const CArrKaisekiMain_ShikouKai&) = delete;

    int m_trialNo = 0;    // position in the run (1, 2, ...) or the number the selection gave
    QString m_inputFile;  // empty when not found
    int m_timeBucket = 0; // 0 whole trial, 1..4 the quarter hours
    int m_errorCards = 0; // cards with at least one wrong character
    double m_errorCardRate = 0;
    int m_itemErrors[kItemCount] = {};   // per item position: cards with an error in that item
    int m_classErrors[kClassCount] = {}; // classes 1..6 at 0..5: cards with a wrong character of that class
    bool m_fileMissing = false;
    QString m_message; // empty on success

    // Copied from the history row.
    qint32 m_AutoNumber = 0;
    qint32 m_user_code = 0;
    QString m_problem_code;
    QDateTime m_execution_date;
    QString m_order_flg, m_end_time, m_display_flg, m_display_position, m_progress_flg, m_timer_flg,
        m_remainder_flg, m_graph_flg, m_zip_flg, m_sound_flg, m_course_code;
    qint32 m_target_value = 0, m_target_value2 = 0;
    QString m_result_code, m_color_code, m_end_flg, m_answer_time;
    QDateTime m_first_update, m_last_update;
    qint32 m_delete_flg = 0;

    // Computed: the twelve result columns of the history row.
    qint32 m_answer_number = 0, m_answer_koumoku = 0, m_correct_number = 0, m_correct_koumoku = 0;
    double m_correct_rate = 0, m_correct_rate_koumoku = 0;
    double m_answer_number60 = 0, m_answer_koumoku60 = 0, m_correct_number60 = 0, m_correct_koumoku60 = 0;
    double m_correct_rate60 = 0, m_correct_rate_koumoku60 = 0;

    // In card order, then item order, then position.
    std::vector<CArrKaisekiMain_Moji> m_wrongChars;

    int courseCode() const { return m_course_code.toInt(); }
    int problemCode() const { return m_problem_code.toInt(); }
};

class CArrKaisekiMain {
public:
    enum SelectionType {
        SelectAll = 0, // no condition
        // 1..4: completed trials whose end_time is that code
        SelectCompleted = 5, // trials not aborted
        SelectAborted = 6    // aborted trials only
    };
    enum CourseFilter { AnyCourse = 0, TestOrLevelUp = 4 }; // 1..3: that course

    // What to analyse; all zero means every trial of the task.
    struct Conditions {
        int userCode = 0;
        int problemCode = 0;
        int endTimeFilter = 0; // 0 any, else the end_time code a row must have
        int timeBucket = 0;    // 0 whole trial, 1..4 the quarter hours of elapsed time
        // The history rows to analyse (AutoNumber), and the trial numbers to
        // give them at the same index; none means every row that passes.
        std::optional<CArrRirekiNum> selection;
        CArrRirekiNum selectionNumbers;
        bool testLevelUpOnly = false; // leave out aborted trials and course 2
        int selectionType = SelectAll;
        int courseFilter = AnyCourse;
        // Trials without an end have no result to show; only closing them
        // (after the task program was killed) analyses what they hold.
        bool includeUnfinished = false;
    };

    CArrKaisekiMain();
    ~CArrKaisekiMain();
    CArrKaisekiMain(const CArrKaisekiMain&) = delete;
    CArrKaisekiMain& operator=(const CArrKaisekiMain&) = delete;

    // Runs the analysis. 1 done; 0 when a database failed or the master data
    // cannot be loaded (the reason has been shown through the notifier; the
    // trials analysed so far are kept).
    int Run(CDB& userDb, CDB& masterDb, const Conditions& conditions);
    void Clear();

    const Conditions& GetConditions() const { return m_conditions; }
    int GetSize() const { return static_cast<int>(m_trials.size()); }
    CArrKaisekiMain_ShikouKai* GetAt(int index) const { return m_trials.at(index).get(); }
    const std::vector<std::unique_ptr<CArrKaisekiMain_ShikouKai>>& Trials() const { return m_trials; }

    // The deck a trial is judged against: course "2" deck 2, else deck 1.
    // Null before a run.
    CArrBase* DeckOf(const CArrKaisekiMain_ShikouKai& trial) const;
    // Restores the deck of the trial with that trial number from its
    // input-value file: 1 restored, 0 not (no such trial or file).
    int RestoreDeck(int trialNo);

    // Character class 1..6 of the first character of text; 6 for empty text.
    static int CharClass(const QString& text);
    // Class of one character by its code page 932 code (double-byte as lead
    // byte * 256 + trail byte).
    static int CharClassOfCode(unsigned code);

private:
    bool passes(const CRsHistory_tbl& row) const;
    // Lists the rows that pass as trials, each with its input file found.
    void listTrials(CDB& userDb);
    std::unique_ptr<CArrKaisekiMain_ShikouKai> newTrial(const CRsHistory_tbl& row, int trialNo);
    void judgeTrials();
    // The counts of the whole trial and the rates from them.
    static void computeTotals(CArrKaisekiMain_ShikouKai& trial);
    QString findInputFile(const QDateTime& executionDate, int problemCode, QString& message);
    void judgeFile(CArrKaisekiMain_ShikouKai& trial, const CTCLoadCSVFile& file);
    struct CardIndex; // card number → deck index
    // True when the card line has no wrong character. The deck is the trial's
    // (see DeckOf), cards its index.
    bool judgeCard(CArrKaisekiMain_ShikouKai& trial, CArrBase& deck, const CardIndex& cards,
                   const CTCLoadCSVFile::RowView& fields, int cardNo, int judgedCard);

    Conditions m_conditions;
    std::unique_ptr<CArrBase> m_deck1, m_deck2;
    std::vector<std::unique_ptr<CArrKaisekiMain_ShikouKai>> m_trials;
    std::unique_ptr<CKCCompareText> m_compare;
    std::vector<CArrKaisekiMain_Moji> m_wrong; // the wrong characters of the trial being judged

    // File names of the user's analysis folder, listed once per run, sorted.
    bool m_folderListed = false;
    bool m_folderExists = false;
    QString m_userFolder;
    QStringList m_folderFiles;
    // Card number → deck index of deck 1 and deck 2.
    std::unique_ptr<CardIndex> m_index1, m_index2;
};
