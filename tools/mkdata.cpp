// zentry-mkdata: builds the default data files of the program folder.
//
//   zentry-mkdata master DATA_DIR OUT_FILE   the master data file (Quillon01.mst)
//   zentry-mkdata userdb OUT_FILE            the empty user database template (UserData.org)
//   zentry-mkdata demo-user PROGRAM_DIR      a demo trainee in PROGRAM_DIR's UserData.mdb
//
// The master file holds the postal list of DATA_DIR/ken_all.tsv and the task
// cards, which are generated here from the name lists in DATA_DIR with a fixed
// seed, so every build yields the same cards. Both commands write into a
// temporary file beside OUT_FILE and rename it at the end: a failed build
// leaves the previous file, never half a file.
#include "Codec.h"
#include "ICException.h"
#include "demo_user.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Failures

struct BuildError {
    QString message;
};

[[noreturn]] void fail(const QString& message) {
    throw BuildError{message};
}

void printError(const QString& message) {
    std::fprintf(stderr, "zentry-mkdata: %s\n", message.toUtf8().constData());
}

// ---------------------------------------------------------------------------
// Deterministic random numbers: splitmix64, so the cards do not depend on the
// standard library's distributions, which differ between implementations.

class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1; the modulo bias is far below anything the cards could show.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    // Index into weights, chosen in proportion to them.
    int weighted(std::initializer_list<int> weights) {
        int total = 0;
        for (int w : weights)
            total += w;
        int x = below(total);
        int i = 0;
        for (int w : weights) {
            if (x < w)
                return i;
            x -= w;
            ++i;
        }
        return i - 1;
    }
    template <typename T> const T& pick(const std::vector<T>& v) {
        return v[static_cast<size_t>(below(int(v.size())))];
    }

private:
    std::uint64_t m_state;
};

constexpr std::uint64_t kSeed = 0x5A454E5452590001ull;

// ---------------------------------------------------------------------------
// Source data

struct PostalRow {
    QString dantai, zip5, zip7, prefKana, cityKana, townKana, pref, city, town;
};

struct Name {
    QString kanji, kana, roman;
};

struct SourceData {
    std::vector<PostalRow> postal;
    QString versionDate; // "YYYY-MM-DD 00:00:00"
    std::vector<Name> families;
    std::vector<Name> givens;
    QMap<QString, QString> areaCodes; // prefecture -> area code; ordered, so iteration is stable
    std::vector<QString> domains;
};

bool roundTripsCp932(const QString& s) {
    return cp932::decode(cp932::encode(s)) == s;
}

