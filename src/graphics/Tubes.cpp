// The shaded discs of tubes and their depth test.
#include "graphics/Tubes.h"

#include <algorithm>
#include <cmath>

namespace {

// The pixels of a disc of radius r: offsets with round(distance) < r, and their distances.
struct DiscPixel {
    int di, dj;
    double radial;
};

const std::vector<DiscPixel>& discPixels(int r) {
    static thread_local int radius = -1;
    static thread_local std::vector<DiscPixel> pixels;
    if (radius != r) {
        radius = r;
        pixels.clear();
        for (int dj = -r; dj <= r; ++dj)
            for (int di = -r; di <= r; ++di) {
                const double radial = std::sqrt(static_cast<double>(di * di + dj * dj));
                if (std::lround(radial) < r)
                    pixels.push_back({di, dj, radial});
            }
    }
    return pixels;
}

// Visits the pixels of the disc that win the depth test, with their brightness from the offset
// along the normal (one-sided: limited to 0..r, else its absolute value).
template <typename Paint>
void paintDisc(QImage& image, DepthBuffer& depth, const TubeDisc& disc, int r,
               const TubeShading& shading, bool oneSided, Paint paint) {
    if (image.isNull() || r < 1)
        return;
    const std::uint16_t v = shading.depth(disc.z);
    if (disc.px == depth.LastX && disc.py == depth.LastY && v <= depth.LastDepth)
        return; // every pixel of this disc already holds a depth of at least v
    depth.LastX = disc.px;
    depth.LastY = disc.py;
    depth.LastDepth = v;
    const double f = shading.factor(disc.z);
    const bool hasNormal = disc.nx != 0 || disc.ny != 0;
    const int width = image.width(), height = image.height();
    if (depth.Depth.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return;
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / 4;
    for (const DiscPixel& pixel : discPixels(r)) {
        const int i = disc.px + pixel.di, j = disc.py + pixel.dj;
        if (i < 0 || j < 0 || i >= width || j >= height)
            continue;
        std::uint16_t& stored = depth.Depth[static_cast<std::size_t>(j) * width + i];
        if (stored >= v)
            continue;
        stored = v;
        double d = hasNormal ? pixel.di * disc.nx + pixel.dj * disc.ny : pixel.radial;
        d = oneSided ? std::clamp(d, 0.0, static_cast<double>(r)) : std::fabs(d);
        paint(bits[j * stride + i], f, (r - d) / r);
    }
}

int channel(double value) {
    return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0)));
}

} // namespace

void DepthBuffers::resize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    for (DepthBuffer& buffer : buffers_)
        buffer.Depth.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                            0);
    clear();
}

void DepthBuffers::clear() {
    for (DepthBuffer& buffer : buffers_) {
        std::fill(buffer.Depth.begin(), buffer.Depth.end(), std::uint16_t{0});
        buffer.LastX = buffer.LastY = -1;
        buffer.LastDepth = 0;
    }
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

void paintTubeDisc(QImage& image, DepthBuffer& depth, const TubeDisc& disc, int r, QRgb colour,
                   const TubeShading& shading) {
    paintDisc(image, depth, disc, r, shading, false, [colour](QRgb& pixel, double f, double b) {
        pixel = qRgb(channel(f * qRed(colour) * b), channel(f * qGreen(colour) * b),
                     channel(f * qBlue(colour) * b));
    });
}

void paintStereoTubeDisc(QImage& image, DepthBuffer& depth, const TubeDisc& disc, int r,
                         bool redChannel, const TubeShading& shading) {
    paintDisc(image, depth, disc, r, shading, true, [redChannel](QRgb& pixel, double f, double b) {
        const int value = channel(std::lround(f * 255) * b);
        pixel = redChannel ? qRgb(value, qGreen(pixel), qBlue(pixel))
                           : qRgb(qRed(pixel), qGreen(pixel), value);
    });
}
