#pragma once
// Draws the whole history graph into a painter: plot with its column ticks,
// the three series, scale, average lines, axis titles, legend and title.
// Drawing units are 0.01 mm; the device's resolution maps them to its units.
#include "KCGraphPlotArray.h"

#include <QFont>
#include <QRectF>

class CDB;
class QPainter;

class CKCGraphDraw {
public:
    // Which program shows the graph: the instructor utility titles it with the
    // selection and prints condition marks under the columns.
    enum Form { kTaskProgram, kUtility };

    // Plot rectangle and columns of a picture (all in 0.01 mm).
    struct Layout {
        QRectF plot;
        double columnWidth = 0;
        int visibleColumns = 1;
    };
    static Layout LayoutFor(const QRectF& picture);

    static const QString kFace; // "ＭＳ Ｐゴシック"
    // Written across the plot when the selection holds no trial to plot.
    static const QString kNothingToShow;

    // rect is in the painter's coordinates when inLogicalUnits is false, else
    // already in 0.01 mm. The user's name is looked up when userDb is given.
    void SetUp(QPainter* dc, const QRectF& rect, bool inLogicalUnits, const CKCGraphData& data, CDB* userDb,
               Form form = kTaskProgram);
    // Draws with `firstColumn` (1-based) as the leftmost visible trial.
    void Draw(int firstColumn);

    // "%s  %s" of the user's name and task in the task program; the utility
    // adds the selection and course labels.
    QString Title() const;

    // The plot array of the last drawing.
    const CKCGraphPlotArray& PlotArray() const { return m_array; }
    const QRectF& Picture() const { return m_picture; }

private:
    void drawSeries(int firstColumn);
    void drawGrid();
    void drawScale();
    void drawAverages();
    void drawTitles();
    void drawLegend();
    void drawNothingToShow();
    void dashedLine(const QColor& colour, double width, double x1, double x2, double y);
    void textAt(double x, double top, const QString& s, Qt::Alignment horizontal);

    QPainter* m_dc = nullptr;
    QRectF m_picture;
    const CKCGraphData* m_data = nullptr;
    Form m_form = kTaskProgram;
    QString m_userName;
    QFont m_font;
    CKCGraphPlotArray m_array;
};
