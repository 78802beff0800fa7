#include "graphics/forms/PlayBar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

PlayBar::PlayBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::NoFocus);
}

void PlayBar::setTicks(const std::vector<int>& ticks) {
    ticks_ = ticks;
    update();
}

void PlayBar::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (ticks_.empty() || maximum() <= minimum())
        return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const int handle = style()->pixelMetric(QStyle::PM_SliderLength, &option, this);
    const int span = width() - handle;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int tick : ticks_) {
        const int x =
            handle / 2 + QStyle::sliderPositionFromValue(minimum(), maximum(), tick, span);
        painter.drawLine(x, height() - 4, x, height() - 1);
    }
}
