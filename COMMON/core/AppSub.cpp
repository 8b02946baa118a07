#include "AppSub.h"

#include "ClassroomFiles.h"
#include "ClassroomSettings.h"
#include "Clock.h"
#include "Codec.h"

#include "DB.h"
#include "ICException.h"
#include "Notifier.h"
#include "PrivateProfile.h"
#include "ProgramFolder.h"
#include "Recordsets.h"
#include "SafeFileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <optional>

namespace AppSub {
namespace {
const QString kSettings = QStringLiteral("Settings");

QString ensureFolder(const QString& path, bool create) {
    if (create && !QFileInfo(path).isDir()) {
        errno = 0;
        if (!QDir().mkpath(path))
            IC_THROW(SystemErrorText(errno ? errno : EACCES));
    }
    return path;
}

QString suffix(CsvKind kind, int problemCode) {
    static const char* const input[] = {"_入力値_アンケート", "_入力値_顧客伝票", "_入力値_ミスチェック"};
    static const char* const result[] = {"_解析結果_アンケート", "_解析結果_顧客伝票", "_解析結果_ミスチェック"};
    if (problemCode < 1 || problemCode > 3)
        return {};
    return QString::fromUtf8((kind == CsvKind::InputValues ? input : result)[problemCode - 1]);
}

QString csvPath(CsvKind kind, CDB& userDb, int problemCode, const QDateTime& start, int userCode) {
    QString k1, k2, n1, n2;
    GetUserNames(userDb, userCode, k1, k2, n1, n2);
    return UserFolder(userCode, true) + '/' + CsvFileName(kind, problemCode, start, n1, n2);
}
} // namespace

QString ProfilePath() { return programFolder() + QStringLiteral("Quillon01.ini"); }

namespace {
// A classroom's server holds the trial conditions: the stored text, or def
// (also when the server cannot be read, which is then reported).
std::optional<QString> classroomCondition(const QString& key) {
    CDB* server = ClassroomSettings::server();
    if (!server || !ClassroomSettings::isCondition(key))
        return std::nullopt;
    try {
        return ClassroomSettings::read(*server, key).value_or(QString());
    } catch (const CDBException& e) {
        notifyError(e.text());
        return QString();
    }
}
} // namespace

int GetProfileInt(const QString& key, int def) {
    if (const auto value = classroomCondition(key))
        return PrivateProfile::parseProfileInt(*value, def);
    return GetSectionInt(kSettings, key, def);
}

QString GetProfileString(const QString& key, const QString& def) {
    if (const auto value = classroomCondition(key))
        return value->isEmpty() ? def : *value;
    return PrivateProfile::readString(kSettings, key, def, ProfilePath());
}

void WriteProfileString(const QString& key, const QString& text) {
    if (CDB* server = ClassroomSettings::server(); server && ClassroomSettings::isCondition(key)) {
        ClassroomSettings::write(*server, key, text);
        return;
    }
    PrivateProfile::writeString(kSettings, key, text, ProfilePath());
}

void WriteProfileInt(const QString& key, int value) {
    if (CDB* server = ClassroomSettings::server(); server && ClassroomSettings::isCondition(key)) {
        ClassroomSettings::write(*server, key, QString::number(value));
        return;
    }
    WriteSectionInt(kSettings, key, value);
}

int GetSectionInt(const QString& section, const QString& key, int def) {
    return PrivateProfile::readInt(section, key, def, ProfilePath());
}

void WriteSectionInt(const QString& section, const QString& key, int value) {
    PrivateProfile::writeInt(section, key, value, ProfilePath());
}

int GetCorvanePass() { return GetProfileInt(QStringLiteral("corvane_pass"), 0); }

bool ImageOnScreen() { return GetProfileInt(QStringLiteral("display_flg"), 0) != 0; }

QString AnalysisFolder(bool create) { return ensureFolder(programFolder() + QStringLiteral("解析結果"), create); }

QString UserFolder(int userCode, bool create) {
    // A classroom keeps every PC's files on the server: bring this user's here first.
    if (CDB* server = ClassroomSettings::server()) {
        try {
            ClassroomFiles::fetch(*server, AnalysisFolder(true), userCode);
        } catch (const CDBException& e) {
            notifyError(e.text());
        } catch (const CICException& e) {
            notifyError(e.GetErrorMessage());
        }
    }
    return ensureFolder(AnalysisFolder(create) + '/' + QString::number(userCode), create);
}

QString CsvFileName(CsvKind kind, int problemCode, const QDateTime& start, const QString& name1,
                    const QString& name2) {
    const QDate d = start.date();
    const QTime t = start.time();
    const QString head = QString::asprintf("%04d%02d%02d_%02d%02d%02d", d.year(), d.month(), d.day(), t.hour(),
                                           t.minute(), t.second()) +
                         suffix(kind, problemCode) + '_';
    // Names come from the registry or an import file: they must never leave
    // the user's folder nor make a name the file system refuses. Files are
    // found again by their head, so shortening the names loses nothing.
    QString n1 = SafeFileName::Part(name1), n2 = SafeFileName::Part(name2);
    auto name = [&] { return head + n1 + '_' + n2 + QStringLiteral(".csv"); };
    while (!SafeFileName::Fits(name()) && !(n1.isEmpty() && n2.isEmpty())) {
        QString& longer = n2.isEmpty() ? n1 : n2;
        longer.chop(longer.size() >= 2 && longer.back().isLowSurrogate() ? 2 : 1);
    }
    return name();
}

QString InputFilePath(CDB& userDb, int problemCode, const QDateTime& start, int userCode) {
    return csvPath(CsvKind::InputValues, userDb, problemCode, start, userCode);
}

QString AnalysisFilePath(CDB& userDb, int problemCode, const QDateTime& start, int userCode) {
    return csvPath(CsvKind::AnalysisResult, userDb, problemCode, start, userCode);
}

bool DateFromFileName(const QString& path, QDateTime& out) {
    out = QDateTime();
    QString name = QString(path).replace('\\', '/').section('/', -1);
    if (name.size() <= 14)
        return false;
    auto num = [&](int from, int len) { return name.mid(from, len).toInt(); };
    int y = num(0, 4), mo = num(4, 2), d = num(6, 2), h = num(9, 2), mi = num(11, 2), s = num(13, 2);
    if (y == 0 || mo == 0 || d == 0)
        return false;
    QDate date(y, mo, d);
    QTime time(h, mi, s);
    if (!date.isValid() || !time.isValid())
        return false;
    out = naiveDateTime(date, time);
    return true;
}

QString FolderWithSlash(const QString& text) {
    QString s = text.trimmed();
    if (s.isEmpty() || s == QLatin1String("./") || s == QLatin1String("../") || s == QLatin1String(".\\") ||
        s == QLatin1String("..\\"))
        return s;
    if (!s.endsWith('/') && !s.endsWith('\\'))
        s += '/';
    return s;
}

void SplitPath(const QString& path, QString* drive, QString* dir, QString* name, QString* ext) {
    QString p = path;
    QString drv;
    if (p.size() >= 2 && p.at(1) == ':') {
        drv = p.left(2);
        p = p.mid(2);
    }
    int slash = std::max(p.lastIndexOf('/'), p.lastIndexOf('\\'));
    QString directory = p.left(slash + 1);
    QString file = p.mid(slash + 1);
    int dot = file.lastIndexOf('.');
    if (drive) *drive = drv;
    if (dir) *dir = directory;
    if (name) *name = dot < 0 ? file : file.left(dot);
    if (ext) *ext = dot < 0 ? QString() : file.mid(dot);
}

bool PathExists(const QString& path) { return QFileInfo::exists(path); }

void DeleteFileQuietly(const QString& path) { QFile::remove(path); }

bool GetUserNames(CDB& userDb, int userCode, QString& kname1, QString& kname2, QString& name1, QString& name2) {
    kname1.clear();
    kname2.clear();
    name1.clear();
    name2.clear();
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                QStringLiteral("select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 "), {userCode},
                CRecordset::readOnly);
        if (rs.IsEOF())
            return false;
        kname1 = rs.m_user_kname1;
        kname2 = rs.m_user_kname2;
        name1 = rs.m_user_name1;
        name2 = rs.m_user_name2;
        return true;
    } catch (const CDBException& e) {
        notifyError(e.text());
        return false;
    }
}

