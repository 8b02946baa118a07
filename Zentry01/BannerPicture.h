#pragma once
// The picture across the top of the task program's screens: the sky banner,
// scaled to the screen's width, with the screen's caption on it.
#include <QString>
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