// Reads a UTF-8 text file as lines without their line ends.
QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.exists())
        fail(QStringLiteral("%1 is missing").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    QString text = QString::fromUtf8(f.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isDigits(const QString& s, int length) {
    if (s.size() != length)
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

void loadPostal(const QString& dir, SourceData& data) {
    const QString path = dir + QStringLiteral("/ken_all.tsv");
    const QStringList lines = readLines(path);
    static const QString header = QStringLiteral("DantaiCode\tZipCode5\tZipCode7\tTodofukenKana\tCity1Kana\tC"
                                                 "ity2Kana\tTodofukenKanji\tCity1Kanji\tCity2Kanji");
    if (lines.isEmpty() || lines.first() != header)
        fail(QStringLiteral("%1: the first line is not the expected column header").arg(path));
    data.postal.reserve(size_t(lines.size()));
    const PostalRow* prev = nullptr;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(QLatin1Char('\t'));
        auto bad = [&](const QString& why) {
            fail(QStringLiteral("%1 line %2: %3").arg(path).arg(i + 1).arg(why));
        };
        if (f.size() != 9)
            bad(QStringLiteral("%1 fields instead of 9").arg(f.size()));
        PostalRow r{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]};
        if (!isDigits(r.zip7, 7))
            bad(QStringLiteral("ZipCode7 \"%1\" is not seven digits").arg(r.zip7));
        // An empty prefecture or city repeats the row above (the file leaves
        // repeats out to stay small); the first row must name both.
        const bool ditto =
            r.prefKana.isEmpty() && r.cityKana.isEmpty() && r.pref.isEmpty() && r.city.isEmpty();
        if (ditto) {
            if (!prev)
                bad(QStringLiteral("the first row has no prefecture and city"));
            r.prefKana = prev->prefKana;
            r.cityKana = prev->cityKana;
            r.pref = prev->pref;
            r.city = prev->city;
        } else if (r.prefKana.isEmpty() || r.cityKana.isEmpty() || r.pref.isEmpty() || r.city.isEmpty()) {
            bad(QStringLiteral("prefecture and city must be given in full or left out in full"));
        }
        data.postal.push_back(std::move(r));
        prev = &data.postal.back();
    }
    if (data.postal.empty())
        fail(QStringLiteral("%1 holds no postal rows").arg(path));

    const QString vpath = dir + QStringLiteral("/ken_all_version.txt");
    const QStringList v = readLines(vpath);
    const QString date = v.isEmpty() ? QString() : v.first().trimmed();
    if (!QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid())
        fail(QStringLiteral("%1: \"%2\" is not a date of the form YYYY-MM-DD").arg(vpath, date));
    data.versionDate = date + QStringLiteral(" 00:00:00");
}

bool isFullWidthKatakana(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!((c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6) || c.unicode() == 0x30FC))
            return false;
    return true;
}

bool isLowerAscii(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return false;
    return true;
}

// Data lines of a list file: comments (#) and blank lines skipped, with their line numbers.
std::vector<std::pair<int, QString>> dataLines(const QString& path) {
    std::vector<std::pair<int, QString>> out;
    const QStringList lines = readLines(path);
    for (int i = 0; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty() && !lines[i].startsWith(QLatin1Char('#')))
            out.emplace_back(i + 1, lines[i]);
    return out;
}

std::vector<Name> loadNames(const QString& path) {
    std::vector<Name> names;
    for (const auto& entry : dataLines(path)) {
        const int line = entry.first;
        const QStringList f = entry.second.split(QLatin1Char('\t'));
        auto bad = [&](const QString& why) {
            fail(QStringLiteral("%1 line %2: %3").arg(path).arg(line).arg(why));
        };
        if (f.size() != 3)
            bad(QStringLiteral("expected kanji, kana and romanisation separated by tabs"));
        Name n{f[0], f[1], f[2]};
        if (n.kanji.isEmpty() || !roundTripsCp932(n.kanji))
            bad(QStringLiteral("\"%1\" is empty or not in code page 932").arg(n.kanji));
        if (!isFullWidthKatakana(n.kana))
            bad(QStringLiteral("reading \"%1\" is not full-width katakana").arg(n.kana));
        if (!isLowerAscii(n.roman))
            bad(QStringLiteral("romanisation \"%1\" is not lower-case a-z").arg(n.roman));
        names.push_back(n);
    }
    if (names.size() < 20)
        fail(QStringLiteral("%1 holds only %2 names; at least 20 are needed").arg(path).arg(names.size()));
    return names;
}

