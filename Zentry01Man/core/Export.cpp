#include "Export.h"

#include "AppSub.h"
#include "ClassroomFiles.h"
#include "Clock.h"
#include "DbEngine.h"
#include "ExportFormat.h"
#include "ExportStrings.h"
#include "ICException.h"
#include "Notifier.h"
#include "ProgramFolder.h"
#include "Recordsets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kAnalysis = QStringLiteral("解析結果");

std::filesystem::path fsPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

// Written whole or not at all, so a full disk never leaves half a file.
void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        IC_THROW(QStringLiteral("ファイル %1 に書き込めません。\n").arg(path) +
                 AppSub::SystemErrorText(errno ? errno : EIO));
}

void showMessage(ExportStrings::Id id) { notifyMessage(ExportStrings::Text(id), MsgIcon::Exclamation); }

int localUserCode(CDB& userDb, const QString& name1, const QString& name2) {
    CRsUser_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenSnapshot,
            QStringLiteral("select * from [User_tbl] where [user_name1] = '%s' and [user_name2] = '%s' and [delete_flg] <> 1 "),
            {name1, name2});
    return rs.IsEOF() ? 0 : rs.m_user_code;
}

QString sourceUserFolder(const QString& exportFolder, int code) {
    return exportFolder + kAnalysis + '/' + QString::number(code);
}

// Whether any analysis file of the export user is already in the local user's folder.
bool alreadyImported(const QString& exportFolder, int code, int localCode) {
    const QString local = AppSub::UserFolder(localCode, false) + '/';
    const QStringList files =
        QDir(sourceUserFolder(exportFolder, code)).entryList({QStringLiteral("*.csv")}, QDir::Files);
    for (const QString& name : files)
        if (QFileInfo::exists(local + name))
            return true;
    return false;
}

// Appends the export user's trials under the local code, inside the
// import's transaction; the AutoNumber counter runs on from `next`.
void appendHistory(CRsHistory_tbl& rs, const ExportFormat::HistoryFile& history, const QVector<int>& rows,
                   int localCode, int& next, const QDateTime& now) {
    for (int row : rows) {
        rs.AddNew();
        ExportFormat::FillHistoryRow(history, history.rows.at(row), rs);
        rs.m_AutoNumber = next++;
        rs.m_user_code = localCode;
        rs.m_last_update = now;
        rs.Update();
    }
}

// Registers an export user inside the import's transaction; its new code.
int addUser(CRsUser_tbl& rs, CDB& userDb, const ExportFormat::UkvUser& u, const QDateTime& now) {
    const int code = AppSub::NextUserCode(userDb);
    rs.AddNew();
    rs.m_user_code = code;
    rs.m_user_kname1 = u.kname1;
    rs.m_user_kname2 = u.kname2;
    rs.m_user_name1 = u.name1;
    rs.m_user_name2 = u.name2;
    rs.m_start_no1 = u.startNo[0];
    rs.m_start_no2 = u.startNo[1];
    rs.m_start_no3 = u.startNo[2];
    rs.m_first_update = rs.m_last_update = now;
    rs.m_delete_flg = 0;
    rs.Update();
    return code;
}

// The first entry of the export folder that is neither a plain file nor a
// folder (a link, a pipe, a device, a socket), or empty. A link could bring a
// system file or folder into the program folder; a pipe or a device would
// hang the import or fill its memory.
QString firstSpecialEntry(const QString& exportFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto plain = [&](const fs::path& p) {
        const fs::file_status st = fs::symlink_status(p, ec);
        return st.type() == fs::file_type::not_found || st.type() == fs::file_type::regular ||
               st.type() == fs::file_type::directory;
    };
    for (const QString& name : {QStringLiteral("UserData.ukv"), QStringLiteral("History_tbl.tsv"), kAnalysis}) {
        if (!plain(fsPath(exportFolder + name)))
            return exportFolder + name;
    }
    const fs::path analysis = fsPath(exportFolder + kAnalysis);
    if (fs::symlink_status(analysis, ec).type() != fs::file_type::directory)
        return {};
    for (fs::recursive_directory_iterator it(analysis, ec), end; !ec && it != end; it.increment(ec)) {
        if (!plain(it->path()))
            return QFile::decodeName(QByteArray::fromStdString(it->path().string()));
    }
    return {};
}

