#pragma once
// A report list of the result output whose cell texts are made when a row is
// shown, so that thousands of rows list at once. Subclasses say what the rows
// and columns are. A row may instead show one message (a trial whose input
// file is missing) across the rest of the row.
#include <QTreeView>

#include <functional>

class COutReportView : public QTreeView {
    Q_OBJECT
public:
    explicit COutReportView(QWidget* parent = nullptr);
    ~COutReportView() override;

    virtual int RowCount() const = 0;
    virtual int ColumnCount() const = 0;
    virtual QString Caption(int column) const = 0;
    virtual QString Text(int row, int column) const = 0;
    virtual Qt::Alignment Alignment(int column) const;
    // The column from which the row's message runs to the end of the row; -1
    // for a row of ordinary cells.
    virtual int MessageColumn(int row) const;

protected:
    // Changes what the rows are, then selects the first row.
    void resetRows(const std::function<void()>& change);
    // Each column as wide as its sample text and its caption, now and after
    // every reset.
    void sizeColumns(const QStringList& samples);

private:
    void applyColumnWidths();

    class Model;
    Model* m_model;
    QStringList m_samples;
};
