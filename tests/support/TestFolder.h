#pragma once
// A temporary program folder for one test: UserData.org built from the schema,
// the program folder pointed at it, a recording notifier installed.
#include "Notifier.h"

#include <QStringList>
#include <QTemporaryDir>

class RecordingNotifier : public INotifier {
public:
    struct Entry {
        QString text;
        MsgIcon icon;
        bool question;
    };
    void message(const QString& text, MsgIcon icon) override { entries.push_back({text, icon, false}); }
    bool askYesNo(const QString& text, MsgIcon icon) override {
        entries.push_back({text, icon, true});
        bool a = answers.isEmpty() ? false : answers.takeFirst();
        return a;
    }
    QStringList texts() const {
        QStringList out;
        for (const Entry& e : entries)
            out << e.text;
        return out;
    }
    QList<Entry> entries;
    QList<bool> answers; // answers to the next questions, in order; "no" when none left
};

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    QString path() const;                 // with a trailing "/"
    QString file(const QString& name) const { return path() + name; }
    void writeIni(const QString& content); // UTF-8 text written as code page 932 with CR LF
    // Copies the master data file built into the program folder of the build tree.
    void copyBuiltMaster();
    RecordingNotifier notifier;

private:
    QTemporaryDir m_dir;
    INotifier* m_previous;
};
