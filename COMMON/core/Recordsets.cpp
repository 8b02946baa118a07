#include "Recordsets.h"

void CRsUser_tbl::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("user_code", m_user_code);
    fx.Text("user_kname1", m_user_kname1);
    fx.Text("user_kname2", m_user_kname2);
    fx.Text("user_name1", m_user_name1);
    fx.Text("user_name2", m_user_name2);
    fx.Long("start_no1", m_start_no1);
    fx.Long("start_no2", m_start_no2);
    fx.Long("start_no3", m_start_no3);
    fx.Date("first_update", m_first_update);
    fx.Date("last_update", m_last_update);
    fx.Long("delete_flg", m_delete_flg);
}

void CRsHistory_tbl::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("AutoNumber", m_AutoNumber);
    fx.Long("user_code", m_user_code);
    fx.Text("problem_code", m_problem_code);
    fx.Date("execution_date", m_execution_date);
    fx.Text("order_flg", m_order_flg);
    fx.Text("end_time", m_end_time);
    fx.Text("display_flg", m_display_flg);
    fx.Text("display_position", m_display_position);
    fx.Text("progress_flg", m_progress_flg);
    fx.Text("timer_flg", m_timer_flg);
    fx.Text("remainder_flg", m_remainder_flg);
    fx.Text("graph_flg", m_graph_flg);
    fx.Text("zip_flg", m_zip_flg);
    fx.Text("sound_flg", m_sound_flg);
    fx.Text("course_code", m_course_code);
    fx.Long("answer_number", m_answer_number);
    fx.Long("answer_koumoku", m_answer_koumoku);
    fx.Long("correct_number", m_correct_number);
    fx.Long("correct_koumoku", m_correct_koumoku);
    fx.Double("correct_rate", m_correct_rate);
    fx.Double("correct_rate_koumoku", m_correct_rate_koumoku);
    fx.Double("answer_number60", m_answer_number60);
    fx.Double("answer_koumoku60", m_answer_koumoku60);
    fx.Double("correct_number60", m_correct_number60);
    fx.Double("correct_koumoku60", m_correct_koumoku60);
    fx.Double("correct_rate60", m_correct_rate60);
    fx.Double("correct_rate_koumoku60", m_correct_rate_koumoku60);
    fx.Long("target_value", m_target_value);
    fx.Long("target_value2", m_target_value2);
    fx.Text("result_code", m_result_code);
    fx.Text("color_code", m_color_code);
    fx.Text("end_flg", m_end_flg);
    fx.Text("answer_time", m_answer_time);
    fx.Date("first_update", m_first_update);
    fx.Date("last_update", m_last_update);
    fx.Long("delete_flg", m_delete_flg);
}

namespace {
const char* const kCols[] = {"Col02", "Col03", "Col04", "Col05", "Col06", "Col07", "Col08", "Col09", "Col10"};
const char* const kFlags[] = {"Flag10", "Flag11", "Flag12", "Flag13", "Flag14", "Flag15"};
} // namespace

void CRsMst01::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("Col01", m_Col01);
    for (int i = 0; i < 9; ++i)
        fx.Text(kCols[i], m_Col[i]);
    fx.Long("JogaiFlag", m_JogaiFlag);
}

void CRsMst02::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("Col01", m_Col01);
    for (int i = 0; i < 4; ++i)
        fx.Text(kCols[i], m_Col[i]);
    fx.Long("JogaiFlag", m_JogaiFlag);
}

void CRsKEN_ALL::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("ID", m_ID);
    fx.Text("DantaiCode", m_DantaiCode);
    fx.Text("ZipCode5", m_ZipCode5);
    fx.Text("ZipCode7", m_ZipCode7);
    fx.Text("TodofukenKana", m_TodofukenKana);
    fx.Text("City1Kana", m_City1Kana);
    fx.Text("City2Kana", m_City2Kana);
    fx.Text("TodofukenKanji", m_TodofukenKanji);
    fx.Text("City1Kanji", m_City1Kanji);
    fx.Text("City2Kanji", m_City2Kanji);
    for (int i = 0; i < 6; ++i)
        fx.Short(kFlags[i], m_Flag[i]);
}

void CRsKEN_ALL_Version::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("ID", m_ID);
    fx.Date("Version", m_Version);
}
