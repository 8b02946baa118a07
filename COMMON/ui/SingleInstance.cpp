#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {
const char kRaiseRequest[] = "raise\n";
constexpr int kConnectWaitMs = 1000;
// A copy that has just taken the lock needs a moment before it listens.
constexpr int kReachRunningCopyMs = 5000;
} // namespace

CSingleInstance::CSingleInstance(const QString& name, const QString& folder, QObject* parent)
    : QObject(parent), m_name(name), m_folder(folder.isEmpty() ? userRuntimeFolder() : folder) {
    if (!m_folder.isEmpty()) {
        m_lock = std::make_unique<QLockFile>(lockPath());
        // QLockFile takes over a lock whose process is gone (checked by process
        // id and name), so no stale-age timeout is needed.
        m_lock->setStaleLockTime(0);
    }
}

CSingleInstance::~CSingleInstance() {
    if (m_server)
        m_server->close();
    if (m_lock && m_lock->isLocked())
        m_lock->unlock();
}

QString CSingleInstance::userRuntimeFolder() {
    // XDG_RUNTIME_DIR when it is usable, else a private folder Qt creates in /tmp.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString CSingleInstance::lockPath() const { return QDir(m_folder).filePath(m_name + QStringLiteral(".lock")); }

QString CSingleInstance::socketPath() const { return QDir(m_folder).filePath(m_name + QStringLiteral(".socket")); }

CSingleInstance::Start CSingleInstance::acquire() {
    if (!m_lock) {
        m_failure = QStringLiteral("このユーザーの実行時フォルダ (XDG_RUNTIME_DIR) が使えないため、起動できません。\n\n"
                                   "ログインし直すか、管理者に確認してください。");
        return Start::Failed;
    }
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_lock->tryLock(0)) {
            listen();
            return Start::Acquired;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            m_failure = QStringLiteral("二重起動を防ぐためのファイル %1 を作成できないため、起動できません。\n\n"
                                       "フォルダ %2 に書き込めるか確認してください。")
                            .arg(QDir::toNativeSeparators(lockPath()), QDir::toNativeSeparators(m_folder));
            return Start::Failed;
        }
        if (notifyRunningCopy())
            return Start::AlreadyRunning;
        // The holder may still be starting, or have ended meanwhile (then the
        // next round takes the lock).
        if (clock.elapsed() > kReachRunningCopyMs) {
            m_failure = QStringLiteral("このプログラムはすでに起動していますが、応答しません。\n\n"
                                       "起動中のプログラムを終了してから、もう一度起動してください。");
            return Start::Failed;
        }
        QThread::msleep(100);
    }
}

bool CSingleInstance::notifyRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kConnectWaitMs))
        return false;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kConnectWaitMs);
    socket.disconnectFromServer();
    return true;
}

void CSingleInstance::listen() {
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The socket file of a copy that did not end cleanly would block listen();
    // the lock says no live copy owns it.
    QLocalServer::removeServer(socketPath());
    m_server->listen(socketPath());
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            auto readRequest = [this, s] {
                if (s->readAll().contains("raise"))
                    emit activationRequested();
            };
            connect(s, &QLocalSocket::readyRead, this, readRequest);
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (s->bytesAvailable() > 0)
                readRequest();
        }
    });
}
