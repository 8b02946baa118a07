#pragma once
// The history graph control: the finished picture kept in an off-screen
// bitmap, scrolled horizontally one trial column at a time.
#include "KCGraphDraw.h"

#include <QAbstractScrollArea>
#include <QImage>

class CArrKaisekiMain;
class CDB;

class CKCGraph : public QAbstractScrollArea {
    Q_OBJECT
public:
    static inline const QString kWaitingText = QStringLiteral("データを解析中です。しばらくお待ちください。");

    explicit CKCGraph(QWidget* parent = nullptr);

    // The instructor utility's form: longer title and condition marks.
    void SetForm(CKCGraphDraw::Form form) { m_form = form; }

    // Takes the run's trials and the user database (not owned, may be null; it
    // must outlive the graph), draws, and scrolls to the last trials.
    void SetData(const CArrKaisekiMain& run, CDB* userDb);
    // The same for trials gathered by the caller.
    void SetData(const CKCGraphData& data, CDB* userDb);
    // Back to the first trial, redrawn at the current size.
    void Prepare();

    bool HasData() const { return m_hasData; }
    int FirstVisibleColumn() const;
    int VisibleColumns() const { return m_visibleColumns; }
    // Draws the picture as shown (same first column) into rect, given in 0.01 mm
    // of the painter's device: for printing.
    void DrawOnPage(QPainter* dc, const QRectF& rectHundredthsMm) const;

    // The drawn picture; null while waiting for data.
    const QImage& bitmap() const { return m_bitmap; }
    // The plot array of the picture on screen.
    const CKCGraphPlotArray& PlotArray() const { return m_draw.PlotArray(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void layOut();
    void redraw();

    CKCGraphData m_data;
    CDB* m_userDb = nullptr;
    CKCGraphDraw::Form m_form = CKCGraphDraw::kTaskProgram;
    bool m_hasData = false;
    int m_visibleColumns = 1;
    QImage m_bitmap;
    CKCGraphDraw m_draw;
};
