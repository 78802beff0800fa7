#include "graphics/forms/PaintBox.h"

#include <QImage>
#include <QPainter>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::setShift(QPoint shift) {
    shift_ = shift;
    update();
}

void PaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (picture_)
        painter.drawImage(shift_, *picture_);
}
