#pragma once
// The analysis-result file of one trial: a summary written next to the trial's
// input-value file when the trial ends (score, targets, conditions, and which
// items and character classes each card got wrong). No program reads it back.
#include "ArrKaisekiMain.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

class CArrBase;
class CDB;

class CKaisekiFile {
public:
    // The trial's conditions the file reports; the fields carry the names of
    // the execution environment's fields, so Of() copies them from it.
    struct TrialConditions {
        int course_code = 0;
        int end_time = 0;
        int display_flg = 0;
        int order_flg = 0;
        int progress_flg = 0;
        int timer_flg = 0;
        int zip_flg = 0;
        int sound_flg = 0;
        int target_value = 0;
        int target_value2 = 0;
        int final_feedback_flg = 0;
        int result_code = 0;
        int color_code = 0;

        template <class Env> static TrialConditions Of(const Env& env) {
            return {
                env.course_code,        env.end_time,    env.display_flg, env.order_flg,    env.progress_flg,
                env.timer_flg,          env.zip_flg,     env.sound_flg,   env.target_value, env.target_value2,
                env.final_feedback_flg, env.result_code, env.color_code};
        }
    };

    CKaisekiFile();
    ~CKaisekiFile(); // closes
    CKaisekiFile(const CKaisekiFile&) = delete;
    CKaisekiFile& operator=(const CKaisekiFile&) = delete;

    // Closes a file still open, then creates (truncates) the trial's file in the
    // user's analysis folder, named after the opening time. Throws CICException
    // with a message naming the path when the file cannot be created.
    void Open(CDB& userDb, CDB& masterDb, const TrialConditions& conditions, int problemCode,
              const QDateTime& openedAt, int userCode);

    bool IsOpen() const { return m_file != nullptr; }
    QString Path() const { return m_path; }

    // Runs the analysis of the finished trial (history row historyId) and writes
    // the whole file, times and elapsed times taken from the live deck. Returns
    // 1 when the analysis found the trial, 0 when not (then the file shows zero
    // counts). Without an open file only the analysis runs. Throws CICException
    // naming the path when writing fails.
    int WriteResult(const CArrBase& liveDeck, int historyId);
    void Close();

    // The finished trial as analysed by WriteResult, or nullptr.
    const CArrKaisekiMain_ShikouKai* FirstResult() const;
    const CArrKaisekiMain& Analysis() const { return m_analysis; }

    // The file's lines (each without its line end) for a trial, as WriteResult
    // writes them.
    static QStringList ResultLines(int problemCode, const TrialConditions& conditions,
                                   const CArrKaisekiMain_ShikouKai& trial, const CArrBase& liveDeck);

private:
    void writeLine(const QString& line);

    CDB* m_userDb = nullptr;
    CDB* m_masterDb = nullptr;
    TrialConditions m_conditions;
    int m_problemCode = 0;
    int m_userCode = 0;
    std::unique_ptr<QFile> m_file;
    QString m_path;
    CArrKaisekiMain m_analysis;
};