void loadLists(const QString& dir, SourceData& data) {
    data.families = loadNames(dir + QStringLiteral("/family_names.tsv"));
    data.givens = loadNames(dir + QStringLiteral("/given_names.tsv"));

    const QString apath = dir + QStringLiteral("/area_codes.tsv");
    for (const auto& [line, text] : dataLines(apath)) {
        const QStringList f = text.split(QLatin1Char('\t'));
        if (f.size() != 2 || f[0].isEmpty() || f[1].size() < 2 || f[1].size() > 4 ||
            !f[1].startsWith(QLatin1Char('0')) || !isDigits(f[1], f[1].size()))
            fail(QStringLiteral(
                     "%1 line %2: expected a prefecture and an area code of 2 to 4 digits starting with 0")
                     .arg(apath)
                     .arg(line));
        data.areaCodes.insert(f[0], f[1]);
    }

    const QString dpath = dir + QStringLiteral("/mail_domains.txt");
    for (const auto& [line, text] : dataLines(dpath)) {
        const QString d = text.trimmed();
        bool ok =
            d.contains(QLatin1Char('.')) && !d.startsWith(QLatin1Char('.')) && !d.endsWith(QLatin1Char('.'));
        for (QChar c : d)
            ok = ok && ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                        (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
                        c == QLatin1Char('-'));
        if (!ok)
            fail(QStringLiteral("%1 line %2: \"%3\" is not a lower-case domain name")
                     .arg(dpath)
                     .arg(line)
                     .arg(d));
        data.domains.push_back(d);
    }
    if (data.domains.empty())
        fail(QStringLiteral("%1 holds no domains").arg(dpath));
}

// ---------------------------------------------------------------------------
// Card values

// The drawn postcard leaves about 19 full-width characters for the address at
// 11 points; longer addresses would run past the form's line.
constexpr int kAddressMaxChars = 19;
// E-mail addresses stay within the line of both the postcard and the voucher.
constexpr int kMailMaxChars = 30;

// Joins the parts in order. Random parts are built as its arguments, not as
// operands of "+", whose order of evaluation the language leaves open: the
// cards must not depend on the compiler.
QString concat(std::initializer_list<QString> parts) {
    QString s;
    for (const QString& p : parts)
        s += p;
    return s;
}

QString fullWidthNumber(int n) {
    QString s = QString::number(n);
    for (QChar& c : s)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    return s;
}

QString digits(Rng& r, int count, bool firstNonZero = false) {
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + ((i == 0 && firstNonZero) ? r.between(1, 9) : r.below(10)));
    return s;
}

const QString kHyphen = QStringLiteral("－"); // full-width, like the rest of the address

// Block number in the forms seen on Japanese addresses: chome-ban-go, ban-go, or ban alone.
QString blockNumber(Rng& r, int room) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        QString b;
        switch (r.weighted({70, 20, 10})) {
        case 0:
            b = concat({fullWidthNumber(r.between(1, 9)), kHyphen, fullWidthNumber(r.between(1, 30)), kHyphen,
                        fullWidthNumber(r.between(1, 25))});
            break;
        case 1:
            b = concat({fullWidthNumber(r.percent(70) ? r.between(1, 99) : r.between(100, 1999)), kHyphen,
                        fullWidthNumber(r.between(1, 30))});
            break;
        default:
            b = fullWidthNumber(r.between(1, 2999)) + QStringLiteral("番地");
            break;
        }
        if (b.size() <= room)
            return b;
    }
    return concat({fullWidthNumber(r.between(1, 9)), kHyphen, fullWidthNumber(r.between(1, 9))});
}

QString mobileNumber(Rng& r) {
    static const char* const prefixes[] = {"090", "080", "070"};
    return concat({QLatin1String(prefixes[r.weighted({50, 40, 10})]), QStringLiteral("-"), digits(r, 4, true),
                   QStringLiteral("-"), digits(r, 4)});
}

// Ten digits in all: 03-XXXX-XXXX, 011-XXX-XXXX, 0776-XX-XXXX.
QString landlineNumber(Rng& r, const QString& area) {
    const int exchange = 6 - int(area.size());
    return concat({area, QStringLiteral("-"), QString(QChar(u'0' + r.between(2, 9))), digits(r, exchange - 1),
                   QStringLiteral("-"), digits(r, 4)});
}

