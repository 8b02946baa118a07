// The trials file of an export folder (History_tbl.tsv) as the import reads it
// into history rows.
#include "FuzzTarget.h"

#include "ExportFormat.h"
#include "Recordset.h"
#include "Recordsets.h"

#include <cmath>

FUZZ_TARGET(history_tsv) {
    const std::optional<ExportFormat::HistoryFile> file = ExportFormat::ParseHistoryTsv(data);
    if (!file)
        return;
    FUZZ_CHECK(file->fieldOf.size() == ExportFormat::kHistoryColumns.size());
    const int problemField = file->Column(QStringLiteral("problem_code"));
    const int dateField = file->Column(QStringLiteral("execution_date"));
    for (const QStringList& row : file->rows) {
        file->UserCode(row);
        CRsHistory_tbl rs(nullptr);
        ExportFormat::FillHistoryRow(*file, row, rs);
        // Texts come over as they are; numbers are real numbers (a rate of
        // "inf" or "nan" would reach every list and graph).
        FUZZ_CHECK(rs.m_problem_code == (problemField >= 0 ? row.value(problemField) : QString()));
        for (const double v : {rs.m_correct_rate, rs.m_correct_rate_koumoku, rs.m_answer_number60,
                               rs.m_answer_koumoku60, rs.m_correct_number60, rs.m_correct_koumoku60,
                               rs.m_correct_rate60, rs.m_correct_rate_koumoku60})
            FUZZ_CHECK(std::isfinite(v));
        // A date comes over exactly as the export writes it.
        if (rs.m_execution_date.isValid())
            FUZZ_CHECK(dateFromDb(rs.m_execution_date.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))) ==
                       rs.m_execution_date);
        else if (dateField >= 0)
            FUZZ_CHECK(!dateFromDb(row.value(dateField)).isValid());
    }
}
