#include "KCStaticShintyoku.h"

#include "OffscreenPaint.h"

#include <QPainter>

CKCStaticShintyoku::CKCStaticShintyoku(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The control's own font, so that a screen reduced to fit scales it with
    // the box it is drawn in.
    setFont(CICFont(110, QStringLiteral("ＭＳ ゴシック")));
}

void CKCStaticShintyoku::Prepare() {
    m_pixmap = OffscreenPaint::createPixmap(this);
    render();
    update();
}

void CKCStaticShintyoku::SetText(const QString& text) {
    m_text = text;
    if (m_pixmap.isNull())
        return;
    render();
    update();
}

void CKCStaticShintyoku::render() {
    QPainter p(&m_pixmap);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setFont(font());
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, m_text); // line breaks kept, no wrapping
}

void CKCStaticShintyoku::paintEvent(QPaintEvent*) { OffscreenPaint::copyToScreen(this, m_pixmap); }

void CKCStaticShintyoku::resizeEvent(QResizeEvent*) {
    if (m_pixmap.isNull())
        return;
    Prepare();
}

std::optional<QString> CKCStaticShintyoku::ProgressText(int courseCode, bool progressFlg, bool timerFlg,
                                                         int targetValue, int targetValue2, int done,
                                                         int remainingSeconds) {
    if (!progressFlg && !timerFlg)
        return std::nullopt;
    QString text;
    if (progressFlg) {
        if (courseCode == 1 || courseCode == 2)
            text = QStringLiteral("\n　終わった枚数：%1枚\n").arg(done);
        else if (courseCode == 3)
            text = QStringLiteral("　目標作業枚数：%1枚\n　目標正解枚数：%2枚\n　終わった枚数：%3枚")
                       .arg(targetValue)
                       .arg(targetValue2)
                       .arg(done);
    }
    if (timerFlg && (courseCode == 1 || courseCode == 3)) {
        const int left = std::max(remainingSeconds, 0);
        if (!text.isEmpty())
            text += '\n';
        text += QStringLiteral("　残り時間　　：%1分%2秒").arg(left / 60).arg(left % 60);
    }
    return text;
}
