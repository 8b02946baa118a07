#include "SampleData.h"

namespace SampleData {

std::unique_ptr<CArrDenpyo> Vouchers() {
    auto deck = std::make_unique<CArrDenpyo>();
    auto card = std::make_unique<CArrBaseInfo>();
    card->number = 12;
    card->correct = {"NS366544", "SQW-72490-21", "080-8562-6474", "morita.haruto@example.org"};
    card->erroneous = {"NS366S44", "SQW-72490-21", "080-8562-6174", "morita.haruta@example.org"};
    // The trainee found the first error, overlooked the last, and marked one
    // right character of the product code.
    card->input = {"NNNNNCNN", "NNNNCNNNNNNN", "NNNNNNNNNCNNN", "NNNNNNNNNNNNNNNNNNNNNNNNN"};
    deck->Append(std::move(card));
    return deck;
}

std::unique_ptr<CArrHagaki> Postcards() {
    auto deck = std::make_unique<CArrHagaki>();
    auto card = std::make_unique<CArrBaseInfo>();
    card->number = 7;
    card->correct = {"スズキ　レン",
                     "鈴木　蓮",
                     "368-0052",
                     "埼玉県秩父市近戸町５－１６－１２",
                     "080-1391-5254",
                     "suzuki.ren@example.or.jp",
                     "4",
                     "2",
                     "2"};
    card->input = {"スズキ　レソ",
                   "鈴木　蓮",
                   "368-0025",
                   "埼玉県秩父市近戸町５－１６－１２",
                   "080-1391-5254",
                   "suzuki.ren@exmaple.or.jp",
                   "3",
                   "2",
                   "両方ともON"};
    deck->Append(std::move(card));
    return deck;
}

std::vector<std::unique_ptr<CArrKaisekiMain_ShikouKai>> Trials(int count) {
    std::vector<std::unique_ptr<CArrKaisekiMain_ShikouKai>> trials;
    for (int i = 1; i <= count; ++i) {
        auto t = std::make_unique<CArrKaisekiMain_ShikouKai>();
        t->m_trialNo = i;
        t->m_AutoNumber = 100 + i;
        t->m_user_code = 1;
        t->m_problem_code = QStringLiteral("2");
        t->m_course_code = QString::number(i % 4 == 0 || i % 7 == 0 ? 3 : 1);
        t->m_end_time = QStringLiteral("2"); // 30 minutes: twice the counts in an hour
        // A learner who speeds up and grows more accurate, with ups and downs.
        const int work = 22 + i + (i * 7) % 9;
        const int correct = work - 2 - (i * 5) % 6;
        t->m_answer_number = work;
        t->m_correct_number = correct;
        t->m_answer_koumoku = work * 4;
        // Level-up trials are harder, so their item correct rate runs lower.
        const int ratePercent =
            t->m_course_code == QLatin1String("3") ? 78 + (i * 7) % 10 : 86 + (i * 13) % 12;
        t->m_correct_koumoku = work * 4 * ratePercent / 100;
        t->m_correct_rate = 100.0 * correct / work;
        t->m_correct_rate_koumoku = 100.0 * t->m_correct_koumoku / t->m_answer_koumoku;
        t->m_answer_number60 = 2.0 * work;
        t->m_correct_number60 = 2.0 * correct;
        t->m_answer_koumoku60 = 2.0 * t->m_answer_koumoku;
        t->m_correct_koumoku60 = 2.0 * t->m_correct_koumoku;
        t->m_correct_rate60 = t->m_correct_rate;
        t->m_correct_rate_koumoku60 = t->m_correct_rate_koumoku;
        t->m_graph_flg = t->m_course_code == QLatin1String("3") ? QStringLiteral("1") : QString();
        t->m_result_code = t->m_course_code == QLatin1String("3") ? QString::number(1 + i % 3) : QString();
        t->m_timer_flg = i % 2 ? QStringLiteral("1") : QString();
        t->m_remainder_flg = i % 5 == 0 ? QStringLiteral("1") : QString();
        trials.push_back(std::move(t));
    }
    return trials;
}

} // namespace SampleData
