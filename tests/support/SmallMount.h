#pragma once
// A small file system of its own (tmpfs) mounted on a folder for one test, to
// fill up or to make read-only: real faults, not imitations. Mounting needs
// root (CI runs as root); where it is refused, mounted() is false and the test
// skips.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

class SmallMount {
public:
    SmallMount(const QString& folder, int kilobytes)
        : m_folder(QFile::encodeName(folder)), m_options("size=" + QByteArray::number(kilobytes) + "k") {
        QDir().mkpath(folder);
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, m_options.constData()) == 0;
        if (!m_mounted)
            m_why = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallMount() {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    SmallMount(const SmallMount&) = delete;
    SmallMount& operator=(const SmallMount&) = delete;

    bool mounted() const { return m_mounted; }
    std::string why() const { return "cannot mount a small file system here: " + m_why.toStdString(); }

    bool makeReadOnly() {
        return ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                       m_options.constData()) == 0;
    }
    // Takes every free byte with a file of its own; release() gives them back.
    void fill() {
        QFile filler(fillerPath());
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(64 * 1024, 'f');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("f", 1) == 1) {
        }
    }
    void release() { QFile::remove(fillerPath()); }

private:
    QString fillerPath() const { return QFile::decodeName(m_folder) + QStringLiteral("/.filler"); }

    QByteArray m_folder;
    QByteArray m_options;
    bool m_mounted = false;
    QString m_why;
};
