#include "HistoryList.h"

#include "AppSub.h"
#include "Clock.h"
#include "DB.h"
#include "ICException.h"
#include "Labels.h"
#include "Notifier.h"
#include "Recordsets.h"
#include "TextUtil.h"
#include "TrialState.h"

#include <QDir>

namespace {
struct ColumnInfo {
    const char* caption;
    const char* sample;
    Qt::Alignment alignment;
};

const ColumnInfo kColumnInfo[CHistoryList::kColumns] = {
    {"試行回", "9999回目", Qt::AlignLeft},
    {"実施日", "9999/99/99 99:99:99", Qt::AlignLeft},
    {"コース", "レベル", Qt::AlignLeft},
    {"試行実時間", "60分換算値", Qt::AlignLeft},
    {"作業量", "9999枚", Qt::AlignRight},
    {"正しい枚数", "9999枚", Qt::AlignRight},
    {"正解率", "100.0%", Qt::AlignRight},
    {"目標作業枚数", "9999枚", Qt::AlignRight},
    {"目標正しい枚数", "9999枚", Qt::AlignRight},
    {"結果呈示", "図形（○×）", Qt::AlignLeft},
    {"選択色", "オレンジ", Qt::AlignLeft},
    {"課題媒体", "画面右", Qt::AlignLeft},
    {"呈示方法", "シャッフル", Qt::AlignLeft},
    {"進捗呈示", "○", Qt::AlignHCenter},
    {"タイマー", "○", Qt::AlignHCenter},
    {"残り時間", "○", Qt::AlignHCenter},
    {"グラフ", "○", Qt::AlignHCenter},
    {"〒", "○■", Qt::AlignHCenter},
    {"切替音", "○", Qt::AlignHCenter},
};

QString mark(const QString& flag) { return flag.toInt() == 1 ? QStringLiteral("○") : QStringLiteral("×"); }

QString count(int n) { return QString::asprintf("%d", n) + QStringLiteral("枚"); }

// The trial's two files as the analysis finds them: by start time, kind and
// task, whatever user names follow (the user may have been renamed since).
QStringList trialFiles(int userCode, int task, const QDateTime& start) {
    const QString folder = AppSub::UserFolder(userCode, false);
    QStringList out;
    for (AppSub::CsvKind kind : {AppSub::CsvKind::InputValues, AppSub::CsvKind::AnalysisResult}) {
        QString prefix = AppSub::CsvFileName(kind, task, start, QString(), QString());
        prefix.chop(QStringLiteral("__.csv").size());
        for (const QString& name : QDir(folder).entryList({prefix + QStringLiteral("_*.csv")}, QDir::Files))
            out << folder + '/' + name;
    }
    return out;
}
} // namespace

const QStringList& CHistoryList::Captions() {
    static const QStringList captions = [] {
        QStringList c;
        for (const ColumnInfo& info : kColumnInfo)
            c << QString::fromUtf8(info.caption);
        return c;
    }();
    return captions;
}

Qt::Alignment CHistoryList::Alignment(int column) { return kColumnInfo[column].alignment; }

QString CHistoryList::SampleText(int column) { return QString::fromUtf8(kColumnInfo[column].sample); }

QString CHistoryList::DateText(const QDateTime& date) {
    if (!date.isValid())
        return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", -1, -1, -1, -1, -1, -1);
    const QDate d = date.date();
    const QTime t = date.time();
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

bool CHistoryList::Load(CDB& userDb, int userCode, const HistoryFilter& filter, bool taskProgramRunning) {
    m_rows.clear();
    try {
        CRsHistory_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                QStringLiteral("select * from [History_tbl] where [user_code] = %d and [delete_flg] <> 1 order by "
                               "[execution_date], [AutoNumber]"),
                {userCode}, CRecordset::readOnly);
        m_extremes.Compute(rs, filter);
        m_rows.reserve(rs.GetRecordCount());
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            if (!keeps(rs, filter))
                continue;
            const int position = int(m_rows.size()) + 1;
            if (TrialState::IsUnfinished(rs))
                m_rows.push_back({rs.m_AutoNumber, unfinishedCells(rs, filter, position, taskProgramRunning), true});
            else
                m_rows.push_back({rs.m_AutoNumber, cells(rs, filter, position), false});
        }
    } catch (const CDBException& e) {
        m_extremes.SetAllZero();
        notifyError(e.text());
        return false;
    }
    return true;
}

