// The start time read back from the name of an analysis file.
#include "FuzzTarget.h"

#include "AppSub.h"
#include "Clock.h"
#include "Codec.h"

FUZZ_TARGET(file_date) {
    // Any name: a time only when it is a real one.
    QDateTime read;
    if (AppSub::DateFromFileName(cp932::decode(data), read))
        FUZZ_CHECK(read.isValid());

    // Every name the programs write gives its time back, whatever the user's names.
    if (data.size() < 7)
        return;
    const auto byte = [&](int i) { return static_cast<uchar>(data[i]); };
    const QDate date(1 + (byte(0) << 8 | byte(1)) % 9999, 1 + byte(2) % 12, 1 + byte(3) % 31);
    if (!date.isValid())
        return;
    const QDateTime start = naiveDateTime(date, QTime(byte(4) % 24, byte(5) % 60, byte(6) % 60));
    // Folder separators in a name are the business of the file-name rule of user names.
    QStringList names = cp932::decode(data.mid(7)).split(u'\t');
    for (QString& name : names)
        name.remove(u'/').remove(u'\\');
    for (const AppSub::CsvKind kind : {AppSub::CsvKind::InputValues, AppSub::CsvKind::AnalysisResult}) {
        for (int task = 0; task <= 4; ++task) {
            const QString file = AppSub::CsvFileName(kind, task, start, names.value(0), names.value(1));
            FUZZ_CHECK(AppSub::DateFromFileName(QStringLiteral("/解析結果/7/") + file, read) &&
                       read == start);
        }
    }
}
