#pragma once
// The card image beside a task screen's fields: one card drawn once into an
// off-screen bitmap, copied on every paint so the picture never flickers.
#include "KCPrintImageDraw.h"

#include <QImage>
#include <QWidget>

class CArrBase;

class CKCPrintImage : public QWidget {
    Q_OBJECT
public:
    // Both faces of the card drawings on screen.
    static inline const QString kFace = QStringLiteral("ＭＳ Ｐゴシック");

    explicit CKCPrintImage(QWidget* parent = nullptr);

    // Draws card `index` of the deck, framed, into a bitmap of `size` pixels
    // and repaints. The screen gives the control the same size. `shrink` (at
    // most 1) is how much smaller than usual the card is shown, where its
    // screen had to be reduced to fit: the whole drawing shrinks, texts too.
    void SetCard(const CArrBase& deck, int index, const QSize& size,
                 const CKCPrintImageDraw::TemplateIds& templateIds, int valueSource, int comparison,
                 bool enlarged, double shrink = 1.0);
    // The drawn card; null before the first card.
    const QImage& bitmap() const { return m_bitmap; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
};
