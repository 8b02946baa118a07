#pragma once
// One running copy per desktop user. The first copy holds a lock file and
// listens on a local socket beside it, both in the user's runtime folder
// (XDG_RUNTIME_DIR), so other users on the same machine — fast user switching,
// a shared classroom PC — run their own copies. A later copy of the same user
// finds the lock held, asks the running copy over the socket to come to the
// front, and ends. A lock left by a copy that died is taken over.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Start {
        Acquired,       // this process now holds the lock
        AlreadyRunning, // another copy holds it and has been asked to come forward
        Failed,         // no lock could be taken: see failureText()
    };

    // folder: where the lock and socket live; empty for the user's runtime folder.
    explicit CSingleInstance(const QString& name, const QString& folder = QString(), QObject* parent = nullptr);
    ~CSingleInstance() override;

    // Keep the object alive for the program's life after Acquired.
    Start acquire();
    // Why acquire() failed, in Japanese, naming the lock file.
    QString failureText() const { return m_failure; }
    QString lockPath() const;

    // The user's runtime folder (empty when there is none).
    static QString userRuntimeFolder();

signals:
    // Another copy was started and asks this one to show itself.
    void activationRequested();

private:
    bool notifyRunningCopy();
    void listen();
    QString socketPath() const;

    QString m_name;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    QString m_failure;
};
