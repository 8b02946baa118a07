#pragma once
// One recordset class per table layout, columns bound in table order.
#include "Recordset.h"

class CRsUser_tbl : public CRecordset {
public:
    using CRecordset::CRecordset;
    qint32 m_user_code = 0;
    QString m_user_kname1, m_user_kname2, m_user_name1, m_user_name2;
    qint32 m_start_no1 = 0, m_start_no2 = 0, m_start_no3 = 0;
    QDateTime m_first_update, m_last_update;
    qint32 m_delete_flg = 0;

protected:
    void DoFieldExchange(CFieldExchange& fx) override;
    QString keyColumn() const override { return QStringLiteral("user_code"); }
    QString defaultTable() const override { return QStringLiteral("User_tbl"); }
};

class CRsHistory_tbl : public CRecordset {
public:
    using CRecordset::CRecordset;
    qint32 m_AutoNumber = 0;
    qint32 m_user_code = 0;
    QString m_problem_code;
    QDateTime m_execution_date;
    QString m_order_flg, m_end_time, m_display_flg, m_display_position, m_progress_flg, m_timer_flg,
        m_remainder_flg, m_graph_flg, m_zip_flg, m_sound_flg, m_course_code;
    qint32 m_answer_number = 0, m_answer_koumoku = 0, m_correct_number = 0, m_correct_koumoku = 0;
    double m_correct_rate = 0, m_correct_rate_koumoku = 0;
    double m_answer_number60 = 0, m_answer_koumoku60 = 0, m_correct_number60 = 0, m_correct_koumoku60 = 0;
    double m_correct_rate60 = 0, m_correct_rate_koumoku60 = 0;
    qint32 m_target_value = 0, m_target_value2 = 0;
    QString m_result_code, m_color_code, m_end_flg, m_answer_time;
    QDateTime m_first_update, m_last_update;
    qint32 m_delete_flg = 0;

protected:
    void DoFieldExchange(CFieldExchange& fx) override;
    QString keyColumn() const override { return QStringLiteral("AutoNumber"); }
    QString defaultTable() const override { return QStringLiteral("History_tbl"); }
};

// Questionnaire cards: Mst01 and Mst03.
class CRsMst01 : public CRecordset {
public:
    using CRecordset::CRecordset;
    qint32 m_Col01 = 0;
    QString m_Col[9]; // Col02 .. Col10
    qint32 m_JogaiFlag = 0;

protected:
    void DoFieldExchange(CFieldExchange& fx) override;
    QString defaultTable() const override { return QStringLiteral("Mst01"); }
};

// Vouchers: Mst02, Mst04 and their error tables.
class CRsMst02 : public CRecordset {
public:
    using CRecordset::CRecordset;
    qint32 m_Col01 = 0;
    QString m_Col[4]; // Col02 .. Col05
    qint32 m_JogaiFlag = 0;

protected:
    void DoFieldExchange(CFieldExchange& fx) override;
    QString defaultTable() const override { return QStringLiteral("Mst02"); }
};

class CRsKEN_ALL : public CRecordset {
public:
    using CRecordset::CRecordset;
    qint32 m_ID = 0;
    QString m_DantaiCode, m_ZipCode5, m_ZipCode7, m_TodofukenKana, m_City1Kana, m_City2Kana, m_TodofukenKanji,
        m_City1Kanji, m_City2Kanji;
    qint16 m_Flag[6] = {}; // Flag10 .. Flag15

protected:
    void DoFieldExchange(CFieldExchange& fx) override;
    QString defaultTable() const override { return QStringLiteral("KEN_ALL"); }
};

class CRsKEN_ALL_Version : public CRecordset {
public:
    using CRecordset::CRecordset;
    qint32 m_ID = 0;
    QDateTime m_Version;

protected:
    void DoFieldExchange(CFieldExchange& fx) override;
    QString defaultTable() const override { return QStringLiteral("KEN_ALL_Version"); }
};
