// The shaded discs of tubes and their depth test.
#include "graphics/Tubes.h"

#include <algorithm>
#include <cmath>

namespace {

// Visits the pixels of the disc that win the depth test, with their brightness from the offset
// along the normal (one-sided: limited to 0..r, else its absolute value).
template <typename Paint>
void paintDisc(QImage& image, std::uint16_t* depth, const TubeDisc& disc, int r,
               const TubeShading& shading, bool oneSided, Paint paint) {
    if (image.isNull() || r < 1)
        return;
    const std::uint16_t v = shading.depth(disc.z);
    const double f = shading.factor(disc.z);
    const bool hasNormal = disc.nx != 0 || disc.ny != 0;
    const int width = image.width(), height = image.height();
    const int top = std::max(0, disc.py - r), bottom = std::min(height - 1, disc.py + r);
    const int left = std::max(0, disc.px - r), right = std::min(width - 1, disc.px + r);
    for (int j = top; j <= bottom; ++j) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(j));
        std::uint16_t* depthLine = depth + static_cast<std::ptrdiff_t>(j) * width;
        for (int i = left; i <= right; ++i) {
            const int di = i - disc.px, dj = j - disc.py;
            const double radial = std::sqrt(static_cast<double>(di * di + dj * dj));
            if (std::lround(radial) >= r || depthLine[i] >= v)
                continue;
            depthLine[i] = v;
            double d = hasNormal ? di * disc.nx + dj * disc.ny : radial;
            d = oneSided ? std::clamp(d, 0.0, static_cast<double>(r)) : std::fabs(d);
            paint(line[i], f, (r - d) / r);
        }
    }
}

int channel(double value) {
    return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0)));
}

} // namespace

void DepthBuffers::resize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    for (auto& buffer : buffers_)
        buffer.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

void DepthBuffers::clear() {
    for (auto& buffer : buffers_)
        std::fill(buffer.begin(), buffer.end(), std::uint16_t{0});
}

double TubeShading::factor(double z) const {
    if (!Darkening)
        return 1;
    const double depth = Zmax - Zmin;
    const double f = depth > 0 ? ((z - Zmin) / depth + 1) / 2 : 1;
    return std::isnan(f) ? 1 : std::clamp(f, 0.5, 1.0);
}

std::uint16_t TubeShading::depth(double z) const {
    const double range = Dmax - Dmin;
    const double v = range > 0 ? (z - Dmin) * 65534 / range : 0;
    return static_cast<std::uint16_t>(
        1 + (std::isnan(v) ? 0 : std::lround(std::clamp(v, 0.0, 65534.0))));
}

void paintTubeDisc(QImage& image, std::uint16_t* depth, const TubeDisc& disc, int r, QRgb colour,
                   const TubeShading& shading) {
    paintDisc(image, depth, disc, r, shading, false, [colour](QRgb& pixel, double f, double b) {
        pixel = qRgb(channel(f * qRed(colour) * b), channel(f * qGreen(colour) * b),
                     channel(f * qBlue(colour) * b));
    });
}

void paintStereoTubeDisc(QImage& image, std::uint16_t* depth, const TubeDisc& disc, int r,
                         bool redChannel, const TubeShading& shading) {
    paintDisc(image, depth, disc, r, shading, true, [redChannel](QRgb& pixel, double f, double b) {
        const int value = channel(std::lround(f * 255) * b);
        pixel = redChannel ? qRgb(value, qGreen(pixel), qBlue(pixel))
                           : qRgb(qRed(pixel), qGreen(pixel), value);
    });
}
