#pragma once
// Trials for the tests of the trial history and the result output screens:
// history rows of user 1 with input-value files written as the task program
// writes them, from the cards of the built master data file.
#include "AppSub.h"
#include "ArrDenpyo.h"
#include "Codec.h"
#include "TextUtil.h"
#include "UtilityFixture.h"

#include <QFile>

namespace utility {

struct TrialRow {
    int id;
    int task = 2;
    int course = 1;
    int endTime = 2;
    int cards = 5;
    QList<int> wrong = {}; // 0-based positions of the cards worked with one wrong item
    bool withFile = true;  // write the input-value file
    bool aborted = false;
    bool unfinished = false; // still as the task program created it: the file holds the cards so far
    QDateTime started = {};  // TrialStart(id) when not given
};

inline QDateTime TrialStart(int id) { return naiveDateTime(QDate(2026, 5, 1), QTime(9, 0)).addSecs(3600 * id); }
inline QDateTime TrialStart(const TrialRow& t) { return t.started.isValid() ? t.started : TrialStart(t.id); }

inline QString TrialInputFile(const TrialRow& t) {
    return AppSub::UserFolder(1, true) + '/' +
           AppSub::CsvFileName(AppSub::CsvKind::InputValues, t.task, TrialStart(t), QStringLiteral("山田"),
                               QStringLiteral("太郎"));
}

// What was typed (or marked, task 3) for an item: right, or one character wrong.
inline QString TypedValue(int task, const CArrBaseInfo& card, int item, bool wrong) {
    const QString& correct = card.correct[item];
    if (task != 3)
        return wrong ? correct + QStringLiteral("X") : correct;
    const QStringList right = cp932::characters(correct);
    const QStringList printed = cp932::characters(card.erroneous[item]);
    QString marks;
    for (int p = 0; p < std::max(right.size(), printed.size()); ++p)
        marks += (p < right.size() && p < printed.size() && right[p] == printed[p]) != wrong ? u'N' : u'C';
    return marks;
}

// A trial of user 1: the history row and, unless left out, the input-value
// file with cards 1, 2, ... of the course's deck, one a minute, typed right
// except for the first item of the wrong ones.
inline void AddTrial(CDB& userDb, CDB& masterDb, const TrialRow& t) {
    AddTestHistory(userDb, t.id, [&](CRsHistory_tbl& r) {
        r.m_problem_code = QString::number(t.task);
        r.m_course_code = QString::number(t.course);
        r.m_end_time = QString::number(t.endTime);
        r.m_end_flg = t.aborted ? QStringLiteral("1") : QString();
        r.m_execution_date = TrialStart(t);
        r.m_answer_number = t.cards;
        r.m_correct_number = t.cards - int(t.wrong.size());
        r.m_correct_rate = r.m_correct_rate60 = 100.0 * r.m_correct_number / t.cards;
        r.m_answer_number60 = t.cards * 2.0;
        if (t.unfinished) {
            r.m_answer_time.clear();
            r.m_answer_number = r.m_correct_number = 0;
            r.m_correct_rate = r.m_correct_rate60 = r.m_answer_number60 = 0;
        }
    });
    if (!t.withFile)
        return;
    std::unique_ptr<CArrBase> deck = MakeDeckForTask(t.task);
    deck->Load(masterDb, t.course);
    QString text = QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,項目\r\n");
    for (int n = 0; n < t.cards; ++n) {
        const CArrBaseInfo& card = deck->at(n);
        QStringList fields{QStringLiteral("09:00:00"), QStringLiteral("09:01:00"), QStringLiteral("%1分0秒").arg(n + 1),
                           QString(), QString::asprintf("%04d", card.number)};
        for (int i = 0; i < deck->ItemCount(); ++i)
            fields << TextUtil::CsvField(TypedValue(t.task, card, i, i == 0 && t.wrong.contains(n)));
        if (t.course == 2)
            fields << QString::number(n % 3);
        text += fields.join(',') + QStringLiteral("\r\n");
    }
    QFile f(TrialInputFile(t));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(cp932::encode(text));
}

class ResultOutputTest : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        addUser(1, QStringLiteral("ヤマダ"), QStringLiteral("タロウ"), QStringLiteral("山田"), QStringLiteral("太郎"));
    }
    void addTrial(const TrialRow& t) { AddTrial(app->UserDb(), app->MasterDb(), t); }
    static QString inputFile(const TrialRow& t) { return TrialInputFile(t); }
};

} // namespace utility
