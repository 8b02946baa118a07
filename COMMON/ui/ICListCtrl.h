#pragma once
// The report lists of both programs: rows of cells, owner-drawn so that cells
// can carry "<H8>"…"</H8>" highlight markers, link columns drawn in blue with a
// hand cursor, and an ellipsis when a cell's text does not fit.
#include "ICControlBase.h"

#include <QCursor>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

class CICListCtrl : public QTreeWidget, public CICControlBase {
    Q_OBJECT

public:
    explicit CICListCtrl(QWidget* parent = nullptr);

    // Takes the face for the cells; with ownerDraw, full-row selection and the
    // drawing described above (otherwise the plain item view draws).
    void SetUp(bool ownerDraw, const QString& faceName, int tag);
    bool IsOwnerDraw() const { return m_ownerDraw; }

    void InsertColumn(int column, const QString& caption, int width, Qt::Alignment align = Qt::AlignLeft);
    // A column as wide as the sample text (whole, see WidthFor) and its caption.
    void InsertSizedColumn(int column, const QString& caption, const QString& sample,
                           Qt::Alignment align = Qt::AlignLeft);
    // Inserts a row at index (clamped to the end) and returns its index.
    int InsertItem(int index, const QString& text, qint64 data = 0, int image = -1);
    void SetItemText(int row, int column, const QString& text);
    QString ItemText(int row, int column) const;
    qint64 ItemData(int row) const;
    int ItemCount() const { return topLevelItemCount(); }
    void DeleteAllItems() { clear(); }

    // The selected row when exactly one is selected, else -1.
    int SingleSelection() const;
    // Selects and focuses the row and scrolls it into view.
    void SelectRow(int row);

    void SetCheckBoxes(bool on);
    bool HasCheckBoxes() const { return m_checkBoxes; }
    // What a check box and its margins add to the first column's width.
    static int CheckBoxRoom();
    void SetCheck(int row, bool checked);
    bool GetCheck(int row) const;

    void SetImageList(const QList<QIcon>& images, const QSize& size);

    void SetLinkColumns(const QList<int>& columns) { m_linkColumns = columns; }
    bool IsLinkColumn(int column) const { return m_linkColumns.contains(column); }
    // The link cursor is shown over non-empty link cells once both cursors are set.
    void SetCursors(const QCursor& normal, const QCursor& link);

    QFont ListFont() const;
    QFont HighlightFont() const;
    // The width a column needs to show text whole (the owner drawing ends a
    // cell in "..." when the next character and "..." would reach its edge).
    int WidthFor(const QString& text) const;

    // How a cell's text is drawn between left and right: the pieces in order,
    // each in the list font or the highlight font, the markers left out; when the
    // next character and "..." would reach right, "...     " ends the cell.
    // Text that fits keeps to the left, or moves to the right edge or the middle
    // for a cell aligned so.
    struct TextPiece {
        QString text;
        bool highlight = false;
        int x = 0;
        bool operator==(const TextPiece&) const = default;
    };
    static QList<TextPiece> LayOutCellText(const QString& text, const QFont& listFont, const QFont& highlightFont,
                                           int left, int right, Qt::Alignment alignment = Qt::AlignLeft);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeFocusBeforeScrolling();
    void toggleCheck(QTreeWidgetItem* item);
    void drawCell(QPainter* painter, const QTreeWidgetItem* item, int column, const QRect& cell,
                  const QColor& textColour) const;

    bool m_ownerDraw = false;
    bool m_checkBoxes = false;
    QList<int> m_linkColumns;
    QList<QIcon> m_images;
    QSize m_imageSize;
    QCursor m_normalCursor;
    QCursor m_linkCursor;
    bool m_cursorsSet = false;
};
