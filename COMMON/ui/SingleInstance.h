#pragma once
// One running copy per user. The first copy holds a lock file and listens on a
// local socket under the same name; a later copy finds the lock held, asks the
// running copy over the socket to come to the front, and ends.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(const QString& name, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process now holds the lock (keep the object alive for the
    // program's life). False when another copy holds it; that copy has then been
    // asked to come to the front.
    bool acquire();

signals:
    // Another copy was started and asks this one to show itself.
    void activationRequested();

private:
    void notifyRunningCopy();
    void listen();

    QString m_name;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
