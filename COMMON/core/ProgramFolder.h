#pragma once
// The program folder: where both programs keep their databases, ini file and
// analysis folder, and the folder of the read-only files they ship with
// (UserData.org, the default Quillon01.mst, the handwritten forms).
//
// A portable copy (a build tree or an unpacked folder: the executables stand
// beside Quillon01.mst) uses the executables' folder for both. An installed
// copy reads its shipped files from the data folder beside its bin folder
// (../share/zentry01) and writes into the machine-wide folder named by the
// configuration file (ZENTRY01_CONF or the installed zentry01.conf), by
// default /var/lib/zentry01. That folder belongs to one group and carries the
// set-group-ID bit; files created in it are made group-writable so every
// member keeps using them. Tests and zentry-tool point the folder elsewhere.
#include <QString>
#include <QList>

#include <optional>

// The folder with a trailing "/".
QString programFolder();
// The folder of the shipped read-only files, with a trailing "/".
QString sharedDataFolder();
// Overrides the folder (an empty text returns to the decided one). The shipped
// files are then read from that folder when it has them, else from the
// installed data folder.
void setProgramFolder(const QString& folder);

namespace ProgramFolder {

struct Choice {
    QString folder;     // with a trailing "/"
    QString sharedData; // with a trailing "/"
    bool installed = false;
};

// The decision itself, from the executables' folder, the configuration file
// and the built-in default folder.
Choice decide(const QString& executableFolder, const QString& confFile, const QString& defaultFolder);

// The folder named by "folder=" in a configuration file; empty when the file
// is missing or names none. Only absolute paths count.
QString folderFromConf(const QString& confFile);

// Who the process runs as, for the write check.
struct Identity {
    uint uid = 0;
    QList<uint> groups; // effective and supplementary
};
Identity currentIdentity();
// Replaces the process identity in the write check (tests; nullopt restores).
void setIdentityForCheck(std::optional<Identity> identity);

// Empty when the process may write into the folder; otherwise the Japanese
// message that names the folder and, for a group-shared folder, the group.
QString writeProblem(const QString& folder);

// Makes files created from now on group-writable when the folder is shared by
// its group (set-group-ID), so SQLite's -wal and -shm files, the ini file and
// analysis files stay usable by every member.
void shareWithGroup(const QString& folder);
// Adds group read and write to a file in a group-shared folder.
void makeGroupWritable(const QString& file);

} // namespace ProgramFolder
