// PNG output through libpng, row by row from the RGB32 image.
#include "graphics/PngWriter.h"

#include "common/OrvantaError.h"

#include <QImage>

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void pngError(png_structp, png_const_charp message) {
    throw OrvantaError(std::string("PNG: ") + message);
}

void writeRows(std::FILE* file, const QImage& image) {
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
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(image.width()) * 3);
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            row[3 * x] = static_cast<png_byte>(qRed(pixels[x]));
            row[3 * x + 1] = static_cast<png_byte>(qGreen(pixels[x]));
            row[3 * x + 2] = static_cast<png_byte>(qBlue(pixels[x]));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
}

} // namespace

void writePng(const QImage& source, const std::string& path) {
    if (source.isNull())
        throw OrvantaError("No image to save");
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const std::string temporary = path + ".tmp";
    {
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(temporary.c_str(), "wb"));
        if (!file)
            throw OrvantaError("Cannot write " + path);
        try {
            writeRows(file.get(), image);
        } catch (...) {
            file.reset();
            std::remove(temporary.c_str());
            throw;
        }
        if (std::fflush(file.get()) != 0) {
            file.reset();
            std::remove(temporary.c_str());
            throw OrvantaError("Cannot write " + path);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        throw OrvantaError("Cannot write " + path);
    }
}
