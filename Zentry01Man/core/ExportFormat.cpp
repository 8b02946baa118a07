#include "ExportFormat.h"

#include "Codec.h"
#include "DB.h"
#include "DateUtil.h"
#include "Recordsets.h"
#include "TCLoadCSVFile.h"
#include "TextUtil.h"

#include <QHash>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ExportFormat {
namespace {

using H = CRsHistory_tbl;

// One column of History_tbl and how its value is written and read back.
struct Column {
    const char* name;
    qint32 H::*integer = nullptr;
    double H::*real = nullptr;
    QDateTime H::*date = nullptr;
    QString H::*text = nullptr;
};
Column I(const char* n, qint32 H::*m) { return {n, m, nullptr, nullptr, nullptr}; }
Column R(const char* n, double H::*m) { return {n, nullptr, m, nullptr, nullptr}; }
Column D(const char* n, QDateTime H::*m) { return {n, nullptr, nullptr, m, nullptr}; }
Column T(const char* n, QString H::*m) { return {n, nullptr, nullptr, nullptr, m}; }

const std::array<Column, 36>& columns() {
    static const std::array<Column, 36> table{
        I("AutoNumber", &H::m_AutoNumber),
        I("user_code", &H::m_user_code),
        T("problem_code", &H::m_problem_code),
        D("execution_date", &H::m_execution_date),
        T("order_flg", &H::m_order_flg),
        T("end_time", &H::m_end_time),
        T("display_flg", &H::m_display_flg),
        T("display_position", &H::m_display_position),
        T("progress_flg", &H::m_progress_flg),
        T("timer_flg", &H::m_timer_flg),
        T("remainder_flg", &H::m_remainder_flg),
        T("graph_flg", &H::m_graph_flg),
        T("zip_flg", &H::m_zip_flg),
        T("sound_flg", &H::m_sound_flg),
        T("course_code", &H::m_course_code),
        I("answer_number", &H::m_answer_number),
        I("answer_koumoku", &H::m_answer_koumoku),
        I("correct_number", &H::m_correct_number),
        I("correct_koumoku", &H::m_correct_koumoku),
        R("correct_rate", &H::m_correct_rate),
        R("correct_rate_koumoku", &H::m_correct_rate_koumoku),
        R("answer_number60", &H::m_answer_number60),
        R("answer_koumoku60", &H::m_answer_koumoku60),
        R("correct_number60", &H::m_correct_number60),
        R("correct_koumoku60", &H::m_correct_koumoku60),
        R("correct_rate60", &H::m_correct_rate60),
        R("correct_rate_koumoku60", &H::m_correct_rate_koumoku60),
        I("target_value", &H::m_target_value),
        I("target_value2", &H::m_target_value2),
        T("result_code", &H::m_result_code),
        T("color_code", &H::m_color_code),
        T("end_flg", &H::m_end_flg),
        T("answer_time", &H::m_answer_time),
        D("first_update", &H::m_first_update),
        D("last_update", &H::m_last_update),
        I("delete_flg", &H::m_delete_flg),
    };
    return table;
}

enum { kAutoNumber = 0, kUserCode = 1, kCorrectRate = 19, kCorrectRateKoumoku = 20, kCorrectRate60 = 25,
       kCorrectRateKoumoku60 = 26, kLastUpdate = 34, kDeleteFlg = 35 };

bool isRate(int column) {
    return column == kCorrectRate || column == kCorrectRateKoumoku || column == kCorrectRate60 ||
           column == kCorrectRateKoumoku60;
}

QString written(const H& rs, const Column& c) {
    if (c.integer)
        return QString::number(rs.*c.integer);
    if (c.real)
        return QString::asprintf("%f", rs.*c.real);
    if (c.date)
        return DateUtil::DateTimeText(rs.*c.date);
    return rs.*c.text;
}

// The leading decimal number of a text, as a C program reads it: blanks, a
// sign, digits; anything after them is ignored and no digits give 0.
qint32 leadingInt(const QString& text) {
    const QByteArray s = text.trimmed().toLatin1();
    const long long v = std::strtoll(s.constData(), nullptr, 10);
    return static_cast<qint32>(std::clamp<long long>(v, std::numeric_limits<qint32>::min(),
                                                     std::numeric_limits<qint32>::max()));
}

// The decimal number at the start of text, read alike whatever the machine's
// locale; 0 when there is none or it is not finite ("inf" or "nan" in an
// edited file would reach every list and graph).
double leadingDouble(const QString& text) {
    const QByteArray s = text.trimmed().toLatin1();
    const char* begin = s.constData() + (s.startsWith('+') ? 1 : 0);
    double v = 0;
    const std::from_chars_result read = std::from_chars(begin, s.constData() + s.size(), v);
    return read.ec == std::errc() && std::isfinite(v) ? v : 0;
}

std::optional<int> positiveNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v > 0 ? std::optional<int>(v) : std::nullopt;
}

