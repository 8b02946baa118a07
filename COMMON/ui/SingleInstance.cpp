#include "SingleInstance.h"

#include "TrialState.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const char kRaiseRequest[] = "raise\n";
constexpr int kConnectWaitMs = 1000;
} // namespace

CSingleInstance::CSingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_name(name), m_lock(TrialState::InstanceLockPath(name)) {
    // A crashed copy leaves its lock behind; QLockFile takes it over once the
    // owning process is gone, so no stale-age timeout is needed.
    m_lock.setStaleLockTime(0);
}

CSingleInstance::~CSingleInstance() {
    if (m_server)
        m_server->close();
    if (m_lock.isLocked())
        m_lock.unlock();
}

bool CSingleInstance::acquire() {
    if (!m_lock.tryLock(1)) {
        notifyRunningCopy();
        return false;
    }
    listen();
    return true;
}

void CSingleInstance::notifyRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectWaitMs))
        return; // the running copy is still starting or ending; nothing to raise
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kConnectWaitMs);
    socket.disconnectFromServer();
}

void CSingleInstance::listen() {
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The socket file of a copy that did not end cleanly would block listen();
    // the lock says no live copy owns it.
    QLocalServer::removeServer(m_name);
    m_server->listen(m_name);
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
