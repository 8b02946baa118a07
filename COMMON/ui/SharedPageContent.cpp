#include "SharedPageContent.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace SharedPageContent {
namespace {

struct Object {
    int number = 0;
    qsizetype offset = 0;
    QByteArray bytes; // "N 0 obj" up to the next object or the cross-reference table
};

// A page's content stream and the object that holds its length.
struct Page {
    int object = 0;
    int contents = 0;
    int length = 0;
    QByteArray head; // the stream's dictionary up to and including "stream\n"
    QByteArray content;
    bool shares = false;
};

// FlateDecode data is a zlib stream; qUncompress wants the expected length in
// front of it and grows its buffer when the guess is short.
std::optional<QByteArray> inflate(const QByteArray& deflated) {
    const quint32 guess = static_cast<quint32>(std::min<qsizetype>(deflated.size() * 16, 1 << 26));
    QByteArray framed(4, '\0');
    for (int i = 0; i < 4; ++i)
        framed[i] = static_cast<char>(guess >> (24 - 8 * i));
    const QByteArray content = qUncompress(framed + deflated);
    if (content.isEmpty())
        return std::nullopt;
    return content;
}

QByteArray deflate(const QByteArray& content) {
    return qCompress(content, 9).mid(4);
}

QByteArray streamObject(int number, const QByteArray& head, const QByteArray& deflated) {
    return QByteArray::number(number) + " 0 obj\n" + head + deflated + "\nendstream\nendobj\n";
}

// The end of the longest run of whole lines at the start of `content` that
// closes every text object it opens: a page's streams may part between any
// two tokens, but readers are surest of parts that leave no text object open.
qsizetype safeCut(const QByteArray& content) {
    qsizetype cut = 0;
    qsizetype lineStart = 0;
    bool inText = false;
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content[i] != '\n')
            continue;
        const QList<QByteArray> tokens = content.mid(lineStart, i - lineStart).simplified().split(' ');
        for (const QByteArray& token : tokens) {
            if (token == "BT")
                inText = true;
            else if (token == "ET")
                inText = false;
            else if (token == "BI")
                return cut; // inline image data is not line-structured
        }
        lineStart = i + 1;
        if (!inText)
            cut = i + 1;
    }
    return cut;
}

qsizetype commonPrefix(const QByteArray& a, const QByteArray& b) {
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

std::optional<int> firstNumber(const QByteArray& bytes, const QRegularExpression& pattern) {
    const QRegularExpressionMatch m = pattern.match(QString::fromLatin1(bytes));
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt();
}

} // namespace

