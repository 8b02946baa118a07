#pragma once
// The input-value file of a trial: one header line and one line per completed
// card, code page 932 with CR LF line ends, each line on the disk as soon as it
// is written so that a crash or power cut never loses a completed card.
#include <QDateTime>
#include <QFile>
#include <QString>

#include <memory>

class CArrBase;
class CDB;

class CInputLog {
public:
    CInputLog() = default;
    ~CInputLog(); // closes
    CInputLog(const CInputLog&) = delete;
    CInputLog& operator=(const CInputLog&) = delete;

    // Closes any open file, then creates (truncates) the trial's file in the
    // user's analysis folder, named after the opening time. Throws CICException
    // with a message naming the path when the folder or the file cannot be
    // created; the trial must then not run without a record.
    void Open(CDB& userDb, int problemCode, const QDateTime& openedAt, int userCode);
    // The same for an explicit path.
    void OpenPath(const QString& path);

    bool IsOpen() const { return m_file != nullptr; }
    QString Path() const { return m_path; }

    // Writes the text as code page 932 ("\n" becomes CR LF) and forces it to the
    // disk. Does nothing when no file is open. Throws CICException naming the
    // path when the write or the flush to the disk fails; the file then ends
    // with the last whole line, so the same line can be written again.
    void WriteLine(const QString& text);
    void Close();

    // ---- line builders (each ends in "\n")
    // Header for the task (1 questionnaire, otherwise voucher); course 2 adds "チェック".
    static QString HeaderLine(int problemCode, int courseCode);
    // The line of a completed card: shown and finished times, elapsed time since
    // the trial start, exclusion flag, "%04d" number, the deck's items, and for
    // course 2 the error-check count.
    static QString CardLine(const CArrBase& deck, int index, int courseCode);

private:
    std::unique_ptr<QFile> m_file;
    QString m_path;
};
