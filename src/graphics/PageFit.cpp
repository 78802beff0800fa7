// Fitting a picture to a page, and the black frame of clipboard pictures.
#include "graphics/PageFit.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

QRect fitIntoPage(QSize picture, QRect page) {
    if (picture.isEmpty() || page.isEmpty())
        return {};
    const double scale = std::min(static_cast<double>(page.width()) / picture.width(),
                                  static_cast<double>(page.height()) / picture.height());
    const int w = std::max(1, static_cast<int>(std::lround(picture.width() * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(picture.height() * scale)));
    return {page.left() + (page.width() - w) / 2, page.top() + (page.height() - h) / 2, w, h};
}

QImage withBlackFrame(const QImage& picture) {
    QImage framed = picture.convertToFormat(QImage::Format_RGB32);
    if (framed.isNull())
        return framed;
    QPainter painter(&framed);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, framed.width() - 1, framed.height() - 1);
    return framed;
}
