// The bitmap file: a 14-byte file header, a 40-byte information header, the palette (for 8, 4
// and 1 bits) and the rows bottom-up, each padded to a multiple of 4 bytes.
#include "graphics/BmpWriter.h"

#include "common/OrvantaError.h"
#include "graphics/IndexedColours.h"
#include "graphics/ReplacingFile.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::size_t padded(std::size_t bytes) {
    return (bytes + 3) / 4 * 4;
}

// Headers and palette; the pixel rows follow.
std::vector<std::uint8_t> headers(int width, int height, int depth, std::size_t rowBytes,
                                  const std::vector<QRgb>& palette) {
    const auto colours = static_cast<std::uint32_t>(palette.size());
    const std::uint32_t offset = 14 + 40 + 4 * colours;
    const std::size_t size = offset + rowBytes * static_cast<std::size_t>(height);
    if (size > 0xFFFFFFFFu)
        throw OrvantaError("The image is too large for a bitmap file");
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height)); // positive: bottom-up rows
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(depth));
    put32(out, 0); // no compression
    put32(out, static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(height)));
    put32(out, 3780); // 96 dots per inch
    put32(out, 3780);
    put32(out, colours);
    put32(out, 0);
    for (QRgb colour : palette) {
        out.push_back(static_cast<std::uint8_t>(qBlue(colour)));
        out.push_back(static_cast<std::uint8_t>(qGreen(colour)));
        out.push_back(static_cast<std::uint8_t>(qRed(colour)));
        out.push_back(0);
    }
    return out;
}

void writeBytes(std::FILE* file, const std::vector<std::uint8_t>& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        throw OrvantaError("Cannot write the bitmap");
}

} // namespace

void writeBmp(const QImage& source, int depth, const std::string& path) {
    if (source.isNull())
        throw OrvantaError("No image to save");
    if (!validDepth(depth))
        throw OrvantaError("A bitmap has 24, 8, 4 or 1 bits per pixel");
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width(), height = image.height();
    writeReplacing(path, [&](std::FILE* file) {
        if (depth == 24) {
            const std::size_t rowBytes = padded(static_cast<std::size_t>(width) * 3);
            writeBytes(file, headers(width, height, 24, rowBytes, {}));
            std::vector<std::uint8_t> row(rowBytes, 0);
            for (int y = height - 1; y >= 0; --y) {
                const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < width; ++x) {
                    row[3 * static_cast<std::size_t>(x)] =
                        static_cast<std::uint8_t>(qBlue(pixels[x]));
                    row[3 * static_cast<std::size_t>(x) + 1] =
                        static_cast<std::uint8_t>(qGreen(pixels[x]));
                    row[3 * static_cast<std::size_t>(x) + 2] =
                        static_cast<std::uint8_t>(qRed(pixels[x]));
                }
                writeBytes(file, row);
            }
            return;
        }
        const IndexedPicture picture = indexColours(image, depth);
        const std::size_t rowBytes = padded(packedRowBytes(picture));
        writeBytes(file, headers(width, height, depth, rowBytes, picture.Palette));
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int y = height - 1; y >= 0; --y) {
            packRow(picture, y, row.data());
            writeBytes(file, row);
        }
    });
}
