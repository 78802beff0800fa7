// Colour reduction for the 8, 4 and 1 bit pictures: exact palettes when the colours fit, the
// nearest fixed colour otherwise.
#include "graphics/IndexedColours.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>

namespace {

constexpr std::array<QRgb, 16> StandardColours = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

std::vector<QRgb> fixedPalette(int depth) {
    if (depth == 1)
        return {0xFF000000, 0xFFFFFFFF};
    if (depth == 4)
        return {StandardColours.begin(), StandardColours.end()};
    std::vector<QRgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(qRgb(r * 51, g * 51, b * 51));
    for (int i = 1; palette.size() < 256; ++i) // greys between the cube's steps
        palette.push_back(qRgb(i * 255 / 41, i * 255 / 41, i * 255 / 41));
    return palette;
}

int distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

std::uint8_t nearest(const std::vector<QRgb>& palette, QRgb colour, int depth) {
    if (depth == 1)
        return (colour & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int d = distance(palette[i], colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

} // namespace

bool validDepth(int depth) {
    return depth == 24 || depth == 8 || depth == 4 || depth == 1;
}

IndexedPicture indexColours(const QImage& source, int depth) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    IndexedPicture picture{image.width(), image.height(), depth, {}, {}};
    picture.Indices.resize(static_cast<std::size_t>(image.width()) *
                           static_cast<std::size_t>(image.height()));
    const std::size_t limit = std::size_t{1} << depth;
    std::unordered_map<QRgb, std::uint8_t> known;
    bool exact = true;
    for (int y = 0; y < image.height() && exact; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = line[x] | 0xFF000000;
            if (known.contains(colour))
                continue;
            if (known.size() == limit) {
                exact = false;
                break;
            }
            known.emplace(colour, static_cast<std::uint8_t>(known.size()));
            picture.Palette.push_back(colour);
        }
    }
    if (!exact) {
        picture.Palette = fixedPalette(depth);
        known.clear();
    }
    std::size_t at = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, ++at) {
            const QRgb colour = line[x] | 0xFF000000;
            auto found = known.find(colour);
            if (found == known.end())
                found = known.emplace(colour, nearest(picture.Palette, colour, depth)).first;
            picture.Indices[at] = found->second;
        }
    }
    return picture;
}

QImage toQImage(const IndexedPicture& picture) {
    QImage image(picture.Width, picture.Height,
                 picture.Depth == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    QList<QRgb> table(picture.Palette.begin(), picture.Palette.end());
    if (picture.Depth == 1)
        table.resize(2, 0xFF000000);
    image.setColorTable(table);
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            image.setPixel(x, y, picture.at(x, y));
    return image;
}

std::size_t packedRowBytes(const IndexedPicture& picture) {
    return (static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Depth) + 7) /
           8;
}

void packRow(const IndexedPicture& picture, int y, std::uint8_t* out) {
    const int depth = picture.Depth;
    const int perByte = 8 / depth;
    std::fill(out, out + packedRowBytes(picture), std::uint8_t{0});
    for (int x = 0; x < picture.Width; ++x)
        out[x / perByte] |=
            static_cast<std::uint8_t>(picture.at(x, y) << (8 - depth * (x % perByte + 1)));
}