QByteArray line(const QString& text) { return cp932::encode(text) + "\r\n"; }

} // namespace

const QStringList kHistoryColumns = [] {
    QStringList names;
    for (const Column& c : columns())
        names << QString::fromLatin1(c.name);
    return names;
}();

QByteArray UserDataUkv(CDB& userDb) {
    static const QStringList captions{
        QStringLiteral("ユーザーコード"),         QStringLiteral("ユーザー姓（カナ）"),
        QStringLiteral("ユーザー名(カナ）"),      QStringLiteral("ユーザー姓(漢字）"),
        QStringLiteral("ユーザー名(漢字）"),      QStringLiteral("アンケート入力次回開始No"),
        QStringLiteral("顧客伝票修正次回開始No"), QStringLiteral("ミスチェック次回開始No")};
    const QChar tab(u'\t');
    QByteArray out = line(captions.join(tab) + tab);
    CRsUser_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [User_tbl] where [delete_flg] <> 1 "));
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const QStringList fields{TextUtil::CodeToText(rs.m_user_code, true),
                                 rs.m_user_kname1,
                                 rs.m_user_kname2,
                                 rs.m_user_name1,
                                 rs.m_user_name2,
                                 QString::number(rs.m_start_no1),
                                 QString::number(rs.m_start_no2),
                                 QString::number(rs.m_start_no3)};
        out += line(fields.join(tab) + tab);
    }
    return out;
}

QByteArray HistoryTsv(CDB& userDb) {
    const QChar tab(u'\t');
    QByteArray out = line(kHistoryColumns.join(tab));
    CRsHistory_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenSnapshot,
            QStringLiteral("select * from [History_tbl] where [delete_flg] <> 1 order by [execution_date], [AutoNumber]"));
    QStringList fields;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        fields.clear();
        for (const Column& c : columns())
            fields << written(rs, c);
        out += line(fields.join(tab));
    }
    return out;
}

QString LineProblem(const QByteArray& bytes) {
    qsizetype start = 0;
    int line = 1;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        if (i - start > kMaxLineBytes)
            return QStringLiteral("%1 行目が %2 バイトを超えています。").arg(line).arg(kMaxLineBytes);
        if (i < bytes.size() && bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return QStringLiteral("%1 行目の行末が CR だけです（行末は CR LF です）。").arg(line);
        if (i < bytes.size() && bytes[i] == '\r')
            ++i;
        start = i + 1;
        ++line;
    }
    return {};
}

namespace {
template <typename T> std::optional<T> refuse(QString* why, const QString& text) {
    if (why)
        *why = text;
    return std::nullopt;
}
} // namespace

std::optional<QVector<UkvUser>> ParseUserDataUkv(const QByteArray& bytes, QString* why) {
    using Users = QVector<UkvUser>;
    if (const QString problem = LineProblem(bytes); !problem.isEmpty())
        return refuse<Users>(why, problem);
    CTCLoadCSVFile file;
    file.LoadBytes(bytes);
    const QString tab = QStringLiteral("\t");
    if (file.GetRowCount() < 1 || file.GetField(1, 1, tab) != QStringLiteral("ユーザーコード"))
        return refuse<Users>(why, QStringLiteral("見出しの行がありません。"));
    if (file.GetRowCount() - 1 > kMaxUsers)
        return refuse<Users>(why, QStringLiteral("ユーザーが %1 人を超えています。").arg(kMaxUsers));
    QVector<UkvUser> users;
    QHash<int, int> rowOfCode;
    for (int row = 2; row <= file.GetRowCount(); ++row) {
        const QStringList f = file.GetFields(row, tab);
        UkvUser u;
        const std::optional<int> code = positiveNumber(f.value(0));
        u.kname1 = f.value(1);
        u.kname2 = f.value(2);
        u.name1 = f.value(3);
        u.name2 = f.value(4);
        const QString where = QStringLiteral("%1 人目（ユーザーコード「%2」）").arg(row - 1).arg(f.value(0));
        if (!code)
            return refuse<Users>(why, where + QStringLiteral("のユーザーコードが正の数ではありません。"));
        if (u.name1.isEmpty() || u.name2.isEmpty())
            return refuse<Users>(why, where + QStringLiteral("の姓または名（漢字）が空です。"));
        // A TAB or a double quote inside a name (a quoted field of an edited
        // file) could not be exported again as one field: not a file of ours.
        for (const QString* part : {&u.kname1, &u.kname2, &u.name1, &u.name2}) {
            if (part->contains(u'\t') || part->contains(u'"'))
                return refuse<Users>(why, where + QStringLiteral("の氏名に TAB または \" が含まれています。"));
            if (part->size() > kMaxNameChars)
                return refuse<Users>(why, where + QStringLiteral("の氏名が %1 文字を超えています。").arg(kMaxNameChars));
        }
        if (rowOfCode.contains(*code))
            return refuse<Users>(why, where + QStringLiteral("は %1 人目と同じユーザーコードです。").arg(rowOfCode[*code]));
        rowOfCode.insert(*code, row - 1);
        u.code = *code;
        for (int i = 0; i < 3; ++i)
            u.startNo[i] = f.value(5 + i).trimmed().toInt();
        users.push_back(u);
    }
    return users;
}