QString mailAddress(Rng& r, const Name& family, const Name& given, const std::vector<QString>& domains,
                    QSet<QString>& used) {
    const QString f = family.roman, g = given.roman;
    for (int attempt = 0; attempt < 60; ++attempt) {
        QString local;
        switch (r.below(8)) {
        case 0:
            local = g + QLatin1Char('.') + f;
            break;
        case 1:
            local = f + QLatin1Char('.') + g;
            break;
        case 2:
            local = g + QLatin1Char('_') + f;
            break;
        case 3:
            local = f + QLatin1Char('-') + g.left(1);
            break;
        case 4:
            local = g + f.left(1) + digits(r, 2);
            break;
        case 5:
            local = f + QString::number(r.between(50, 99));
            break;
        case 6:
            local = g.left(1) + QLatin1Char('.') + f;
            break;
        default:
            local = f + QLatin1Char('_') + g.left(1) + digits(r, 3, true);
            break;
        }
        const QString mail = local + QLatin1Char('@') + r.pick(domains);
        if (mail.size() <= kMailMaxChars && !used.contains(mail)) {
            used.insert(mail);
            return mail;
        }
    }
    fail(
        QStringLiteral("no free e-mail address for %1 %2 within %3 characters").arg(f, g).arg(kMailMaxChars));
}

// A questionnaire answer code, or empty for "no answer".
QString answer(Rng& r, std::initializer_list<int> weights) {
    if (r.percent(4))
        return QStringLiteral("");
    return QString::number(r.weighted(weights) + 1);
}

std::vector<int> excludedCards(Rng& r, int count) {
    std::vector<int> out;
    const int wanted = 2 + r.below(3); // two to four cards
    while (int(out.size()) < wanted && int(out.size()) < count) {
        const int n = r.between(1, count);
        if (std::find(out.begin(), out.end(), n) == out.end())
            out.push_back(n);
    }
    return out;
}

struct Card {
    int number = 0;
    QStringList values; // Col02 onward
    int jogai = 0;
};

// Postal rows that make a clean card address: a named town area without
// floors, lot or chome notes of its own, whose code the search resolves to at
// most three rows, short enough for the postcard, all in code page 932.
std::vector<int> addressCandidates(const SourceData& data) {
    QHash<QString, int> rowsPerCode;
    for (const PostalRow& p : data.postal)
        ++rowsPerCode[p.zip7];
    static const QStringList unwanted = {QStringLiteral("（"),   QStringLiteral("("),    QStringLiteral("・"),
                                         QStringLiteral("番地"), QStringLiteral("地割"), QStringLiteral("階"),
                                         QStringLiteral("区画"), QStringLiteral("丁目"), QStringLiteral("線"),
                                         QStringLiteral("、"),   QStringLiteral("～"),   QStringLiteral("〜"),
                                         QStringLiteral("一円")};
    std::vector<int> out;
    for (int i = 0; i < int(data.postal.size()); ++i) {
        const PostalRow& p = data.postal[size_t(i)];
        if (p.town.isEmpty() || rowsPerCode.value(p.zip7) > 3 || !data.areaCodes.contains(p.pref))
            continue;
        bool clean = true;
        for (QChar c : p.town)
            clean = clean && !c.isDigit();
        for (const QString& u : unwanted)
            clean = clean && !p.town.contains(u);
        const QString base = p.pref + p.city + p.town;
        if (clean && base.size() + 5 <= kAddressMaxChars && roundTripsCp932(base))
            out.push_back(i);
    }
    return out;
}

