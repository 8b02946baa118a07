#pragma once
// The one exception the shared code throws for its own failures. The message is
// ready for the user and names the source file and line where it was raised.
#include <QString>
#include <exception>

class CICException : public std::exception {
public:
    // Formats the process-wide message and throws. Never returns.
    [[noreturn]] static void Throw(const QString& message, const char* sourceFile, int line);

    // The text of the last raise.
    QString GetErrorMessage() const;
    // Copies the text into buffer (size in characters), truncated and always terminated.
    bool GetErrorMessage(char16_t* buffer, unsigned size) const;
    const char* what() const noexcept override;

    // The message format, exposed for callers that report without throwing.
    static QString format(const QString& message, const char* sourceFile, int line);
};

#define IC_THROW(message) CICException::Throw((message), __FILE__, __LINE__)

// Engine failures (SQLite through Qt SQL) are reported with their own type, as
// the engine's own text; they are not wrapped in CICException. The failures a
// user can act on (a full disk, a read-only or damaged file) are explained in
// Japanese before the engine's text.
class CDBException : public std::exception {
public:
    explicit CDBException(const QString& text);
    const QString& text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// A write that found nothing to change: the recordset cannot be updated, or
// its row no longer matches the statement that read it (another program
// changed or deleted it meanwhile). Its text is the "cannot be updated" message.
class CDBNotUpdatable : public CDBException {
public:
    using CDBException::CDBException;
};
