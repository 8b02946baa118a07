#pragma once
// Turns analysed trials into the points and scales of the history graph.
// Offsets are in the drawing's units (0.01 mm): x from the plot's left edge,
// y upwards from the plot's bottom edge.
#include <QRectF>
#include <QString>

#include <array>
#include <vector>

class CArrKaisekiMain;
class CArrKaisekiMain_ShikouKai;

// What the graph plots: a copy of the trials' plotted values in order, and the
// run that selected them. Being a copy, it stays valid when the run is
// cleared or run again.
struct CKCGraphData {
    struct Trial {
        int trialNo = 0; // drawn under the column
        int course = 0;
        // Work count, correct count, item correct rate: as run, and converted to 60 minutes.
        std::array<double, 3> values{};
        std::array<double, 3> values60{};
        QString conditionMarks; // shown under the column by the instructor utility
    };
    std::vector<Trial> trials;
    int problemCode = 0;
    int userCode = 0;
    int selectionType = 0; // 1..4 time limit, 5 converted to 60 minutes, 6 aborted
    int courseFilter = 0;  // 1..3 that course, 4 courses 1 and 3
    QString userName;      // title name when no user database is given

    static CKCGraphData From(const CArrKaisekiMain& run);
    // Marks under a trial's column in the utility: グ graph shown, 音/○/色 the
    // feedback method, タ timer, 円 remaining time.
    static QString ConditionMarks(const CArrKaisekiMain_ShikouKai& trial);
    void Add(const CArrKaisekiMain_ShikouKai& trial);
    // The three plotted values of a trial; the 60-minute ones when the selection converts them.
    const std::array<double, 3>& valuesOf(const Trial& trial) const;
};

class CKCGraphPlotArray {
public:
    enum Series { kWorkCount = 0, kCorrectCount = 1, kItemRate = 2 };
    static constexpr int kRateMax = 100;

    struct Point {
        const CKCGraphData::Trial* trial = nullptr; // in the data the array was built from
        double x = 0;                               // centre of the trial's column
        std::array<int, 3> y{};                     // per series, truncated to whole units
        int course = 0;
    };

    void Build(const CKCGraphData& data, const QRectF& plot, double columnWidth);

    const std::vector<Point>& Points() const { return m_points; }
    const QRectF& Plot() const { return m_plot; }
    double ColumnWidth() const { return m_columnWidth; }
    int CountMax() const { return m_countMax; }
    // Average item correct rate of the trials of course 1, 2 or 3 (0 without any), and its height.
    double AverageRate(int course) const { return m_average.at(course - 1); }
    int AverageY(int course) const { return m_averageY.at(course - 1); }

    // The count scale's top for the largest count: the next multiple of 100
    // above 100, else 100, 50, 20 or 10; 100 when there is nothing to count.
    static int RoundCountMax(double largest);

private:
    std::vector<Point> m_points;
    QRectF m_plot;
    double m_columnWidth = 0;
    int m_countMax = 100;
    std::array<double, 3> m_average{};
    std::array<int, 3> m_averageY{};
};
