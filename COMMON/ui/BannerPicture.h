#pragma once
// The picture across the top of both programs' screens: the sky banner,
// scaled to the screen's width, with the screen's caption on it.
#include "ScreenSetup.h"

#include <QString>
#include <QVBoxLayout>
#include <QWidget>

class QSvgRenderer;

class CBannerPicture : public QWidget {
    Q_OBJECT
public:
    explicit CBannerPicture(const QString& caption, QWidget* parent = nullptr);
    const QString& caption() const { return m_caption; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    QSvgRenderer* m_renderer;
};

// Lays a screen out as the banner over the rest: returns the screen's outer
// column, the banner already in it.
QVBoxLayout* AddBanner(QWidget* screen, const QString& caption);

// The banner over a body layout of the given kind whose margins are given at
// 96 DPI and scaled to the screen; returns the body.
template <typename Layout>
Layout* AddBannerAndBody(QWidget* screen, const QString& caption, int side, int top, int bottom) {
    QVBoxLayout* outer = AddBanner(screen, caption);
    auto* body = new Layout;
    const int margin = ScreenSetup::ScaleX(screen, side);
    body->setContentsMargins(margin, ScreenSetup::ScaleY(screen, top), margin, ScreenSetup::ScaleY(screen, bottom));
    outer->addLayout(body, 1);
    return body;
}
