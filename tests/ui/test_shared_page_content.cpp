// The PDF rewrite that stores the pages' common beginning once: every page
// renders as before (poppler's pdftoppm, the reader of the platform's PDF
// tools, compared pixel by pixel), the cross-reference table points at every
// object, the shared part closes its text objects, and a file with nothing to
// share or not written by Qt stays byte for byte as it was.
#include "SharedPageContent.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

using PagePainter = std::function<void(QPainter&, int page)>;

// A postcard of form text and lines, as a sheet of cards begins.
void drawForm(QPainter& dc) {
    dc.setFont(QFont(QStringLiteral("IPAGothic"), 12));
    for (int row = 0; row < 8; ++row) {
        dc.drawText(QPointF(100, 200 + row * 200), QStringLiteral("● 項目%1 お名前とご住所").arg(row));
        dc.drawLine(QPointF(100, 240 + row * 200), QPointF(1500, 240 + row * 200));
    }
}

// The page's own entries; "No. 1", "No. 2", ... share their first glyphs,
// so the pages agree up to the middle of a text object.
void drawEntries(QPainter& dc, int page) {
    dc.setFont(QFont(QStringLiteral("IPAGothic"), 14));
    dc.drawText(QPointF(1000, 100), QStringLiteral("No. %1").arg(page + 1));
    dc.fillRect(QRectF(200 + page * 60, 1900, 50, 50), Qt::black);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writePdf(const QString& path, int pages, const PagePainter& paint) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Postcard));
    writer.setResolution(254);
    QPainter dc(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        paint(dc, i);
    }
}

struct Rendered {
    QList<QImage> pages;
    QString errors;
};

