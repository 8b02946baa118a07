#include "ICListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include <limits>

namespace {
constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kTextInset = 2;  // text starts this far inside its cell
constexpr int kCheckBoxSize = 13;
// The check box keeps this far from the cell's edge and from the text, so that
// it touches neither the list's frame nor the first letter.
constexpr int kCheckBoxMargin = 4;
constexpr int kCheckBoxGapV = 2; // above and below the box, within its row
const QColor kLinkColour(0, 0, 255);
const QString kOpenMarker = QStringLiteral("<H8>");
const QString kCloseMarker = QStringLiteral("</H8>");
const QString kEllipsis = QStringLiteral("...");
const QString kEllipsisDrawn = QStringLiteral("...     ");

QRect checkBoxRect(const QRect& cell) {
    return {cell.left() + kCheckBoxMargin, cell.top() + (cell.height() - kCheckBoxSize) / 2, kCheckBoxSize,
            kCheckBoxSize};
}
} // namespace

CICListCtrl::CICListCtrl(QWidget* parent) : QTreeWidget(parent) {
    // A tree widget starts with one column; a list has only the columns inserted.
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    viewport()->setMouseTracking(true);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { takeFocusBeforeScrolling(); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { takeFocusBeforeScrolling(); });
}

void CICListCtrl::SetUp(bool ownerDraw, const QString& faceName, int tag) {
    Attach(this, faceName, tag);
    if (HasOwnFont())
        setFont(OwnFont());
    m_ownerDraw = ownerDraw;
    if (ownerDraw)
        setSelectionBehavior(QAbstractItemView::SelectRows);
    viewport()->update();
}

void CICListCtrl::InsertColumn(int column, const QString& caption, int width, Qt::Alignment align) {
    const int count = columnCount();
    column = std::clamp(column, 0, count);
    QStringList captions;
    for (int c = 0; c < count; ++c)
        captions << headerItem()->text(c);
    captions.insert(column, caption);
    setColumnCount(count + 1);
    for (int r = 0; r < topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = topLevelItem(r);
        for (int c = count; c > column; --c)
            item->setText(c, item->text(c - 1));
        item->setText(column, QString());
    }
    setHeaderLabels(captions);
    headerItem()->setTextAlignment(column, align | Qt::AlignVCenter);
    setColumnWidth(column, width);
}

void CICListCtrl::InsertSizedColumn(int column, const QString& caption, const QString& sample, Qt::Alignment align) {
    const int captionWidth = header()->fontMetrics().horizontalAdvance(caption) + 4 * kTextInset;
    InsertColumn(column, caption, std::max(WidthFor(sample), captionWidth), align);
}

int CICListCtrl::InsertItem(int index, const QString& text, qint64 data, int image) {
    index = std::clamp(index, 0, topLevelItemCount());
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, kDataRole, data);
    item->setData(0, kImageRole, image);
    if (m_checkBoxes) {
        item->setCheckState(0, Qt::Unchecked);
        if (m_ownerDraw) // the owner drawing draws and toggles the box itself
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        // Rows tall enough that the boxes of neighbouring rows stay apart.
        const int height = std::max(QFontMetrics(ListFont()).height(), kCheckBoxSize) + 2 * kCheckBoxGapV;
        item->setSizeHint(0, QSize(0, height));
    }
    insertTopLevelItem(index, item);
    return index;
}

void CICListCtrl::SetItemText(int row, int column, const QString& text) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setText(column, text);
}

QString CICListCtrl::ItemText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

qint64 CICListCtrl::ItemData(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, kDataRole).toLongLong() : 0;
}

int CICListCtrl::SingleSelection() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.size() == 1 ? indexOfTopLevelItem(selected.constFirst()) : -1;
}

void CICListCtrl::SelectRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return;
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

void CICListCtrl::SetCheckBoxes(bool on) { m_checkBoxes = on; }

int CICListCtrl::CheckBoxRoom() { return kCheckBoxMargin + kCheckBoxSize + kCheckBoxMargin - kTextInset; }

void CICListCtrl::SetCheck(int row, bool checked) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

bool CICListCtrl::GetCheck(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && item->checkState(0) == Qt::Checked;
}

void CICListCtrl::SetImageList(const QList<QIcon>& images, const QSize& size) {
    m_images = images;
    m_imageSize = size;
    setIconSize(size);
}

void CICListCtrl::SetCursors(const QCursor& normal, const QCursor& link) {
    m_normalCursor = normal;
    m_linkCursor = link;
    m_cursorsSet = true;
}

QFont CICListCtrl::ListFont() const { return HasOwnFont() ? OwnFont() : font(); }

QFont CICListCtrl::HighlightFont() const {
    QFont f = ListFont();
    f.setWeight(QFont::Bold);
    return f;
}

int CICListCtrl::WidthFor(const QString& text) const {
    // Laid out as drawn, character by character: rounded advances add up to more than the whole text's.
    const QFont listFont = ListFont();
    const QFont highlightFont = HighlightFont();
    const QList<TextPiece> pieces =
        LayOutCellText(text, listFont, highlightFont, 0, std::numeric_limits<int>::max() / 2);
    int end = 0;
    if (!pieces.isEmpty())
        end = pieces.last().x +
              QFontMetrics(pieces.last().highlight ? highlightFont : listFont).horizontalAdvance(pieces.last().text);
    return end + QFontMetrics(listFont).horizontalAdvance(kEllipsis) + 2 * kTextInset + 1;
}