std::vector<Card> questionnaireCards(const SourceData& data, const std::vector<int>& candidates, int count,
                                     std::uint64_t seed) {
    Rng r(seed);
    std::vector<Card> cards;
    QSet<QString> usedNames, usedMail, usedCodes;
    const std::vector<int> excluded = excludedCards(r, count);
    for (int n = 1; n <= count; ++n) {
        const Name* family = nullptr;
        const Name* given = nullptr;
        for (int attempt = 0;; ++attempt) {
            family = &r.pick(data.families);
            given = &r.pick(data.givens);
            if (!usedNames.contains(family->kanji + given->kanji) || attempt > 50)
                break;
        }
        usedNames.insert(family->kanji + given->kanji);

        const PostalRow* p = nullptr;
        for (int attempt = 0;; ++attempt) {
            p = &data.postal[size_t(r.pick(candidates))];
            if (!usedCodes.contains(p->zip7) || attempt > 50)
                break;
        }
        usedCodes.insert(p->zip7);
        const QString base = p->pref + p->city + p->town;
        const QString address = base + blockNumber(r, kAddressMaxChars - int(base.size()));
        const QString phone =
            r.percent(40) ? landlineNumber(r, data.areaCodes.value(p->pref)) : mobileNumber(r);

        Card c;
        c.number = n;
        c.values = {
            family->kana + QStringLiteral("　") + given->kana,
            family->kanji + QStringLiteral("　") + given->kanji,
            p->zip7.left(3) + QLatin1Char('-') + p->zip7.mid(3),
            address,
            phone,
            mailAddress(r, *family, *given, data.domains, usedMail),
            answer(r, {30, 20, 12, 10, 18, 10}), // 問１: how the reader heard of the book
            answer(r, {50, 35, 15}),             // 問２: was it useful
            answer(r, {55, 45}),                 // 問３: catalogue wanted or not
        };
        c.jogai = std::find(excluded.begin(), excluded.end(), n) != excluded.end() ? 1 : 0;
        cards.push_back(c);
    }
    return cards;
}

// Letters of the codes leave out I and O, which read as 1 and 0 on paper.
const QString kCodeLetters = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ");

QString codeLetters(Rng& r, int count) {
    QString s;
    for (int i = 0; i < count; ++i)
        s += kCodeLetters.at(r.below(int(kCodeLetters.size())));
    return s;
}

std::vector<Card> voucherCards(const SourceData& data, int count, std::uint64_t seed) {
    Rng r(seed);
    std::vector<Card> cards;
    QSet<QString> usedCustomers, usedMail;
    std::vector<QString> areas;
    for (auto it = data.areaCodes.cbegin(); it != data.areaCodes.cend(); ++it)
        areas.push_back(it.value());
    const std::vector<int> excluded = excludedCards(r, count);
    for (int n = 1; n <= count; ++n) {
        QString customer;
        do
            customer = concat({codeLetters(r, 2), digits(r, 6)}); // 8 characters, e.g. KT038152
        while (usedCustomers.contains(customer));
        usedCustomers.insert(customer);
        // 12 characters, e.g. BKT-40317-08
        const QString product =
            concat({codeLetters(r, 3), QStringLiteral("-"), digits(r, 5), QStringLiteral("-"), digits(r, 2)});
        const QString phone = r.percent(50) ? landlineNumber(r, r.pick(areas)) : mobileNumber(r);
        const Name& family = r.pick(data.families);
        const Name& given = r.pick(data.givens);
        Card c;
        c.number = n;
        c.values = {customer, product, phone, mailAddress(r, family, given, data.domains, usedMail)};
        c.jogai = std::find(excluded.begin(), excluded.end(), n) != excluded.end() ? 1 : 0;
        cards.push_back(c);
    }
    return cards;
}

