// The reader and writer of the initialisation file on any bytes.
#include "FuzzTarget.h"

#include "PrivateProfile.h"

using namespace PrivateProfile;

namespace {
const QString kSections[] = {QStringLiteral("Settings"), QStringLiteral("WindowPos"),
                             QStringLiteral("settings"), QStringLiteral("新しい節")};
const QString kKeys[] = {QStringLiteral("order_flg"), QStringLiteral("mst_path"), QStringLiteral("Top"),
                         QStringLiteral("ORDER_FLG"), QStringLiteral("表示キー")};
const QString kValues[] = {
    QStringLiteral("1"), QStringLiteral("-2147483648"), QStringLiteral("C:\\表示\\Quillon01.mst"),
    QString(),           QStringLiteral("a=b;c"),       QStringLiteral("x \"y\" z")};
} // namespace

FUZZ_TARGET(ini) {
    if (data.size() < 2)
        return;
    const QString& section = kSections[static_cast<uchar>(data[0]) % 4];
    const QString& key = kKeys[static_cast<uchar>(data[0]) / 4 % 5];
    const QString& value = kValues[static_cast<uchar>(data[1]) % 6];
    const QByteArray content = data.mid(2);

    const QByteArray written = withString(content, section, key, value);
    FUZZ_CHECK(readStringFrom(written, section, key, QStringLiteral("?")) == value);
    // Every other key reads as before.
    for (const QString& s : kSections) {
        for (const QString& k : kKeys) {
            readIntFrom(content, s, k, 7);
            if (s.compare(section, Qt::CaseInsensitive) == 0 && k.compare(key, Qt::CaseInsensitive) == 0)
                continue;
            FUZZ_CHECK(readStringFrom(written, s, k, QStringLiteral("?")) ==
                       readStringFrom(content, s, k, QStringLiteral("?")));
        }
    }
}