QList<CICListCtrl::TextPiece> CICListCtrl::LayOutCellText(const QString& text, const QFont& listFont,
                                                          const QFont& highlightFont, int left, int right,
                                                          Qt::Alignment alignment) {
    const QFontMetrics normalMetrics(listFont);
    const QFontMetrics highlightMetrics(highlightFont);
    QList<TextPiece> pieces;
    bool highlight = false;
    int x = left;
    for (qsizetype i = 0; i < text.size();) {
        if (QStringView(text).mid(i).startsWith(kOpenMarker)) {
            highlight = true;
            i += kOpenMarker.size();
            continue;
        }
        if (QStringView(text).mid(i).startsWith(kCloseMarker)) {
            highlight = false;
            i += kCloseMarker.size();
            continue;
        }
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, n);
        const QFontMetrics& fm = highlight ? highlightMetrics : normalMetrics;
        const int width = fm.horizontalAdvance(ch);
        if (x + width + fm.horizontalAdvance(kEllipsis) >= right) {
            pieces.append({kEllipsisDrawn, highlight, x});
            break;
        }
        pieces.append({ch, highlight, x});
        x += width;
        i += n;
    }
    const bool fits = pieces.isEmpty() || pieces.constLast().text != kEllipsisDrawn;
    if (fits && (alignment & (Qt::AlignRight | Qt::AlignHCenter))) {
        const int room = std::max(0, right - kTextInset - x);
        const int shift = alignment & Qt::AlignRight ? room : room / 2;
        for (TextPiece& piece : pieces)
            piece.x += shift;
    }
    return pieces;
}

void CICListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!m_ownerDraw) {
        QTreeWidget::drawRow(painter, option, index);
        return;
    }
    const QTreeWidgetItem* item = itemFromIndex(index);
    if (!item)
        return;
    const int row = index.row();
    const bool selected = SingleSelection() == row;
    const QPalette& pal = palette();
    QColor background = pal.color(QPalette::Base);
    QColor text = pal.color(QPalette::Text);
    if (selected) {
        background = pal.color(hasFocus() ? QPalette::Highlight : QPalette::Button);
        text = pal.color(hasFocus() ? QPalette::HighlightedText : QPalette::ButtonText);
    }
    const QRect rowRect(-horizontalOffset(), option.rect.y(), header()->length(), option.rect.height());
    painter->save();
    painter->fillRect(rowRect, background);
    if (selected && currentIndex().row() == row) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rowRect;
        focus.backgroundColor = background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    for (int visual = 0; visual < header()->count(); ++visual) {
        const int column = header()->logicalIndex(visual);
        if (header()->isSectionHidden(column))
            continue;
        const QRect cell(header()->sectionViewportPosition(column), rowRect.y(), header()->sectionSize(column),
                         rowRect.height());
        drawCell(painter, item, column, cell, IsLinkColumn(column) && !selected ? kLinkColour : text);
    }
    painter->restore();
}

void CICListCtrl::drawCell(QPainter* painter, const QTreeWidgetItem* item, int column, const QRect& cell,
                           const QColor& textColour) const {
    painter->save();
    painter->setClipRect(cell);
    int x = cell.left() + kTextInset;
    if (column == 0 && m_checkBoxes) {
        const QRect box = checkBoxRect(cell);
        painter->fillRect(box, palette().color(QPalette::Base));
        painter->setPen(palette().color(QPalette::Text));
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        if (item->checkState(0) == Qt::Checked) {
            const QPolygon tick{QPoint(box.left() + 3, box.center().y()), QPoint(box.left() + 5, box.bottom() - 3),
                                QPoint(box.right() - 3, box.top() + 3)};
            painter->drawPolyline(tick);
        }
        x = box.right() + 1 + kCheckBoxMargin;
    }
    const int image = column == 0 ? item->data(0, kImageRole).toInt() : -1;
    if (image >= 0 && image < m_images.size()) {
        const QRect r(x, cell.top() + (cell.height() - m_imageSize.height()) / 2, m_imageSize.width(),
                      m_imageSize.height());
        m_images[image].paint(painter, r);
        x = r.right() + 1 + kTextInset;
    }
    const QFont listFont = ListFont();
    const QFont highlightFont = HighlightFont();
    const QFontMetrics fm(listFont);
    const int baseline = cell.top() + (cell.height() - fm.height()) / 2 + fm.ascent();
    painter->setPen(textColour);
    const auto alignment = Qt::Alignment(item->textAlignment(column)) & Qt::AlignHorizontal_Mask;
    for (const TextPiece& piece :
         LayOutCellText(item->text(column), listFont, highlightFont, x, cell.right() + 1, alignment)) {
        painter->setFont(piece.highlight ? highlightFont : listFont);
        painter->drawText(piece.x, baseline, piece.text);
    }
    painter->restore();
}

void CICListCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_cursorsSet) {
        const QModelIndex index = indexAt(event->position().toPoint());
        const bool overLink = index.isValid() && IsLinkColumn(index.column()) &&
                              !ItemText(index.row(), index.column()).isEmpty();
        viewport()->setCursor(overLink ? m_linkCursor : m_normalCursor);
    }
    QTreeWidget::mouseMoveEvent(event);
}

void CICListCtrl::mousePressEvent(QMouseEvent* event) {
    if (m_ownerDraw && m_checkBoxes) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid() && index.column() == 0 &&
            checkBoxRect(visualRect(index)).contains(event->position().toPoint()))
            toggleCheck(itemFromIndex(index));
    }
    QTreeWidget::mousePressEvent(event);
}

void CICListCtrl::keyPressEvent(QKeyEvent* event) {
    if (m_ownerDraw && m_checkBoxes && event->key() == Qt::Key_Space && currentItem()) {
        toggleCheck(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CICListCtrl::toggleCheck(QTreeWidgetItem* item) {
    item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void CICListCtrl::takeFocusBeforeScrolling() {
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
}
