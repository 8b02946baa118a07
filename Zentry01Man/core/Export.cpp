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
#include "TCLoadCSVFile.h"
#include "UserRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

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

// Appends the export user's trials under the local code in one transaction;
// false (rolled back and reported) when any row is refused.
bool appendHistory(CDB& userDb, const ExportFormat::HistoryFile& history, const QVector<int>& rows, int localCode) {
    CRsHistory_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenDynaset,
            QStringLiteral("select * from [History_tbl] where [AutoNumber] = (select max([AutoNumber]) from [History_tbl]) "));
    if (!rs.CheckCanUpdate())
        return false;
    return RunWriteTransaction(userDb, [&] {
        // Numbered under the write lock, so no other writer takes the same numbers.
        int next = AppSub::NextHistoryNumber(userDb);
        const QDateTime now = appClock().now();
        for (int row : rows) {
            rs.AddNew();
            ExportFormat::FillHistoryRow(history, history.rows.at(row), rs);
            rs.m_AutoNumber = next++;
            rs.m_user_code = localCode;
            rs.m_last_update = now;
            rs.Update();
        }
    });
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

bool CopyFolder(const QString& from, const QString& to) {
    errno = 0;
    if (!QFileInfo(to).isDir() && !QDir().mkpath(to))
        return copyFailed(from, to, errno ? errno : EACCES);
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        const QString target = to + '/' + entry.fileName();
        if (entry.isDir()) {
            // A link to a folder could lead back into the tree being copied.
            if (!entry.isSymLink() && !CopyFolder(entry.filePath(), target))
                return false;
            continue;
        }
        std::error_code ec;
        std::filesystem::copy_file(fsPath(entry.filePath()), fsPath(target),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            return copyFailed(entry.filePath(), target, ec.value());
    }
    return true;
}

bool CExport::Export(const QString& source, const QString& exportFolder) {
    const QString s = AppSub::FolderWithSlash(source);
    const QString f = AppSub::FolderWithSlash(exportFolder);
    if (!m_source.OpenPrevious(s))
        return false;
    const QByteArray history = ExportFormat::HistoryTsv(m_source);
    const QByteArray users = ExportFormat::UserDataUkv(m_source);
    // A classroom's files are on its server: the local folder gets them all first.
    if (DbEngines::engineOf(m_source) == DbEngine::PostgreSQL)
        ClassroomFiles::fetch(m_source, s + kAnalysis);
    m_source.Close();
    writeFile(f + QStringLiteral("History_tbl.tsv"), history);
    writeFile(f + QStringLiteral("UserData.ukv"), users);
    if (!QFileInfo(f + kAnalysis).isDir() && !QDir().mkpath(f + kAnalysis))
        IC_THROW(QStringLiteral("エクスポート先のフォルダ作成に失敗しました。"));
    if (!CopyFolder(s + kAnalysis, f + kAnalysis))
        IC_THROW(QStringLiteral("解析結果のコピーに失敗しました。"));
    return true;
}

CExport::ImportResult CExport::Import(CDB& userDb, const QString& exportFolder) {
    using ExportFormat::UkvUser;
    const QString f = AppSub::FolderWithSlash(exportFolder);
    AppSub::AnalysisFolder(true);

    // Check pass: both files read and every user checked before anything is written.
    const std::optional<QVector<UkvUser>> users =
        ExportFormat::ParseUserDataUkv(CTCLoadCSVFile::ReadAll(f + QStringLiteral("UserData.ukv")));
    if (!users) {
        showMessage(ExportStrings::BadManagementFile);
        return ImportResult::Failed;
    }
    if (users->isEmpty())
        return ImportResult::Done;
    const QString historyPath = f + QStringLiteral("History_tbl.tsv");
    const std::optional<ExportFormat::HistoryFile> history =
        ExportFormat::ParseHistoryTsv(CTCLoadCSVFile::ReadAll(historyPath));
    if (!history) {
        notifyMessage(QStringLiteral("ファイル %1 の内容が正しく読み込めません。\n列 user_code が見つかりません。").arg(historyPath),
                      MsgIcon::Exclamation);
        return ImportResult::Failed;
    }
    for (const UkvUser& u : *users) {
        const int local = localUserCode(userDb, u.name1, u.name2);
        if (local && alreadyImported(f, u.code, local)) {
            showMessage(ExportStrings::AlreadyImported);
            return ImportResult::Failed;
        }
    }

    // User pass: names matched again, new users registered.
    QVector<int> localCodes;
    for (const UkvUser& u : *users) {
        int local = localUserCode(userDb, u.name1, u.name2);
        if (!local)
            local = UserRegistry::Add(userDb, {u.kname1, u.kname2, u.name1, u.name2},
                                      {u.startNo[0], u.startNo[1], u.startNo[2]});
        // A user that cannot be registered would leave its trials without an owner.
        if (!local)
            return ImportResult::Failed;
        localCodes << local;
    }

    // History pass: each user's trials in one transaction.
    QHash<int, QVector<int>> rowsOf;
    for (int row = 0; row < history->rows.size(); ++row)
        rowsOf[history->UserCode(history->rows.at(row))] << row;
    for (int i = 0; i < users->size(); ++i)
        if (!appendHistory(userDb, *history, rowsOf.value(users->at(i).code), localCodes.at(i)))
            return ImportResult::Failed;

    // Copy pass: a failure is reported and the next user is copied all the same.
    bool complete = true;
    for (int i = 0; i < users->size(); ++i) {
        const UkvUser& u = users->at(i);
        if (!CopyFolder(sourceUserFolder(f, u.code), AppSub::UserFolder(localCodes.at(i), false))) {
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
