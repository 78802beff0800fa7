// The curve palette and the bullets drawn with its colours.
#include "graphics/Palette.h"

#include <QPainter>

namespace {

constexpr std::array<WinColour, 7> NormalColours{0x000000, 0x0000FF, 0xFF0000, 0x008000,
                                                 0xFF00FF, 0x800000, 0x000080};

template <std::size_t N>
void fillCyclic(std::array<WinColour, MaxCurves>& colours, const WinColour* list) {
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = list[i % N];
}

} // namespace

QRgb toRgb(WinColour colour) {
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void Palette::fillNormal() {
    fillCyclic<7>(colours_, NormalColours.data());
}

void Palette::fillTube() {
    fillCyclic<6>(colours_, NormalColours.data() + 1);
}

void Palette::setColour(std::int32_t slot, WinColour colour) {
    if (slot >= 0 && slot < MaxCurves)
        colours_[static_cast<std::size_t>(slot)] = colour & 0xFFFFFF;
}

std::vector<Bullet> buildBullets(const Palette& palette, int radius, bool thick) {
    std::vector<Bullet> bullets;
    bullets.reserve(MaxCurves);
    const int side = std::max(1, 2 * radius);
    for (std::int32_t slot = 0; slot < MaxCurves; ++slot) {
        Bullet bullet{QImage(side, side, QImage::Format_RGB32), thick};
        bullet.Image.fill(Qt::white);
        QPainter painter(&bullet.Image);
        const QColor colour(palette.rgb(slot));
        painter.setPen(colour);
        painter.setBrush(colour);
        painter.drawEllipse(QRect(0, 0, side - 1, side - 1));
        bullets.push_back(std::move(bullet));
    }
    return bullets;
}

void drawBullet(QImage& target, const Bullet& bullet, int left, int top) {
    const QImage& source = bullet.Image;
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < source.height(); ++y) {
        const int ty = top + y;
        if (ty < 0 || ty >= target.height())
            continue;
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(ty));
        for (int x = 0; x < source.width(); ++x) {
            const int tx = left + x;
            if (tx >= 0 && tx < target.width() && !(bullet.Transparent && from[x] == white))
                to[tx] = from[x];
        }
    }
}
