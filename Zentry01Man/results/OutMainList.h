#pragma once
// The three summary lists of the basic result screen.
#include "OutListBase.h"

#include <array>

// "集計値一覧": counts and rates per trial; for the skill-test group eight
// columns mark the trials with the highest and lowest values.
class COutMainList1 : public COutListBase {
    Q_OBJECT
public:
    using COutListBase::COutListBase;
    static constexpr int kFirstMarkerColumn = 12;

protected:
    QList<Column> Columns() const override;
    QString CellText(const CArrKaisekiMain_ShikouKai& trial, int column) const override;
    void RowsSet() override;
    int firstValueColumn() const override { return 4; } // after コース

private:
    // The shown values of the four marked columns: work count, correct rate,
    // items worked, item correct rate.
    std::array<double, 4> markedValues(const CArrKaisekiMain_ShikouKai& trial) const;
    QString valueText(const CArrKaisekiMain_ShikouKai& trial, int column) const;

    bool m_markers = false;
    std::array<double, 4> m_highest{}, m_lowest{};
};

// "項目別集計値一覧": cards with an error, per item of the task.
class COutMainList2 : public COutListBase {
    Q_OBJECT
public:
    using COutListBase::COutListBase;

protected:
    QList<Column> Columns() const override;
    QString CellText(const CArrKaisekiMain_ShikouKai& trial, int column) const override;
};

// "文字種別集計値一覧": cards with an error, per character kind.
class COutMainList3 : public COutListBase {
    Q_OBJECT
public:
    using COutListBase::COutListBase;

protected:
    QList<Column> Columns() const override;
    QString CellText(const CArrKaisekiMain_ShikouKai& trial, int column) const override;
};
