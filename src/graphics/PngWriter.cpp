// PNG output through libpng, row by row from the RGB32 image or from an indexed picture.
#include "graphics/PngWriter.h"

#include "common/OrvantaError.h"
#include "graphics/IndexedColours.h"
#include "graphics/ReplacingFile.h"

#include <QImage>

#include <png.h>

#include <functional>
#include <vector>

namespace {

[[noreturn]] void pngError(png_structp, png_const_charp message) {
    throw OrvantaError(std::string("PNG: ") + message);
}

// One PNG: `header` sets the image header (and palette), `row` fills row y.
void writeRows(std::FILE* file, int height,
               const std::function<void(png_structp, png_infop)>& header, std::size_t rowBytes,
               const std::function<void(int, std::vector<png_byte>&)>& row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, nullptr);
    if (!png)
        throw OrvantaError("PNG: out of memory");
    png_infop info = png_create_info_struct(png);
    struct Guard {
        png_structp& png;
        png_infop& info;
        ~Guard() { png_destroy_write_struct(&png, &info); }
    } guard{png, info};
    if (!info)
        throw OrvantaError("PNG: out of memory");
    png_init_io(png, file);
    header(png, info);
    png_write_info(png, info);
    std::vector<png_byte> bytes(rowBytes);
    for (int y = 0; y < height; ++y) {
        row(y, bytes);
        png_write_row(png, bytes.data());
    }
    png_write_end(png, nullptr);
}

} // namespace

void writePng(const QImage& source, const std::string& path) {
    if (source.isNull())
        throw OrvantaError("No image to save");
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<png_uint_32>(image.width());
    writeReplacing(path, [&](std::FILE* file) {
        writeRows(
            file, image.height(),
            [&](png_structp png, png_infop info) {
                png_set_IHDR(png, info, width, static_cast<png_uint_32>(image.height()), 8,
                             PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                             PNG_FILTER_TYPE_DEFAULT);
            },
            std::size_t{width} * 3,
            [&](int y, std::vector<png_byte>& row) {
                const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (std::size_t x = 0; x < width; ++x) {
                    row[3 * x] = static_cast<png_byte>(qRed(pixels[x]));
                    row[3 * x + 1] = static_cast<png_byte>(qGreen(pixels[x]));
                    row[3 * x + 2] = static_cast<png_byte>(qBlue(pixels[x]));
                }
            });
    });
}

void writePng(const IndexedPicture& picture, const std::string& path) {
    if (picture.Width < 1 || picture.Height < 1)
        throw OrvantaError("No image to save");
    const auto width = static_cast<std::size_t>(picture.Width);
    const int depth = picture.Depth;
    std::vector<png_color> palette;
    for (QRgb colour : picture.Palette)
        palette.push_back({static_cast<png_byte>(qRed(colour)),
                           static_cast<png_byte>(qGreen(colour)),
                           static_cast<png_byte>(qBlue(colour))});
    writeReplacing(path, [&](std::FILE* file) {
        writeRows(
            file, picture.Height,
            [&](png_structp png, png_infop info) {
                png_set_IHDR(png, info, static_cast<png_uint_32>(width),
                             static_cast<png_uint_32>(picture.Height), depth,
                             PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                             PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
                png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
            },
            packedRowBytes(picture),
            [&](int y, std::vector<png_byte>& row) { packRow(picture, y, row.data()); });
    });
}