bool Apply(const QString& pdfPath) {
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray pdf = file.readAll();
    file.close();

    // The cross-reference table: one section from object 0, fixed-width rows.
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    bool ok = false;
    const qsizetype xref =
        pdf.mid(startxref + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || xref <= 0 || xref >= startxref || !pdf.mid(xref).startsWith("xref"))
        return false;
    const QList<QByteArray> lines = pdf.mid(xref, startxref - xref).split('\n');
    const QList<QByteArray> section = lines.value(1).trimmed().split(' ');
    const int count = section.value(1).toInt(&ok);
    if (section.size() != 2 || section[0] != "0" || !ok || count < 2 || lines.size() < count + 3)
        return false;
    QList<QByteArray> rows;
    QList<Object> objects;
    for (int i = 0; i < count; ++i) {
        const QByteArray row = lines[2 + i].trimmed();
        const QList<QByteArray> fields = row.split(' ');
        if (fields.size() != 3)
            return false;
        rows << row;
        if (fields[2] == "n") {
            const qsizetype offset = fields[0].toLongLong(&ok);
            if (!ok || offset <= 0 || offset >= xref)
                return false;
            objects.append({i, offset, {}});
        }
    }
    const qsizetype trailerAt = pdf.indexOf("trailer", xref);
    if (trailerAt < 0 || trailerAt > startxref)
        return false;
    QByteArray trailer = pdf.mid(trailerAt, startxref - trailerAt);
    if (trailer.contains("/Prev") || trailer.contains("/XRefStm"))
        return false; // updated since written
    std::sort(objects.begin(), objects.end(),
              [](const Object& a, const Object& b) { return a.offset < b.offset; });
    QHash<int, qsizetype> byNumber;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        Object& o = objects[i];
        const qsizetype end = i + 1 < objects.size() ? objects[i + 1].offset : xref;
        o.bytes = pdf.mid(o.offset, end - o.offset);
        if (!o.bytes.startsWith(QByteArray::number(o.number) + " 0 obj"))
            return false;
        byNumber.insert(o.number, i);
    }
    const QByteArray header = pdf.left(objects.first().offset);

    // The pages in document order, each with its decompressed content.
    static const QRegularExpression pagesType(QStringLiteral("/Type\\s*/Pages\\b"));
    static const QRegularExpression kids(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]"));
    static const QRegularExpression reference(QStringLiteral("(\\d+)\\s+0\\s+R"));
    static const QRegularExpression contentsEntry(QStringLiteral("/Contents\\s+(\\d+)\\s+0\\s+R"));
    static const QRegularExpression streamHead(QStringLiteral(
        "^\\d+ 0 "
        "obj\\s*(<<\\s*/Length\\s+(\\d+)\\s+0\\s+R\\s*/Filter\\s*/FlateDecode\\s*>>\\s*stream\\r?\\n)"));
    static const QRegularExpression lengthValue(QStringLiteral("^\\d+ 0 obj\\s*(\\d+)\\s*endobj"));
    const auto tree = std::find_if(objects.cbegin(), objects.cend(), [](const Object& o) {
        return pagesType.match(QString::fromLatin1(o.bytes.left(400))).hasMatch();
    });
    if (tree == objects.cend())
        return false;
    const QRegularExpressionMatch kidList = kids.match(QString::fromLatin1(tree->bytes));
    if (!kidList.hasMatch())
        return false;
    QList<Page> pages;
    QHash<int, int> roles; // object number -> 1 page, 2 contents, 3 length
    for (auto it = reference.globalMatch(kidList.captured(1)); it.hasNext();) {
        Page page;
        page.object = it.next().captured(1).toInt();
        if (!byNumber.contains(page.object))
            return false;
        const std::optional<int> contents = firstNumber(objects[byNumber[page.object]].bytes, contentsEntry);
        if (!contents || !byNumber.contains(*contents))
            return false;
        page.contents = *contents;
        const QByteArray& stream = objects[byNumber[page.contents]].bytes;
        const QRegularExpressionMatch head = streamHead.match(QString::fromLatin1(stream));
        if (!head.hasMatch())
            return false;
        page.length = head.captured(2).toInt();
        if (!byNumber.contains(page.length))
            return false;
        const std::optional<int> length = firstNumber(objects[byNumber[page.length]].bytes, lengthValue);
        const qsizetype start = head.capturedEnd(0);
        if (!length || start + *length > stream.size() ||
            !stream.mid(start + *length).trimmed().startsWith("endstream"))
            return false;
        page.head = head.captured(1).toLatin1();
        const std::optional<QByteArray> content = inflate(stream.mid(start, *length));
        if (!content)
            return false;
        page.content = *content;
        for (const auto& [number, role] : {std::pair{page.object, 1}, {page.contents, 2}, {page.length, 3}})
            if (roles.contains(number))
                return false; // shared already, or not as Qt writes it
            else
                roles.insert(number, role);
        pages << page;
    }

    // What the pages begin with in common. The first page starts from the
    // painter's fresh state and a last sheet may hold fewer cards, so neither
    // need share it for the others to.
    if (pages.size() < 2)
        return false;
    const qsizetype first = pages.size() >= 3 ? 1 : 0;
    const qsizetype last = pages.size() >= 4 ? pages.size() - 2 : pages.size() - 1;
    const QByteArray& model = pages[first].content;
    qsizetype common = model.size();
    for (qsizetype i = first + 1; i <= last; ++i)
        common = commonPrefix(model.left(common), pages[i].content);
    const QByteArray shared = model.left(safeCut(model.left(common)));
    if (shared.isEmpty())
        return false;
    for (Page& page : pages)
        page.shares = page.content.startsWith(shared);

    // The file again, object by object, with the shared stream added last.
    const int sharedNumber = count;
    const QByteArray sharedReference = QByteArray::number(sharedNumber) + " 0 R ";
    QHash<int, const Page*> pageOf;
    for (const Page& page : pages)
        if (page.shares)
            for (int number : {page.object, page.contents, page.length})
                pageOf.insert(number, &page);
    QByteArray out = header;
    QList<qsizetype> offsets(count + 1, -1);
    for (const Object& o : objects) {
        offsets[o.number] = out.size();
        const Page* page = pageOf.value(o.number);
        if (!page) {
            out += o.bytes;
            continue;
        }
        const QByteArray rest = deflate(page->content.mid(shared.size()));
        switch (roles[o.number]) {
        case 1: {
            const QByteArray single = "/Contents " + QByteArray::number(page->contents) + " 0 R";
            QByteArray bytes = o.bytes;
            const qsizetype at = bytes.indexOf(single);
            bytes.replace(at, single.size(),
                          "/Contents [" + sharedReference + QByteArray::number(page->contents) + " 0 R]");
            out += bytes;
            break;
        }
        case 2:
            out += streamObject(o.number, page->head, rest);
            break;
        default:
            out += QByteArray::number(o.number) + " 0 obj\n" + QByteArray::number(rest.size()) + "\nendobj\n";
        }
    }
    const QByteArray deflatedShared = deflate(shared);
    offsets[sharedNumber] = out.size();
    out += streamObject(sharedNumber,
                        "<<\n/Length " + QByteArray::number(deflatedShared.size()) +
                            "\n/Filter /FlateDecode\n>>\nstream\n",
                        deflatedShared);

    const qsizetype newXref = out.size();
    out += "xref\n0 " + QByteArray::number(count + 1) + '\n';
    for (int i = 0; i <= count; ++i) {
        if (offsets[i] < 0)
            out += rows[i] + " \n";
        else
            out += QByteArray::number(offsets[i]).rightJustified(10, '0') + " 00000 n \n";
    }
    static const QRegularExpression size(QStringLiteral("/Size\\s+\\d+"));
    const QRegularExpressionMatch sizeEntry = size.match(QString::fromLatin1(trailer));
    if (!sizeEntry.hasMatch())
        return false;
    out += trailer.replace(sizeEntry.capturedStart(), sizeEntry.capturedLength(),
                           "/Size " + QByteArray::number(count + 1));
    out += "startxref\n" + QByteArray::number(newXref) + "\n%%EOF\n";
    if (out.size() >= pdf.size())
        return false;

    QSaveFile save(pdfPath);
    if (!save.open(QIODevice::WriteOnly) || save.write(out) != out.size())
        return false;
    return save.commit();
}

} // namespace SharedPageContent