// The bytes of a plain file of at most maxBytes, opened without following a
// link and without waiting on a pipe; nullopt (reported) otherwise.
std::optional<QByteArray> readPlainFile(const QString& path, qint64 maxBytes) {
    const QString refused = QStringLiteral("ファイル %1 を読み込めません。\n").arg(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            IC_THROW(QStringLiteral("ファイル %1 が存在しません。").arg(path));
        notifyMessage(refused + AppSub::SystemErrorText(errno), MsgIcon::Exclamation);
        return std::nullopt;
    }
    struct stat st {};
    QString problem;
    if (::fstat(fd, &st) != 0)
        problem = AppSub::SystemErrorText(errno);
    else if (!S_ISREG(st.st_mode))
        problem = QStringLiteral("通常のファイルではありません。");
    else if (st.st_size > maxBytes)
        problem = QStringLiteral("%1 バイトを超えています。").arg(maxBytes);
    QByteArray bytes;
    if (problem.isEmpty()) {
        bytes.resize(st.st_size);
        qint64 got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                problem = n < 0 ? AppSub::SystemErrorText(errno) : QStringLiteral("ファイルが途中で短くなりました。");
                break;
            }
            got += n;
        }
    }
    ::close(fd);
    if (!problem.isEmpty()) {
        notifyMessage(refused + problem, MsgIcon::Exclamation);
        return std::nullopt;
    }
    return bytes;
}

void modeOfParent(const QString& folder);

// A folder of the program folder that holds the analysis files of an import
// until its users and trials are committed; removed with everything in it.
class Staging {
public:
    Staging() {
        const QString base = programFolder() + QStringLiteral(".import-%1").arg(QCoreApplication::applicationPid());
        m_path = base;
        for (int n = 1; QFileInfo::exists(m_path) || QFileInfo(m_path).isSymLink(); ++n)
            m_path = base + '-' + QString::number(n);
        // Made like the program folder, so what is moved out of it is too.
        if (QDir().mkdir(m_path))
            modeOfParent(m_path);
        else
            m_path.clear();
    }
    ~Staging() {
        if (!m_path.isEmpty())
            QDir(m_path).removeRecursively();
    }
    bool ok() const { return !m_path.isEmpty(); }
    QString folder(int i) const { return m_path + '/' + QString::number(i); }

private:
    QString m_path;
};

// Moves a staged folder into its place: whole when the place is free, else
// file by file (the check pass made sure no analysis file is overwritten).
bool moveInto(const QString& from, const QString& to) {
    std::error_code ec;
    if (!QFileInfo::exists(to) && !QFileInfo(to).isSymLink()) {
        std::filesystem::rename(fsPath(from), fsPath(to), ec);
        return !ec;
    }
    bool ok = true;
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        const QString target = to + '/' + entry.fileName();
        if (entry.isDir())
            ok = moveInto(entry.filePath(), target) && ok;
        else {
            std::filesystem::rename(fsPath(entry.filePath()), fsPath(target), ec);
            ok = !ec && ok;
        }
    }
    return ok;
}

// The files a trial without an end has written so far in the source's analysis
// folder (found by start time, kind and task, whatever the user's names), so
// that the export carries no half-written trial.
QSet<QString> trialFiles(const QString& analysisFolder, const QVector<ExportFormat::LeftOutTrial>& trials) {
    QSet<QString> out;
    for (const ExportFormat::LeftOutTrial& t : trials) {
        if (!t.start.isValid())
            continue;
        const QDir folder(analysisFolder + '/' + QString::number(t.userCode));
        for (AppSub::CsvKind kind : {AppSub::CsvKind::InputValues, AppSub::CsvKind::AnalysisResult}) {
            QString prefix = AppSub::CsvFileName(kind, t.problemCode, t.start, QString(), QString());
            prefix.chop(QStringLiteral("__.csv").size());
            for (const QFileInfo& file : folder.entryInfoList({prefix + QStringLiteral("_*.csv")}, QDir::Files))
                out.insert(file.absoluteFilePath());
        }
    }
    return out;
}

} // namespace

namespace {
bool copyFailed(const QString& from, const QString& to, int error) {
    notifyMessage(QStringLiteral("ファイルのコピーに失敗しました。\nコピー元：%1\nコピー先：%2\n").arg(from, to) +
                      QStringLiteral("\n\n") + AppSub::SystemErrorText(error),
                  MsgIcon::Exclamation);
    return false;
}
} // namespace

