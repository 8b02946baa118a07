// The users file of an export folder (UserData.ukv) as the import reads it.
#include "FuzzTarget.h"

#include "ExportFormat.h"

FUZZ_TARGET(ukv) {
    const std::optional<QVector<ExportFormat::UkvUser>> users = ExportFormat::ParseUserDataUkv(data);
    if (!users)
        return;
    // Every user the import would register has a code and a whole name, and
    // each part can be exported again as one field.
    for (const ExportFormat::UkvUser& u : *users) {
        FUZZ_CHECK(u.code > 0);
        FUZZ_CHECK(!u.name1.isEmpty() && !u.name2.isEmpty());
        for (const QString& part : {u.kname1, u.kname2, u.name1, u.name2})
            FUZZ_CHECK(!part.contains(u'\t') && !part.contains(u'\n') && !part.contains(u'"'));
    }
}