// A mistyped character of the same kind (digit, capital, small letter), most
// often one that looks or sits close to it, so the length never changes.
QChar mistype(Rng& r, QChar c) {
    static const QHash<QChar, QString> lookalike = [] {
        QHash<QChar, QString> m;
        const char* const pairs[][2] = {
            {"0", "869"}, {"1", "74"},  {"2", "73"}, {"3", "85"}, {"4", "91"}, {"5", "63"}, {"6", "508"},
            {"7", "12"},  {"8", "306"}, {"9", "04"}, {"a", "oe"}, {"b", "dh"}, {"c", "eo"}, {"d", "bp"},
            {"e", "ca"},  {"f", "t"},   {"g", "q"},  {"h", "bn"}, {"i", "jl"}, {"j", "i"},  {"k", "h"},
            {"l", "i"},   {"m", "n"},   {"n", "mh"}, {"o", "a"},  {"p", "q"},  {"q", "g"},  {"r", "n"},
            {"s", "z"},   {"t", "f"},   {"u", "v"},  {"v", "u"},  {"w", "v"},  {"x", "k"},  {"y", "v"},
            {"z", "s"},   {"B", "8R"},  {"C", "G"},  {"D", "B"},  {"E", "F"},  {"F", "E"},  {"G", "C"},
            {"M", "N"},   {"N", "M"},   {"P", "R"},  {"R", "P"},  {"U", "V"},  {"V", "U"}};
        for (const auto& p : pairs)
            m.insert(QLatin1Char(p[0][0]), QLatin1String(p[1]));
        return m;
    }();
    QString pool;
    if (c.isDigit())
        pool = QStringLiteral("0123456789");
    else if (c.isUpper())
        pool = kCodeLetters;
    else
        pool = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    QString near;
    for (QChar n : lookalike.value(c))
        if (pool.contains(n))
            near += n;
    if (!near.isEmpty() && r.percent(60))
        return near.at(r.below(int(near.size())));
    for (;;) {
        const QChar x = pool.at(r.below(int(pool.size())));
        if (x != c)
            return x;
    }
}

// The values as typed wrongly on each voucher: one to three characters changed
// on most vouchers, none on about one in seven.
std::vector<Card> voucherErrors(const std::vector<Card>& vouchers, std::uint64_t seed) {
    Rng r(seed);
    std::vector<Card> out;
    for (const Card& v : vouchers) {
        Card e = v;
        const int changes = r.weighted({15, 40, 30, 15});
        QSet<int> touched; // item * 1000 + position
        for (int k = 0; k < changes; ++k) {
            for (int attempt = 0; attempt < 20; ++attempt) {
                const int item = r.below(int(e.values.size()));
                QString& s = e.values[item];
                std::vector<int> spots;
                for (int i = 0; i < s.size(); ++i)
                    if (s.at(i).isLetterOrNumber() && s.at(i).unicode() < 0x80 &&
                        !touched.contains(item * 1000 + i))
                        spots.push_back(i);
                if (spots.empty())
                    continue;
                const int pos = r.pick(spots);
                s[pos] = mistype(r, s.at(pos));
                touched.insert(item * 1000 + pos);
                break;
            }
        }
        out.push_back(e);
    }
    return out;
}

void checkCards(const QString& table, const std::vector<Card>& cards) {
    for (const Card& c : cards)
        for (const QString& v : c.values)
            if (!roundTripsCp932(v))
                fail(QStringLiteral("%1 card %2: \"%3\" is not in code page 932")
                         .arg(table)
                         .arg(c.number)
                         .arg(v));
}

// ---------------------------------------------------------------------------
// Writing

// Empty values are stored as empty text, never NULL: the programs read codes
// with a plain decimal conversion and compare text byte for byte.
QVariant textValue(const QString& s) {
    return s.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(s);
}

void exec(QSqlQuery& q, const QString& what) {
    if (!q.exec())
        fail(QStringLiteral("%1: %2").arg(what, q.lastError().text()));
}

void prepare(QSqlQuery& q, const QString& sql) {
    if (!q.prepare(sql))
        fail(QStringLiteral("%1: %2").arg(sql, q.lastError().text()));
}

void insertCards(QSqlDatabase& db, const QString& table, const std::vector<Card>& cards) {
    if (cards.empty())
        return;
    const int columns = int(cards.front().values.size()) + 2;
    QStringList marks;
    for (int i = 0; i < columns; ++i)
        marks << QStringLiteral("?");
    QSqlQuery q(db);
    prepare(q, QStringLiteral("INSERT INTO [%1] VALUES (%2)").arg(table, marks.join(QLatin1Char(','))));
    for (const Card& c : cards) {
        q.bindValue(0, c.number);
        for (int i = 0; i < c.values.size(); ++i)
            q.bindValue(i + 1, textValue(c.values[i]));
        q.bindValue(columns - 1, c.jogai);
        exec(q, QStringLiteral("%1 card %2").arg(table).arg(c.number));
    }
}