namespace {
// Gives a folder just made the mode of the folder it was made in (with its
// set-group-ID bit, so the group of a shared installation carries on).
void modeOfParent(const QString& folder) {
    struct stat parent {};
    const QByteArray path = QFile::encodeName(QFileInfo(folder).absoluteFilePath());
    if (::stat(QFile::encodeName(QFileInfo(folder).absolutePath()).constData(), &parent) == 0)
        ::chmod(path.constData(), parent.st_mode & 07777);
}

// A file's bytes into a new or truncated file: the copy takes the mode new
// files get here, never the source's (an export could carry files anyone may
// write).
std::error_code copyFileBytes(const QString& from, const QString& to) {
    QFile in(from), out(to);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly))
        return std::error_code(errno ? errno : EACCES, std::generic_category());
    errno = 0;
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return std::error_code(errno ? errno : EACCES, std::generic_category());
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0)
            return std::error_code(errno ? errno : EIO, std::generic_category());
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n)
            return std::error_code(errno ? errno : EIO, std::generic_category());
    }
    if (!out.flush())
        return std::error_code(errno ? errno : EIO, std::generic_category());
    return {};
}
} // namespace

bool CopyFolder(const QString& from, const QString& to, const QSet<QString>& skip) {
    errno = 0;
    if (!QFileInfo(to).isDir()) {
        if (!QDir().mkpath(to))
            return copyFailed(from, to, errno ? errno : EACCES);
        // No wider than the folder it is made in, whatever the source allowed.
        modeOfParent(to);
    }
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        const QString target = to + '/' + entry.fileName();
        if (entry.isDir()) {
            // A link to a folder could lead back into the tree being copied.
            if (!entry.isSymLink() && !CopyFolder(entry.filePath(), target, skip))
                return false;
            continue;
        }
        if (!skip.isEmpty() && skip.contains(entry.absoluteFilePath()))
            continue;
        if (const std::error_code ec = copyFileBytes(entry.filePath(), target))
            return copyFailed(entry.filePath(), target, ec.value());
    }
    return true;
}

bool CExport::Export(const QString& source, const QString& exportFolder) {
    const QString s = AppSub::FolderWithSlash(source);
    const QString f = AppSub::FolderWithSlash(exportFolder);
    if (!m_source.OpenPrevious(s))
        return false;
    QVector<ExportFormat::LeftOutTrial> leftOut;
    const QByteArray history = ExportFormat::HistoryTsv(m_source, &leftOut);
    const QByteArray users = ExportFormat::UserDataUkv(m_source);
    // A classroom's files are on its server: the local folder gets them all first.
    if (DbEngines::engineOf(m_source) == DbEngine::PostgreSQL)
        ClassroomFiles::fetch(m_source, s + kAnalysis);
    m_source.Close();
    m_leftOut = int(leftOut.size());
    const QSet<QString> unfinishedFiles = trialFiles(s + kAnalysis, leftOut);
    writeFile(f + QStringLiteral("History_tbl.tsv"), history);
    writeFile(f + QStringLiteral("UserData.ukv"), users);
    if (!QFileInfo(f + kAnalysis).isDir() && !QDir().mkpath(f + kAnalysis))
        IC_THROW(QStringLiteral("エクスポート先のフォルダ作成に失敗しました。"));
    if (!CopyFolder(s + kAnalysis, f + kAnalysis, unfinishedFiles))
        IC_THROW(QStringLiteral("解析結果のコピーに失敗しました。"));
    return true;
}

