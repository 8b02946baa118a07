#pragma once
// Base of the three summary lists of the basic result screen: one row per
// analysed trial, each list class with its own columns and cell texts. The
// texts are made when a row is shown, so thousands of trials list at once.
#include "OutReportView.h"

#include <vector>

class CArrKaisekiMain;
class CArrKaisekiMain_ShikouKai;

class COutListBase : public COutReportView {
    Q_OBJECT
public:
    // What the rows are shown for.
    struct Context {
        int problemCode = 1;
        int trialTime = 2;   // 1..6 as in the trial history; 5 shows the 60-minute values
        int courseGroup = 1;
        int timeBand = 0;    // 0 全体, 1..4 the quarter hours
    };

    using COutReportView::COutReportView;

    // Lists the trials of the analysis (which must outlive the rows).
    void SetRows(const CArrKaisekiMain& analysis, const Context& context);
    int RowCount() const override { return int(m_trials.size()); }
    int ColumnCount() const override { return int(m_columns.size()); }
    QString Caption(int column) const override { return m_columns.value(column).caption; }
    QString Text(int row, int column) const override;
    Qt::Alignment Alignment(int column) const override { return m_columns.value(column).alignment; }
    // A trial whose input file is missing shows why across its value columns.
    int MessageColumn(int row) const override;

protected:
    struct Column {
        QString caption;
        QString sample; // sizes the column
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    virtual QList<Column> Columns() const = 0;
    virtual QString CellText(const CArrKaisekiMain_ShikouKai& trial, int column) const = 0;
    // Called once the rows are set, before they are shown.
    virtual void RowsSet() {}
    // The first column of values (after the leading columns).
    virtual int firstValueColumn() const { return 3; }

    const Context& context() const { return m_context; }
    const std::vector<const CArrKaisekiMain_ShikouKai*>& trials() const { return m_trials; }
    // 試行回, 実施日 and 経過時間, the first three columns of every list.
    static QList<Column> LeadingColumns();
    QString leadingText(const CArrKaisekiMain_ShikouKai& trial, int column) const;

private:
    Context m_context;
    QList<Column> m_columns;
    std::vector<const CArrKaisekiMain_ShikouKai*> m_trials;
};