void insertPostal(QSqlDatabase& db, const SourceData& data) {
    QSqlQuery q(db);
    prepare(q, QStringLiteral("INSERT INTO [KEN_ALL] VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    int id = 0;
    for (const PostalRow& p : data.postal) {
        q.bindValue(0, ++id);
        q.bindValue(1, textValue(p.dantai));
        q.bindValue(2, textValue(p.zip5));
        q.bindValue(3, textValue(p.zip7));
        q.bindValue(4, textValue(p.prefKana));
        q.bindValue(5, textValue(p.cityKana));
        q.bindValue(6, textValue(p.townKana));
        q.bindValue(7, textValue(p.pref));
        q.bindValue(8, textValue(p.city));
        q.bindValue(9, textValue(p.town));
        for (int f = 10; f < 16; ++f)
            q.bindValue(f, 0);
        exec(q, QStringLiteral("KEN_ALL row %1").arg(id));
    }
    QSqlQuery v(db);
    prepare(v, QStringLiteral("INSERT INTO [KEN_ALL_Version] VALUES (?, ?)"));
    v.bindValue(0, 1);
    v.bindValue(1, data.versionDate);
    exec(v, QStringLiteral("KEN_ALL_Version"));
}

// Builds a database file at tmpPath: creates the tables, lets fill() write the
// rows, then creates the indexes (after the rows: one sort instead of index
// upkeep per row), all in one transaction.
template <typename Fill>
void buildDatabase(const QString& tmpPath, const QStringList& statements, Fill fill) {
    const QString connection = QStringLiteral("zentry-mkdata");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(tmpPath);
        if (!db.open())
            fail(QStringLiteral("cannot create %1: %2").arg(tmpPath, db.lastError().text()));
        try {
            QStringList tables, indexes;
            for (const QString& s : statements)
                (s.startsWith(QStringLiteral("CREATE INDEX"), Qt::CaseInsensitive) ? indexes : tables) << s;
            if (!db.transaction())
                fail(QStringLiteral("cannot start a transaction: %1").arg(db.lastError().text()));
            Schema::create(db, tables);
            fill(db);
            Schema::create(db, indexes);
            if (!db.commit())
                fail(QStringLiteral("cannot commit %1: %2").arg(tmpPath, db.lastError().text()));
        } catch (const CDBException& e) {
            db.rollback();
            db.close();
            fail(QStringLiteral("%1: %2").arg(tmpPath, e.text()));
        } catch (...) {
            db.rollback();
            db.close();
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

// Runs build(tmpPath) and moves the result to outPath; removes the
// temporary file on any failure.
template <typename Build> void writeAtomically(const QString& outPath, Build build) {
    const QFileInfo out(outPath);
    if (!out.absoluteDir().exists())
        fail(QStringLiteral("the folder of %1 does not exist").arg(outPath));
    const QString tmpPath =
        out.absoluteFilePath() + QStringLiteral(".tmp%1").arg(QCoreApplication::applicationPid());
    auto removeTemp = [&] {
        QFile::remove(tmpPath);
        QFile::remove(tmpPath + QStringLiteral("-journal"));
    };
    removeTemp();
    try {
        build(tmpPath);
    } catch (...) {
        removeTemp();
        throw;
    }
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(tmpPath.toStdString()),
                            std::filesystem::path(outPath.toStdString()), ec);
    if (ec) {
        removeTemp();
        fail(QStringLiteral("cannot move %1 to %2: %3")
                 .arg(tmpPath, outPath, QString::fromStdString(ec.message())));
    }
}

// ---------------------------------------------------------------------------
// Commands

constexpr int kCourse13Cards = 300; // Mst01, Mst02: skill test and level-up training
constexpr int kCourse2Cards = 100;  // Mst03, Mst04: basic training

void buildMaster(const QString& dataDir, const QString& outPath) {
    if (!QFileInfo(dataDir).isDir())
        fail(QStringLiteral("data folder %1 does not exist").arg(dataDir));
    SourceData data;
    loadPostal(dataDir, data);
    loadLists(dataDir, data);

    const std::vector<int> candidates = addressCandidates(data);
    if (candidates.empty())
        fail(QStringLiteral("no postal row of %1/ken_all.tsv makes a card address").arg(dataDir));

    // Each table has its own seed, so a change to one table leaves the others as they were.
    const std::vector<Card> mst01 = questionnaireCards(data, candidates, kCourse13Cards, kSeed ^ 0x01);
    const std::vector<Card> mst03 = questionnaireCards(data, candidates, kCourse2Cards, kSeed ^ 0x03);
    const std::vector<Card> mst02 = voucherCards(data, kCourse13Cards, kSeed ^ 0x02);
    const std::vector<Card> mst04 = voucherCards(data, kCourse2Cards, kSeed ^ 0x04);
    const std::vector<Card> mst02e = voucherErrors(mst02, kSeed ^ 0x12);
    const std::vector<Card> mst04e = voucherErrors(mst04, kSeed ^ 0x14);
    checkCards(QStringLiteral("Mst01"), mst01);
    checkCards(QStringLiteral("Mst03"), mst03);
    checkCards(QStringLiteral("Mst02"), mst02);
    checkCards(QStringLiteral("Mst04"), mst04);
    checkCards(QStringLiteral("Mst02Error"), mst02e);
    checkCards(QStringLiteral("Mst04Error"), mst04e);

    writeAtomically(outPath, [&](const QString& tmpPath) {
        buildDatabase(tmpPath, Schema::masterDatabase(), [&](QSqlDatabase& db) {
            insertPostal(db, data);
            insertCards(db, QStringLiteral("Mst01"), mst01);
            insertCards(db, QStringLiteral("Mst03"), mst03);
            insertCards(db, QStringLiteral("Mst02"), mst02);
            insertCards(db, QStringLiteral("Mst04"), mst04);
            insertCards(db, QStringLiteral("Mst02Error"), mst02e);
            insertCards(db, QStringLiteral("Mst04Error"), mst04e);
        });
    });
    std::printf("%s: %zu postal rows, list date %s, cards Mst01 %zu, Mst02 %zu, Mst03 %zu, Mst04 %zu\n",
                outPath.toUtf8().constData(), data.postal.size(),
                data.versionDate.left(10).toUtf8().constData(), mst01.size(), mst02.size(), mst03.size(),
                mst04.size());
}

void buildUserDatabase(const QString& outPath) {
    // The template keeps the default rollback journal: a database in WAL mode
    // cannot even be read from a folder the reader may not write to (it needs
    // its -shm file), and the template may lie in such a folder.
    writeAtomically(outPath, [&](const QString& tmpPath) {
        buildDatabase(tmpPath, Schema::userDatabase(), [](QSqlDatabase&) {});
    });
    std::printf("%s: empty user database\n", outPath.toUtf8().constData());
}

int usage() {
    std::fprintf(stderr, "usage: zentry-mkdata master DATA_DIR OUT_FILE\n"
                         "       zentry-mkdata userdb OUT_FILE\n"
                         "       zentry-mkdata demo-user PROGRAM_DIR\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 4 && args[1] == QLatin1String("master")) {
            buildMaster(args[2], args[3]);
            return 0;
        }
        if (args.size() == 3 && args[1] == QLatin1String("userdb")) {
            buildUserDatabase(args[2]);
            return 0;
        }
        if (args.size() == 3 && args[1] == QLatin1String("demo-user"))
            return addDemoUser(args[2]);
        return usage();
    } catch (const BuildError& e) {
        printError(e.message);
    } catch (const CDBException& e) {
        printError(e.text());
    } catch (const std::exception& e) {
        printError(QString::fromUtf8(e.what()));
    }
    return 1;
}
