// Cage, axes and their labels on the 3D picture.
#include "graphics/SceneFrame.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The twelve edges join vertices that differ in one coordinate.
constexpr std::array<std::pair<std::size_t, std::size_t>, 12> CageEdges{{{0, 1},
                                                                         {2, 3},
                                                                         {4, 5},
                                                                         {6, 7},
                                                                         {0, 2},
                                                                         {1, 3},
                                                                         {4, 6},
                                                                         {5, 7},
                                                                         {0, 4},
                                                                         {1, 5},
                                                                         {2, 6},
                                                                         {3, 7}}};

QPoint eyePoint(const ProjectedPoint& p, bool leftEye, const PixelMapping& map) {
    const Pixel pixel = map.toPixel(static_cast<double>(leftEye ? p.LeftX : p.RightX),
                                    static_cast<double>(p.ScreenY));
    return {pixel.x, pixel.y};
}

QFont labelFont() {
    QFont font;
    font.setPointSize(8);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A label in a small bitmap as wide as "Min" and as high as "X": mono black on white combined by
// AND, stereo in the eye colour on black combined by OR, so the picture shows through.
void drawLabel(QPainter& painter, const QString& text, QPoint at, bool stereo, QRgb colour) {
    const QFontMetrics metrics(labelFont());
    QImage label(std::max(1, metrics.horizontalAdvance("Min")), std::max(1, metrics.height()),
                 QImage::Format_RGB32);
    label.fill(stereo ? Qt::black : Qt::white);
    QPainter writer(&label);
    writer.setFont(labelFont());
    writer.setPen(stereo ? QColor(colour) : QColor(Qt::black));
    writer.drawText(label.rect(), Qt::AlignLeft | Qt::AlignTop, text);
    writer.end();
    painter.setCompositionMode(stereo ? QPainter::RasterOp_SourceOrDestination
                                      : QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(at, label);
}

// One eye's cage, axes and labels; `leftEye` picks the projection.
void drawEye(QPainter& painter, const View3D& view, const Scene3D& scene, const PixelMapping& map,
             bool leftEye, QRgb colour) {
    const bool stereo = scene.stereo();
    QPen pen(stereo ? QColor(colour) : QColor(Qt::black));
    pen.setStyle(Qt::DotLine);
    auto line = [&](const ProjectedPoint& a, const ProjectedPoint& b) {
        painter.setCompositionMode(stereo ? QPainter::RasterOp_SourceOrDestination
                                          : QPainter::CompositionMode_SourceOver);
        painter.setPen(pen);
        painter.drawLine(eyePoint(a, leftEye, map), eyePoint(b, leftEye, map));
    };
    auto label = [&](const char* text, const ProjectedPoint& at) {
        drawLabel(painter, text, eyePoint(at, leftEye, map), stereo, colour);
    };
    if (scene.Cage) {
        for (const auto& [a, b] : CageEdges)
            line(view.Cage[a], view.Cage[b]);
        if (!scene.Axes) {
            label("Min", view.Cage[0]);
            label("X", view.Cage[1]);
            label("Y", view.Cage[2]);
            label("Z", view.Cage[4]);
        }
    }
    if (scene.Axes) {
        for (std::size_t end = 1; end < 4; ++end)
            line(view.Axes[0], view.Axes[end]);
        label("C", view.Axes[0]);
        label("X", view.Axes[1]);
        label("Y", view.Axes[2]);
        label("Z", view.Axes[3]);
    }
}

} // namespace

void drawSceneFrame(QImage& image, const View3D& view, const Scene3D& scene,
                    const PixelMapping& map) {
    if (image.isNull() || !(scene.Cage || scene.Axes))
        return;
    QPainter painter(&image);
    painter.setBrush(Qt::white);
    if (scene.stereo()) {
        drawEye(painter, view, scene, map, false, toRgb(scene.RightEye));
        drawEye(painter, view, scene, map, true, toRgb(scene.LeftEye));
    } else {
        drawEye(painter, view, scene, map, scene.Mode == ViewMode::LeftEye, qRgb(0, 0, 0));
    }
}
