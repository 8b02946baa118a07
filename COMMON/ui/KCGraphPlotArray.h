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

// What the graph plots: the trials in order and the run that selected them.
// The trials are not owned; they must outlive the graph's use of them.
struct CKCGraphData {
    std::vector<const CArrKaisekiMain_ShikouKai*> trials;
    int problemCode = 0;
    int userCode = 0;
    int selectionType = 0; // 1..4 time limit, 5 converted to 60 minutes, 6 aborted
    int courseFilter = 0;  // 1..3 that course, 4 courses 1 and 3
    QString userName;      // title name when no user database is given

    static CKCGraphData From(const CArrKaisekiMain& run);
    // The three plotted values of a trial: work count, correct count, item
    // correct rate; the 60-minute values when the selection converts them.
    std::array<double, 3> valuesOf(const CArrKaisekiMain_ShikouKai& trial) const;
};

class CKCGraphPlotArray {
public:
    enum Series { kWorkCount = 0, kCorrectCount = 1, kItemRate = 2 };
    static constexpr int kRateMax = 100;

    struct Point {
        const CArrKaisekiMain_ShikouKai* trial = nullptr;
        double x = 0;                // centre of the trial's column
        std::array<int, 3> y{};      // per series, truncated to whole units
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
