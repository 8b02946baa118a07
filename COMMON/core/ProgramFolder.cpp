#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef ZENTRY_CONF_FILE
#define ZENTRY_CONF_FILE "/etc/zentry01/zentry01.conf"
#endif
#ifndef ZENTRY_DEFAULT_FOLDER
#define ZENTRY_DEFAULT_FOLDER "/var/lib/zentry01"
#endif
#ifndef ZENTRY_DATA_RELATIVE
#define ZENTRY_DATA_RELATIVE "../share/zentry01"
#endif

namespace {
QString withSlash(QString s) {
    if (!s.endsWith('/'))
        s += '/';
    return s;
}

struct State {
    QString overrideFolder;
    QString overrideShared;
    std::optional<ProgramFolder::Identity> identity;
};
State& state() {
    static State s;
    return s;
}

QString executableFolder() { return QCoreApplication::applicationDirPath(); }

QString installedDataFolder(const QString& exeFolder) {
    return withSlash(QDir::cleanPath(QDir(exeFolder).filePath(QStringLiteral(ZENTRY_DATA_RELATIVE))));
}

const ProgramFolder::Choice& decided() {
    static const ProgramFolder::Choice choice = [] {
        const QByteArray conf = qgetenv("ZENTRY01_CONF");
        ProgramFolder::Choice c =
            ProgramFolder::decide(executableFolder(),
                                  conf.isEmpty() ? QStringLiteral(ZENTRY_CONF_FILE) : QFile::decodeName(conf),
                                  QStringLiteral(ZENTRY_DEFAULT_FOLDER));
        if (c.installed)
            ProgramFolder::shareWithGroup(c.folder);
        return c;
    }();
    return choice;
}

bool isGroupShared(const QString& folder) {
    struct stat st;
    return ::stat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISGID);
}
} // namespace

QString programFolder() {
    if (!state().overrideFolder.isEmpty())
        return state().overrideFolder;
    return decided().folder;
}

QString sharedDataFolder() {
    if (!state().overrideFolder.isEmpty())
        return state().overrideShared;
    return decided().sharedData;
}

void setProgramFolder(const QString& folder) {
    if (folder.isEmpty()) {
        state().overrideFolder.clear();
        state().overrideShared.clear();
        return;
    }
    const QString f = withSlash(QDir(folder).absolutePath());
    state().overrideFolder = f;
    // A folder without its own template and master file (the machine-wide one
    // named to zentry-tool) takes them from the installation.
    const bool hasOwn = QFileInfo::exists(f + QStringLiteral("UserData.org")) ||
                        QFileInfo::exists(f + QStringLiteral("Quillon01.mst"));
    const QString installed = installedDataFolder(executableFolder());
    state().overrideShared =
        hasOwn || !QFileInfo::exists(installed + QStringLiteral("UserData.org")) ? f : installed;
    ProgramFolder::shareWithGroup(f);
}

namespace ProgramFolder {

Choice decide(const QString& exeFolder, const QString& confFile, const QString& defaultFolder) {
    Choice c;
    const QString exe = withSlash(QDir(exeFolder).absolutePath());
    if (QFileInfo::exists(exe + QStringLiteral("Quillon01.mst"))) {
        c.folder = c.sharedData = exe;
        return c;
    }
    c.installed = true;
    c.sharedData = installedDataFolder(exe);
    const QString named = folderFromConf(confFile);
    c.folder = withSlash(QDir::cleanPath(named.isEmpty() ? defaultFolder : named));
    return c;
}

QString folderFromConf(const QString& confFile) {
    QFile f(confFile);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString folder;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.left(eq).trimmed().compare(QLatin1String("folder"), Qt::CaseInsensitive) != 0)
            continue;
        const QString value = line.mid(eq + 1).trimmed();
        // A relative path would depend on where the program was started from.
        if (QDir::isAbsolutePath(value))
            folder = value; // the last one wins, as in most configuration files
    }
    return folder;
}

Identity currentIdentity() {
    if (state().identity)
        return *state().identity;
    Identity id;
    id.uid = ::geteuid();
    id.groups << ::getegid();
    const int n = ::getgroups(0, nullptr);
    if (n > 0) {
        std::vector<gid_t> list(n);
        const int got = ::getgroups(n, list.data());
        for (int i = 0; i < got; ++i)
            id.groups << list[i];
    }
    return id;
}

void setIdentityForCheck(std::optional<Identity> identity) { state().identity = std::move(identity); }

QString writeProblem(const QString& folder) {
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(folder));
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return QStringLiteral("プログラムのフォルダ %1 がありません。\n\n"
                              "パッケージを入れ直すか、管理者に確認してください。")
            .arg(shown);
    const Identity id = currentIdentity();
    bool may = false;
    if (id.uid == 0)
        may = true;
    else if (id.uid == st.st_uid)
        may = st.st_mode & S_IWUSR;
    else if (id.groups.contains(uint(st.st_gid)))
        may = st.st_mode & S_IWGRP;
    else
        may = st.st_mode & S_IWOTH;
    if (may)
        return {};
    QString group;
    if (const struct group* g = ::getgrgid(st.st_gid))
        group = QString::fromLocal8Bit(g->gr_name);
    else
        group = QString::number(st.st_gid);
    if (st.st_mode & S_IWGRP)
        return QStringLiteral("プログラムのフォルダ %1 に書き込めません。\n\n"
                              "このフォルダはグループ %2 のメンバーが使います。"
                              "管理者にこのユーザーをグループ %2 に加えてもらい、ログインし直してください。")
            .arg(shown, group);
    return QStringLiteral("プログラムのフォルダ %1 に書き込めません。\n\n"
                          "フォルダが読み込み専用になっていないか確認してください。")
        .arg(shown);
}

void shareWithGroup(const QString& folder) {
    if (!isGroupShared(folder))
        return;
    const mode_t mask = ::umask(0);
    ::umask(mask & ~mode_t(S_IRWXG));
}

void makeGroupWritable(const QString& file) {
    if (!isGroupShared(QFileInfo(file).absolutePath()))
        return;
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ReadGroup | QFileDevice::WriteGroup);
}

} // namespace ProgramFolder
