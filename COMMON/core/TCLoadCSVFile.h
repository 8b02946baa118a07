#pragma once
// Reader of the CSV files the programs write (code page 932, CR LF): the lines
// of a file, and the fields of a line by the quoting rule of CsvField.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class CTCLoadCSVFile {
public:
    // Reads the file's lines, skipping empty lines and lines that begin with "//".
    // Throws CICException "ファイル %s が存在しません。" when there is no file, and
    // CICException naming the path when it cannot be read; the reader then
    // holds no lines. The memory of the file loaded before is reused.
    void Load(const QString& path);
    // The same from the bytes of a file already read.
    void LoadBytes(const QByteArray& bytes);
    // The bytes of a file, with the errors of Load.
    static QByteArray ReadAll(const QString& path);

    // Load split into loading and throwing, for loading on a thread of its
    // own: the text of a CICException is one for the whole process, so only
    // the thread that handles the error may raise it.
    struct ReadStatus {
        bool missing = false; // no such file
        int error = 0;        // the errno that stopped the reading; 0 when read
        bool ok() const { return !missing && error == 0; }
    };
    ReadStatus TryLoad(const QString& path);
    // Throws for a failed read what Load throws; nothing for a good one.
    static void ThrowIfFailed(const ReadStatus& status, const QString& path);

    int GetRowCount() const { return static_cast<int>(m_lines.size()); }
    // The whole line of a row (1-based); empty when the row does not exist.
    QString GetLine(int row) const;
    // Field col (1-based) of a row; empty when the row or field does not exist.
    // Only the first character of the separator counts.
    QString GetField(int row, int col, const QString& separator = QStringLiteral(",")) const;
    // All fields of a row at once; element k - 1 equals GetField(row, k, separator).
    QStringList GetFields(int row, const QString& separator = QStringLiteral(",")) const;

    // The fields of one row as views, filled again for each row so that reading
    // a long file allocates nothing per line: a field without quotes views the
    // loaded text, only a quoted one is unquoted into storage of its own.
    class RowView {
    public:
        int size() const { return static_cast<int>(m_fields.size()); }
        // Field i (0-based); empty when the row has no such field.
        QStringView value(int i) const { return i >= 0 && i < size() ? m_fields[i] : QStringView(); }

    private:
        friend class CTCLoadCSVFile;
        std::vector<QStringView> m_fields;
        std::vector<QString> m_unquoted; // views point into their (heap) text
    };
    // Element k - 1 of `fields` equals GetField(row, k, separator). The views
    // are valid while this reader lives and loads nothing else, and until
    // `fields` is filled again.
    void GetRowView(int row, RowView& fields, QChar separator = u',') const;

    // The same rules on one line of text.
    static QString ExtractField(const QString& line, int col, QChar separator = u',');
    static QStringList SplitFields(const QString& line, QChar separator = u',');

private:
    struct Span {
        qsizetype start, length;
    };
    QStringView line(int row) const { return QStringView(m_text).mid(m_lines[row - 1].start, m_lines[row - 1].length); }

    static ReadStatus readAll(const QString& path, QByteArray& bytes);

    QByteArray m_bytes; // the file as read, kept for its memory
    QString m_text;     // the whole file; rows are spans of it
    std::vector<Span> m_lines;
};
