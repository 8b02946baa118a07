#include "InputLog.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "ClassroomFiles.h"
#include "Codec.h"
#include "DateUtil.h"
#include "ICException.h"
#include "TextUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString cannotCreate(const QString& path, int err) {
    return QStringLiteral("入力値ファイル %1 を作成できません。\n").arg(QDir::toNativeSeparators(path)) +
           AppSub::SystemErrorText(err ? err : EIO);
}

QString cannotWrite(const QString& path, int err) {
    return QStringLiteral("入力値ファイル %1 に書き込めません。\n").arg(QDir::toNativeSeparators(path)) +
           AppSub::SystemErrorText(err ? err : EIO);
}

// Forces the file's data to the disk. Descriptors that cannot be synchronised
// (EINVAL, EROFS: devices, some special files) hold nothing more to flush.
bool syncToDisk(int fd) {
    if (::fsync(fd) == 0)
        return true;
    return errno == EINVAL || errno == EROFS;
}

// Makes the folder's entry for a new file durable as well as the file itself.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString timeText(const QDateTime& t) {
    return t.isValid() ? DateUtil::TimeOfDayText(t) : QStringLiteral("00:00:00");
}

QString joinFields(const QStringList& fields) {
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& f : fields)
        quoted << TextUtil::CsvField(f);
    return quoted.join(u',') + u'\n';
}
} // namespace

CInputLog::~CInputLog() {
    Close();
}

void CInputLog::Open(CDB& userDb, int problemCode, const QDateTime& openedAt, int userCode) {
    Close();
    QString kname1, kname2, name1, name2;
    AppSub::GetUserNames(userDb, userCode, kname1, kname2, name1, name2);
    const QString folder = AppSub::UserFolder(userCode, false);
    OpenPath(folder + u'/' +
             AppSub::CsvFileName(AppSub::CsvKind::InputValues, problemCode, openedAt, name1, name2));
}

void CInputLog::OpenPath(const QString& path) {
    Close();
    const QString folder = QFileInfo(path).absolutePath();
    errno = 0;
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        IC_THROW(cannotCreate(path, errno ? errno : EACCES));
    auto file = std::make_unique<QFile>(path);
    errno = 0;
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        IC_THROW(cannotCreate(path, errno ? errno : EACCES));
    if (!syncToDisk(file->handle()))
        IC_THROW(cannotCreate(path, errno));
    syncFolder(folder);
    m_file = std::move(file);
    m_path = path;
}

void CInputLog::WriteLine(const QString& text) {
    if (!m_file)
        return;
    QString crlf = text;
    crlf.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    const QByteArray bytes = cp932::encode(crlf);
    const qint64 end = m_file->pos();
    errno = 0;
    if (m_file->write(bytes) != bytes.size() || !m_file->flush()) {
        const int err = errno ? errno : ENOSPC;
        // A disk that fills up in the middle of a line leaves part of it; cut
        // that off, or it would join the line written when the card is saved again.
        m_file->resize(end);
        m_file->seek(end);
        IC_THROW(cannotWrite(m_path, err));
    }
    if (!syncToDisk(m_file->handle()))
        IC_THROW(cannotWrite(m_path, errno));
    // Safe on disk first; then the classroom's server gets the line too.
    ClassroomFiles::sendIfClassroom(m_path, false);
}

void CInputLog::Close() {
    if (!m_file)
        return;
    m_file->close();
    m_file.reset();
    ClassroomFiles::sendIfClassroom(m_path, true);
}

QString CInputLog::HeaderLine(int problemCode, int courseCode) {
    QStringList fields{QStringLiteral("開始時刻"), QStringLiteral("終了時刻"), QStringLiteral("経過時間"),
                       QStringLiteral("評価除外フラグ"), QStringLiteral("NO.")};
    if (problemCode == 1)
        fields << QStringLiteral("フリガナ") << QStringLiteral("氏名") << QStringLiteral("郵便番号")
               << QStringLiteral("住所") << QStringLiteral("電話番号") << QStringLiteral("メールアドレス")
               << QStringLiteral("問１") << QStringLiteral("問２") << QStringLiteral("問３");
    else
        fields << QStringLiteral("顧客コード") << QStringLiteral("商品コード") << QStringLiteral("電話番号")
               << QStringLiteral("メールアドレス");
    if (courseCode == 2)
        fields << QStringLiteral("チェック");
    return joinFields(fields);
}

QString CInputLog::CardLine(const CArrBase& deck, int index, int courseCode) {
    const CArrBaseInfo& card = deck.at(index);
    QStringList fields{timeText(card.shown), timeText(card.finished),
                       DateUtil::ElapsedMinSec(card.trialStart, card.finished),
                       card.excluded ? QStringLiteral("1") : QString(),
                       QString::asprintf("%04d", card.number)};
    for (int i = 0; i < deck.ItemCount(); ++i)
        fields << card.input.at(i);
    if (courseCode == 2)
        fields << QString::number(card.errorChecks);
    return joinFields(fields);
}