bool CHistoryList::keeps(const CRsHistory_tbl& row, const HistoryFilter& filter) const {
    const int course = row.m_course_code.toInt();
    if (row.m_problem_code.toInt() != filter.task)
        return false;
    if (filter.courseGroup == 1 ? course != 1 && course != 3 : course != 2)
        return false;
    if (!filter.passesTrialTime(row))
        return false;
    const int displayData = filter.effectiveDisplayData();
    // A trial without an end reaches no best value, even a best of 0.
    if (displayData != HistoryFilter::AllTrials && TrialState::IsUnfinished(row))
        return false;
    switch (displayData) {
    case HistoryFilter::BestWorkCount:
        return course == 1 && filter.workCount(row) == m_extremes.m_maxAnswerNumber;
    case HistoryFilter::BestCorrectRate:
        // The highest rate is kept to one decimal, so the trial's rate is compared
        // the same way: 66.666... reaches a best of 66.7.
        return course == 1 && TextUtil::OneDecimal(filter.correctRate(row)) == m_extremes.m_maxCorrectRate;
    default:
        return true;
    }
}

QStringList CHistoryList::cells(const CRsHistory_tbl& row, const HistoryFilter& filter, int position) {
    const int course = row.m_course_code.toInt();
    const bool aborted = row.m_end_flg.toInt() == 1;
    const bool levelUp = course == 3;
    QString medium = Labels::Display(row.m_display_flg.toInt());
    if (row.m_display_flg.toInt() == 1) {
        const int side = row.m_display_position.toInt();
        medium += side == 1 ? QStringLiteral("左") : side == 2 ? QStringLiteral("右") : QString();
    }
    return {
        QString::asprintf("%d", position) + QStringLiteral("回目"),
        DateText(row.m_execution_date),
        Labels::CourseShort(course),
        aborted ? row.m_answer_time : Labels::EndTime(row.m_end_time.toInt()),
        count(filter.workCount(row)),
        count(filter.correctCount(row)),
        QString::asprintf("%4.1f%%", TextUtil::OneDecimal(filter.correctRate(row))),
        levelUp ? count(row.m_target_value) : QString(),
        levelUp ? count(row.m_target_value2) : QString(),
        Labels::ResultMethod(row.m_result_code.toInt()),
        Labels::Colour(row.m_color_code.toInt()),
        medium,
        Labels::Order(row.m_order_flg.toInt()),
        mark(row.m_progress_flg),
        mark(row.m_timer_flg),
        mark(row.m_remainder_flg),
        mark(row.m_graph_flg),
        mark(row.m_zip_flg),
        mark(row.m_sound_flg),
    };
}

QStringList CHistoryList::unfinishedCells(const CRsHistory_tbl& row, const HistoryFilter& filter, int position,
                                          bool taskProgramRunning) {
    // The conditions are known from the start; the result columns stay empty
    // rather than show zeros that read as a finished trial with no card done.
    QStringList c = cells(row, filter, position);
    c[TrialTime] = TrialState::UnfinishedLabel(taskProgramRunning);
    for (int column : {WorkCount, CorrectCount, CorrectRate})
        c[column].clear();
    return c;
}

bool CHistoryList::Delete(CDB& userDb, qint32 autoNumber) {
    int userCode = 0;
    int task = 0;
    QDateTime start;
    try {
        CRsHistory_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenDynaset,
                QStringLiteral("select * from [History_tbl] where [AutoNumber] = %d and [delete_flg] <> 1 "),
                {autoNumber});
        if (rs.IsEOF() || !rs.CanUpdate()) {
            notifyMessage(DbMessages::notUpdatable(rs.tableNameBracketed()), MsgIcon::Exclamation);
            return false;
        }
        userCode = rs.m_user_code;
        task = rs.m_problem_code.toInt();
        start = rs.m_execution_date;
        userDb.BeginTrans();
        try {
            rs.Edit();
            rs.m_delete_flg = 1;
            rs.m_last_update = appClock().now();
            rs.Update();
            userDb.CommitTrans();
        } catch (...) {
            userDb.Rollback();
            throw;
        }
    } catch (const CDBException& e) {
        notifyError(e.text());
        return false;
    }
    // The row is what counts: files already gone, or that cannot be removed, do not undo it.
    if (start.isValid())
        for (const QString& path : trialFiles(userCode, task, start))
            AppSub::DeleteFileQuietly(path);
    return true;
}
