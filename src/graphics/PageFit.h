// Pictures fitted into a page or a clipboard frame.
#pragma once

#include <QImage>
#include <QRect>

// The largest rectangle of the picture's proportions inside the page, centred.
QRect fitIntoPage(QSize picture, QRect page);
// The picture with a one-pixel black frame drawn over its outermost pixels.
QImage withBlackFrame(const QImage& picture);