Rendered render(const QString& pdf, const QString& prefix) {
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"), pdf, prefix});
    p.waitForFinished(20000);
    Rendered r;
    r.errors = QString::fromLocal8Bit(p.readAllStandardError());
    const QFileInfo base(prefix);
    const QStringList files =
        QDir(base.path()).entryList({base.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    for (const QString& f : files)
        r.pages << QImage(base.path() + '/' + f);
    return r;
}

// Every in-use row of the cross-reference table points at its object.
QStringList badOffsets(const QByteArray& pdf) {
    QStringList bad;
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    const qsizetype xref = pdf.mid(startxref + 9, 24).trimmed().split('\n').value(0).toLongLong();
    const QList<QByteArray> lines = pdf.mid(xref).split('\n');
    const int count = lines.value(1).split(' ').value(1).toInt();
    if (!lines.value(0).startsWith("xref") || count < 2)
        return {QStringLiteral("no table at startxref")};
    for (int i = 1; i < count; ++i) {
        const QList<QByteArray> row = lines.value(2 + i).trimmed().split(' ');
        if (row.value(2) == "n" &&
            !pdf.mid(row.value(0).toLongLong()).startsWith(QByteArray::number(i) + " 0 obj"))
            bad << QString::number(i);
    }
    const QRegularExpression size(QStringLiteral("/Size\\s+(\\d+)"));
    if (size.match(QString::fromLatin1(pdf.mid(xref))).captured(1).toInt() != count)
        bad << QStringLiteral("trailer size");
    return bad;
}

// The content of the stream object the rewrite adds, the last one.
QByteArray sharedContent(const QByteArray& pdf) {
    const QRegularExpression last(
        QStringLiteral("\\n(\\d+) 0 obj\\n<<\\n/Length (\\d+)\\n/Filter /FlateDecode\\n>>\\nstream\\n"));
    QRegularExpressionMatch m;
    for (auto it = last.globalMatch(QString::fromLatin1(pdf)); it.hasNext();)
        m = it.next();
    if (!m.hasMatch())
        return {};
    const QByteArray framed("\x00\x00\x00\x01", 4); // a length guess qUncompress grows from
    return qUncompress(framed + pdf.mid(m.capturedEnd(0), m.captured(2).toInt()));
}

int count(const QByteArray& content, const char* token) {
    int n = 0;
    for (const QByteArray& t : content.simplified().split(' '))
        n += t == token;
    return n;
}

struct Case {
    const char* name;
    int pages;
    PagePainter paint;
    bool shared; // whether the file is rewritten
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class SharedPageContentTest : public ::testing::TestWithParam<Case> {};

TEST_P(SharedPageContentTest, PagesRenderAsBeforeAndTheFileShrinksOnlyWhenShared) {
    const Case& c = GetParam();
    QTemporaryDir dir;
    const QString before = dir.filePath(QStringLiteral("before.pdf"));
    const QString after = dir.filePath(QStringLiteral("after.pdf"));
    writePdf(before, c.pages, c.paint);
    ASSERT_TRUE(QFile::copy(before, after));
    const QByteArray original = readAll(before);

    EXPECT_EQ(SharedPageContent::Apply(after), c.shared);
    const QByteArray rewritten = readAll(after);
    if (!c.shared) {
        EXPECT_EQ(rewritten, original);
        return;
    }
    EXPECT_LT(rewritten.size(), original.size());
    EXPECT_EQ(badOffsets(rewritten), QStringList());
    EXPECT_TRUE(rewritten.contains("/Contents ["));
    const QByteArray shared = sharedContent(rewritten);
    ASSERT_FALSE(shared.isEmpty());
    EXPECT_EQ(count(shared, "BT"), count(shared, "ET")) << "a text object left open";

    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const Rendered was = render(before, dir.filePath(QStringLiteral("before")));
    const Rendered is = render(after, dir.filePath(QStringLiteral("after")));
    EXPECT_EQ(is.errors, QString());
    ASSERT_EQ(was.pages.size(), c.pages);
    ASSERT_EQ(is.pages.size(), c.pages);
    for (int i = 0; i < c.pages; ++i)
        EXPECT_TRUE(is.pages[i] == was.pages[i]) << "page " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SharedPageContentTest,
    ::testing::Values(Case{"FormThenEntries", 6,
                           [](QPainter& dc, int page) {
                               drawForm(dc);
                               drawEntries(dc, page);
                           },
                           true},
                      // A last sheet with less on it keeps its own content whole.
                      Case{"ShorterLastSheet", 5,
                           [](QPainter& dc, int page) {
                               if (page < 4)
                                   drawForm(dc);
                               drawEntries(dc, page);
                           },
                           true},
                      // The first page starts from the painter's fresh state, unlike the
                      // others: two pages have too little in common.
                      Case{"TwoPages", 2,
                           [](QPainter& dc, int page) {
                               drawForm(dc);
                               drawEntries(dc, page);
                           },
                           false},
                      Case{"IdenticalPages", 4, [](QPainter& dc, int) { drawForm(dc); }, true},
                      Case{"OnePage", 1,
                           [](QPainter& dc, int page) {
                               drawForm(dc);
                               drawEntries(dc, page);
                           },
                           false},
                      // Pages that differ from their first drawing on share too little to gain.
                      Case{"NothingInCommon", 5,
                           [](QPainter& dc, int page) {
                               drawEntries(dc, page);
                               drawForm(dc);
                           },
                           false}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Files that are not as Qt writes them stay untouched.
TEST(SharedPageContentTest, FilesNotLaidOutAsQtWritesThemStayAsTheyWere) {
    QTemporaryDir dir;
    const QString model = dir.filePath(QStringLiteral("model.pdf"));
    writePdf(model, 6, [](QPainter& dc, int page) {
        drawForm(dc);
        drawEntries(dc, page);
    });
    const QByteArray pdf = readAll(model);
    const qsizetype xref = pdf.lastIndexOf("\nxref\n") + 1;
    QByteArray shiftedTable = pdf;
    shiftedTable.insert(xref, "\n");
    QByteArray updated = pdf;
    updated.insert(updated.indexOf("/Root"), "/Prev 15\n");
    QByteArray plainStreams = pdf;
    plainStreams.replace("/Filter /FlateDecode", "/Filter /LZWDecode  ");
    const QList<std::pair<const char*, QByteArray>> cases{
        {"not a PDF", "just some text\n"},        {"cut short", pdf.left(pdf.size() / 2)},
        {"table not at startxref", shiftedTable}, {"updated since written", updated},
        {"other stream filter", plainStreams},    {"empty", {}},
    };
    for (const auto& [name, bytes] : cases) {
        const QString path = dir.filePath(QStringLiteral("case.pdf"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        EXPECT_FALSE(SharedPageContent::Apply(path)) << name;
        EXPECT_EQ(readAll(path), bytes) << name;
    }
    EXPECT_FALSE(SharedPageContent::Apply(dir.filePath(QStringLiteral("missing.pdf"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.pdf"))));
}

} // namespace
