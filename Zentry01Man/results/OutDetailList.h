#pragma once
// The error list of the result output: one row per wrong character of the
// analysed trials that passes the three filters (0 lets everything pass), its
// texts made when the row is shown. A trial without its input file shows the
// reason in one row of its own.
#include "OutReportView.h"

#include <vector>

class CArrKaisekiMain;
class CArrKaisekiMain_Moji;
class CArrKaisekiMain_ShikouKai;

class COutDetailList : public COutReportView {
    Q_OBJECT
public:
    struct Filter {
        int errorKind = 0; // 1 入力エラー, 2 見落とし, 3 過剰修正 / 過剰チェック
        int itemCode = 0;  // 11..19, 21..24
        int charClass = 0; // 1..6
    };

    explicit COutDetailList(QWidget* parent = nullptr);

    // The analysis must outlive the rows.
    void SetRows(const CArrKaisekiMain& analysis, int problemCode, int timeBand, const Filter& filter);
    int RowCount() const override { return int(m_rows.size()); }
    int ColumnCount() const override { return int(Captions().size()); }
    QString Caption(int column) const override { return Captions().value(column); }
    QString Text(int row, int column) const override;
    int MessageColumn(int row) const override;
    // The trial of a row, and its wrong character (null on a trial's error row).
    const CArrKaisekiMain_ShikouKai* TrialAt(int row) const { return m_rows.at(row).trial; }
    const CArrKaisekiMain_Moji* RecordAt(int row) const { return m_rows.at(row).record; }
    // The selected row, -1 without one.
    int SelectedRow() const;

    static const QStringList& Captions();
    static QString ErrorKindName(int problemCode, int kind);
    static QString ItemName(int itemCode);

private:
    struct Row {
        const CArrKaisekiMain_ShikouKai* trial;
        const CArrKaisekiMain_Moji* record;
    };
    std::vector<Row> m_rows;
    int m_problemCode = 1;
    int m_timeBand = 0;
};