int HistoryFile::Column(const QString& name) const {
    for (int i = 0; i < header.size(); ++i)
        if (header.at(i).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int HistoryFile::UserCode(const QStringList& row) const {
    const int field = fieldOf.value(kUserCode, -1);
    return field < 0 ? 0 : leadingInt(row.value(field));
}

namespace {
// Why a value cannot be a trial's value of column c, or empty.
QString valueProblem(int column, const QString& value) {
    const Column& c = columns()[column];
    const QString v = value.trimmed();
    if (column == kAutoNumber || column == kUserCode || v.isEmpty())
        return {};
    if (c.integer) {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (!ok)
            return QStringLiteral("整数ではありません");
        if (column == kDeleteFlg ? n != 0 && n != 1 : n < 0)
            return column == kDeleteFlg ? QStringLiteral("0 か 1 ではありません") : QStringLiteral("負の数です");
    } else if (c.real) {
        bool ok = false;
        const double n = v.toDouble(&ok);
        if (!ok || !std::isfinite(n))
            return QStringLiteral("数ではありません");
        if (n < 0 || (isRate(column) && n > 100))
            return isRate(column) ? QStringLiteral("0 から 100 の間ではありません") : QStringLiteral("負の数です");
    } else if (c.date && !dateFromDb(QVariant(v)).isValid()) {
        return QStringLiteral("日時ではありません");
    }
    return {};
}
} // namespace

std::optional<HistoryFile> ParseHistoryTsv(const QByteArray& bytes, QString* why) {
    if (const QString problem = LineProblem(bytes); !problem.isEmpty())
        return refuse<HistoryFile>(why, problem);
    CTCLoadCSVFile file;
    file.LoadBytes(bytes);
    const QString tab = QStringLiteral("\t");
    HistoryFile out;
    out.header = file.GetFields(1, tab);
    for (int row = 2; row <= file.GetRowCount(); ++row)
        out.rows.push_back(file.GetFields(row, tab));
    for (const QString& name : kHistoryColumns)
        out.fieldOf << out.Column(name);
    if (!out.rows.isEmpty() && out.fieldOf[kUserCode] < 0)
        return refuse<HistoryFile>(why, QStringLiteral("列 user_code が見つかりません。"));
    for (int row = 0; row < out.rows.size(); ++row) {
        const QStringList& fields = out.rows.at(row);
        const QString where = QStringLiteral("%1 件目の試行").arg(row + 1);
        if (!positiveNumber(fields.value(out.fieldOf[kUserCode])))
            return refuse<HistoryFile>(why, where + QStringLiteral("の user_code「%1」が正の数ではありません。")
                                                         .arg(fields.value(out.fieldOf[kUserCode])));
        for (int column = 0; column < out.fieldOf.size(); ++column) {
            const int field = out.fieldOf.at(column);
            if (field < 0)
                continue;
            if (const QString problem = valueProblem(column, fields.value(field)); !problem.isEmpty())
                return refuse<HistoryFile>(why, where + QStringLiteral("の %1「%2」は%3。")
                                                             .arg(kHistoryColumns.at(column), fields.value(field), problem));
        }
    }
    return out;
}

void FillHistoryRow(const HistoryFile& file, const QStringList& row, CRsHistory_tbl& rs) {
    for (int i = 0; i < 36; ++i) {
        if (i == kAutoNumber || i == kUserCode || i == kLastUpdate)
            continue;
        const Column& c = columns()[i];
        const int field = file.fieldOf.value(i, -1);
        const QString value = field >= 0 ? row.value(field) : QString();
        if (c.integer)
            rs.*c.integer = leadingInt(value);
        else if (c.real)
            rs.*c.real = leadingDouble(value);
        else if (c.date)
            rs.*c.date = dateFromDb(value.isEmpty() ? QVariant() : QVariant(value));
        else
            rs.*c.text = value;
    }
}

} // namespace ExportFormat