bool GetUserDisplayNames(CDB& userDb, int userCode, QString& fullName, QString& fullKana) {
    QString k1, k2, n1, n2;
    bool found = GetUserNames(userDb, userCode, k1, k2, n1, n2);
    fullName = n1 + QStringLiteral("　") + n2;
    fullKana = k1 + QStringLiteral("　") + k2;
    return found;
}

QVector<UserListRow> UserList(CDB& userDb) {
    QVector<UserListRow> rows;
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                QStringLiteral("select * from [User_tbl] where [delete_flg] <> 1 order by [user_kname1],[user_kname2]"));
        for (; !rs.IsEOF(); rs.MoveNext())
            rows.push_back({rs.m_user_code, rs.m_user_name1 + QStringLiteral("　") + rs.m_user_name2,
                            rs.m_user_kname1 + QStringLiteral("　") + rs.m_user_kname2});
    } catch (const CDBException& e) {
        notifyError(e.text());
    }
    return rows;
}

int NextUserCode(CDB& userDb) {
    int next = 1;
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                QStringLiteral("select * from [User_tbl] where [user_code] = (select max([user_code]) from [User_tbl]) "));
        if (!rs.IsEOF())
            next = std::max(1, rs.m_user_code + 1);
    } catch (const CDBException& e) {
        notifyError(e.text());
    }
    return next;
}

int NextHistoryNumber(CDB& userDb) {
    int next = 1;
    try {
        CRsHistory_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                QStringLiteral("select * from [History_tbl] where [AutoNumber] = (select max([AutoNumber]) from [History_tbl]) "));
        if (!rs.IsEOF())
            next = std::max(1, rs.m_AutoNumber + 1);
    } catch (const CDBException& e) {
        notifyError(e.text());
    }
    return next;
}

bool IsNameFree(CDB& userDb, const QString& kname1, const QString& kname2, const QString& name1,
                const QString& name2) {
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [User_tbl] where [delete_flg] <> 1"));
        for (; !rs.IsEOF(); rs.MoveNext()) {
            // Compared as the code page stores them.
            if ((cp932::sameBytes(rs.m_user_name1, name1) && cp932::sameBytes(rs.m_user_name2, name2)) ||
                (cp932::sameBytes(rs.m_user_kname1, kname1) && cp932::sameBytes(rs.m_user_kname2, kname2)))
                return false;
        }
    } catch (const CDBException& e) {
        notifyError(e.text());
    }
    return true;
}

QString SystemErrorText(int err) {
    const char* text = err ? std::strerror(err) : "";
    QString message = QString::fromLocal8Bit(text);
    while (message.endsWith('\n') || message.endsWith('\r'))
        message.chop(1);
    return QStringLiteral("エラー %1 が発生しました: %2").arg(static_cast<unsigned long>(err)).arg(message);
}

} // namespace AppSub