CExport::ImportResult CExport::Import(CDB& userDb, const QString& exportFolder) {
    using ExportFormat::UkvUser;
    const QString f = AppSub::FolderWithSlash(exportFolder);
    AppSub::AnalysisFolder(true);

    // Check pass: the folder, both files and every user checked before anything is written.
    if (const QString special = firstSpecialEntry(f); !special.isEmpty()) {
        notifyMessage(QStringLiteral("インポートするフォルダに、通常のファイルでもフォルダでもないもの"
                                     "（リンク、名前付きパイプ、デバイスなど）があります。\n%1\n\n"
                                     "何もインポートしていません。")
                          .arg(QDir::toNativeSeparators(special)),
                      MsgIcon::Exclamation);
        return ImportResult::Failed;
    }
    const std::optional<QByteArray> ukv = readPlainFile(f + QStringLiteral("UserData.ukv"), ExportFormat::kMaxUkvBytes);
    if (!ukv)
        return ImportResult::Failed;
    QString why;
    const std::optional<QVector<UkvUser>> users = ExportFormat::ParseUserDataUkv(*ukv, &why);
    if (!users) {
        notifyMessage(ExportStrings::Text(ExportStrings::BadManagementFile) + QStringLiteral("\n\n") + why,
                      MsgIcon::Exclamation);
        return ImportResult::Failed;
    }
    if (users->isEmpty())
        return ImportResult::Done;
    const QString historyPath = f + QStringLiteral("History_tbl.tsv");
    const std::optional<QByteArray> historyBytes =
        readPlainFile(historyPath, ExportFormat::MaxHistoryBytes(int(users->size())));
    if (!historyBytes)
        return ImportResult::Failed;
    const std::optional<ExportFormat::HistoryFile> history = ExportFormat::ParseHistoryTsv(*historyBytes, &why);
    if (!history) {
        notifyMessage(QStringLiteral("ファイル %1 の内容が正しく読み込めません。\n").arg(historyPath) + why +
                          QStringLiteral("\n\n何もインポートしていません。"),
                      MsgIcon::Exclamation);
        return ImportResult::Failed;
    }
    bool anyNew = false;
    for (const UkvUser& u : *users) {
        const int local = localUserCode(userDb, u.name1, u.name2);
        if (local && alreadyImported(f, u.code, local)) {
            showMessage(ExportStrings::AlreadyImported);
            return ImportResult::Failed;
        }
        anyNew = anyNew || !local;
    }

    // The analysis files are copied first, beside the installation's own: a
    // failed copy leaves nothing behind (the staging folder goes with it).
    Staging staging;
    if (!staging.ok()) {
        notifyMessage(QStringLiteral("プログラムのフォルダ %1 に作業用のフォルダを作れません。\n\n何もインポートしていません。")
                          .arg(QDir::toNativeSeparators(programFolder())),
                      MsgIcon::Exclamation);
        return ImportResult::Failed;
    }
    for (int i = 0; i < users->size(); ++i) {
        const UkvUser& u = users->at(i);
        if (!CopyFolder(sourceUserFolder(f, u.code), staging.folder(i))) {
            notifyMessage(QStringLiteral("解析結果のコピーに失敗しました。\n\nユーザー：%1　%2\n\n何もインポートしていません。")
                              .arg(u.name1, u.name2),
                          MsgIcon::Exclamation);
            return ImportResult::Failed;
        }
    }

    // Users and trials in one transaction: a failure part-way (a lock held
    // too long, a refused row) leaves the database as it was, so the retry
    // the message advises does not import anything twice.
    QHash<int, QVector<int>> rowsOf;
    for (int row = 0; row < history->rows.size(); ++row)
        rowsOf[history->UserCode(history->rows.at(row))] << row;
    CRsHistory_tbl historyRs(&userDb);
    historyRs.Open(CRecordset::dbOpenDynaset,
                   QStringLiteral("select * from [History_tbl] where [AutoNumber] = (select max([AutoNumber]) from [History_tbl]) "));
    if (!historyRs.CheckCanUpdate())
        return ImportResult::Failed;
    CRsUser_tbl userRs(&userDb);
    userRs.Open(CRecordset::dbOpenDynaset,
                QStringLiteral("select * from [User_tbl] where [user_code] = (select max([user_code]) from [User_tbl]) "));
    if (anyNew && !userRs.CheckCanUpdate())
        return ImportResult::Failed;
    QVector<int> localCodes;
    const bool written = RunWriteTransaction(userDb, [&] {
        localCodes.clear();
        const QDateTime now = appClock().now();
        // Matched again and numbered under the write lock, so no other writer
        // registers the same name or takes the same numbers meanwhile.
        for (const UkvUser& u : *users) {
            const int local = localUserCode(userDb, u.name1, u.name2);
            localCodes << (local ? local : addUser(userRs, userDb, u, now));
        }
        int next = AppSub::NextHistoryNumber(userDb);
        for (int i = 0; i < users->size(); ++i)
            appendHistory(historyRs, *history, rowsOf.value(users->at(i).code), localCodes.at(i), next, now);
    });
    if (!written) {
        notifyMessage(QStringLiteral("インポートを取り消しました。ユーザー、試行履歴、解析結果のどれも取り込んでいません。"),
                      MsgIcon::Exclamation);
        return ImportResult::Failed;
    }

    // Into place: the files were copied already, so only a move can fail now.
    bool complete = true;
    for (int i = 0; i < users->size(); ++i) {
        const UkvUser& u = users->at(i);
        if (!moveInto(staging.folder(i), AppSub::UserFolder(localCodes.at(i), false))) {
            notifyMessage(QStringLiteral("解析結果のコピーに失敗しました。\n\nユーザー：%1　%2（コード %3）")
                              .arg(u.name1, u.name2)
                              .arg(localCodes.at(i)),
                          MsgIcon::Exclamation);
            complete = false;
        }
    }
    if (!complete) {
        notifyMessage(QStringLiteral("インポートは最後まで行いましたが、解析結果の一部のファイルをコピーできませんでした。\n"
                                     "ユーザーと試行履歴は取り込まれています。コピーできなかったファイルを確認してください。"),
                      MsgIcon::Exclamation);
        return ImportResult::Incomplete;
    }
    return ImportResult::Done;
}
