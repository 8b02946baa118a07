// The reader of the input-value files: lines and fields of any bytes.
#include "FuzzTarget.h"

#include "Codec.h"
#include "TCLoadCSVFile.h"
#include "TextUtil.h"

FUZZ_TARGET(csv) {
    CTCLoadCSVFile file;
    file.LoadBytes(data);

    // The lines are those between the line feeds of the bytes, each decoded on
    // its own: no byte sequence, broken or not, joins two lines or splits one.
    QStringList expected;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = cp932::decode(line);
        if (!text.isEmpty() && !text.startsWith(QLatin1String("//")))
            expected << text;
    }
    FUZZ_CHECK(file.GetRowCount() == expected.size());

    CTCLoadCSVFile::RowView view; // filled again for each row, as the analysis does
    for (int row = 1; row <= file.GetRowCount(); ++row) {
        FUZZ_CHECK(file.GetLine(row) == expected.value(row - 1));
        const QStringList fields = file.GetFields(row);
        FUZZ_CHECK(!fields.isEmpty());
        file.GetRowView(row, view);
        FUZZ_CHECK(view.size() == fields.size() && view.value(view.size()).isEmpty());
        for (int k = 0; k < view.size(); ++k)
            FUZZ_CHECK(view.value(k) == fields.at(k));
        // Field by field and all at once read the same.
        for (int col = 0; col <= fields.size() + 1; ++col)
            FUZZ_CHECK(file.GetField(row, col) ==
                       (col >= 1 && col <= fields.size() ? fields.at(col - 1) : QString()));
        // Written back by the quoting rule, the fields read back unchanged.
        QStringList quoted;
        for (const QString& field : fields)
            quoted << TextUtil::CsvField(field);
        FUZZ_CHECK(CTCLoadCSVFile::SplitFields(quoted.join(u',')) == fields);
    }
    FUZZ_CHECK(file.GetField(0, 1).isEmpty() && file.GetField(file.GetRowCount() + 1, 1).isEmpty());
}
