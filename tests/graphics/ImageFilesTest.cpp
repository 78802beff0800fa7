// Picture files: the bitmap writer at 24, 8, 4 and 1 bits read back, palette PNGs, and the
// extension that follows the chosen format.
#include "graphics/ImageFiles.h"
#include "common/OrvantaError.h"
#include "graphics/BmpWriter.h"
#include "graphics/IndexedColours.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Navy = qRgb(0, 0, 128);
const QRgb Odd = qRgb(17, 99, 201); // in no fixed palette

// 13 x 5 (rows that need padding at every depth): white with a red and a navy column and one
// odd-coloured pixel.
QImage sample(bool withOdd = true) {
    QImage image(13, 5, QImage::Format_RGB32);
    image.fill(White);
    for (int y = 0; y < 5; ++y) {
        image.setPixel(2, y, Red);
        image.setPixel(9, y, Navy);
    }
    if (withOdd)
        image.setPixel(12, 4, Odd);
    return image;
}

std::uint32_t little32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

// The header fields a reader relies on: size, offset, dimensions, depth, palette entries.
void checkHeader(const std::string& bytes, int depth, std::uint32_t colours,
                 std::uint32_t width = 13, std::uint32_t height = 5) {
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(little32(bytes, 2), bytes.size());
    EXPECT_EQ(little32(bytes, 10), 54 + 4 * colours);
    EXPECT_EQ(little32(bytes, 18), width);
    EXPECT_EQ(little32(bytes, 22), height);
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), depth);
    EXPECT_EQ(little32(bytes, 46), colours);
    const std::size_t row = (width * static_cast<std::size_t>(depth) + 31) / 32 * 4;
    EXPECT_EQ(bytes.size(), 54 + 4 * colours + height * row);
}

} // namespace

TEST(BitmapWriter, EveryDepthReadsBackToTheSamePixels) {
    TempFolder folder;
    const QImage image = sample(false); // three colours fit every palette but one bit's
    for (int depth : {24, 8, 4}) {
        const std::string path = folder.path("d" + std::to_string(depth) + ".bmp");
        writeBmp(image, depth, path);
        checkHeader(readBytes(path), depth, depth == 24 ? 0 : 3);
        QImageReader reader(QString::fromStdString(path));
        const QImage back = reader.read();
        ASSERT_FALSE(back.isNull()) << depth << ": " << reader.errorString().toStdString();
        EXPECT_EQ(back.depth() == 32 ? 24 : back.depth(), depth == 4 ? 8 : depth)
            << "Qt reads 4-bit files as 8-bit indexed";
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(back.pixel(x, y) | 0xFF000000, image.pixel(x, y))
                    << depth << " " << x << "," << y;
        if (depth != 24) {
            const QList<QRgb> table = back.colorTable();
            ASSERT_GE(table.size(), 3);
            EXPECT_EQ(table[0] | 0xFF000000, White); // first seen, top left
            EXPECT_EQ(table[1] | 0xFF000000, Red);
            EXPECT_EQ(table[2] | 0xFF000000, Navy);
        }
    }
}

// Qt reads 4-bit rows itself, so the nibble order is checked byte by byte too.
TEST(BitmapWriter, FourBitRowsPackTheLeftPixelHighBottomRowFirst) {
    TempFolder folder;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(White);
    image.setPixel(1, 1, Red); // bottom row: white red white
    const std::string path = folder.path("n.bmp");
    writeBmp(image, 4, path);
    const std::string bytes = readBytes(path);
    const std::size_t pixels = 54 + 4 * 2;
    ASSERT_EQ(bytes.size(), pixels + 2 * 4);
    EXPECT_EQ(static_cast<unsigned char>(bytes[pixels]), 0x01); // white=0, red=1
    EXPECT_EQ(static_cast<unsigned char>(bytes[pixels + 1]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(bytes[pixels + 4]), 0x00); // the top row: all white
}

TEST(BitmapWriter, TooManyColoursTakeTheNearestFixedColour) {
    TempFolder folder;
    // 20 shades of red: more than 16, so the 4-bit file maps them to the standard colours.
    QImage image(20, 2, QImage::Format_RGB32);
    image.fill(White);
    for (int x = 0; x < 20; ++x)
        image.setPixel(x, 0, qRgb(110 + x * 6, 0, 0));
    const std::string path = folder.path("many.bmp");
    writeBmp(image, 4, path);
    checkHeader(readBytes(path), 4, 16, 20, 2);
    const QImage back(QString::fromStdString(path));
    EXPECT_EQ(back.pixel(0, 0) | 0xFF000000, qRgb(128, 0, 0));  // 110 is nearest maroon
    EXPECT_EQ(back.pixel(19, 0) | 0xFF000000, qRgb(255, 0, 0)); // 224 is nearest red
    EXPECT_EQ(back.pixel(5, 1) | 0xFF000000, White);
}

TEST(BitmapWriter, OneBitKeepsWhiteAndDrawsEveryColourBlack) {
    TempFolder folder;
    const QImage image = sample();
    const std::string path = folder.path("mono.bmp");
    writeBmp(image, 1, path);
    checkHeader(readBytes(path), 1, 2);
    const QImage back(QString::fromStdString(path));
    ASSERT_EQ(back.depth(), 1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(back.pixel(x, y) | 0xFF000000,
                      image.pixel(x, y) == White ? White : qRgb(0, 0, 0))
                << x << "," << y;
}

TEST(BitmapWriter, RefusesOtherDepthsAndUnwritableFolders) {
    TempFolder folder;
    EXPECT_THROW(writeBmp(sample(), 16, folder.path("x.bmp")), OrvantaError);
    EXPECT_FALSE(std::filesystem::exists(folder.path("x.bmp")));
    try {
        writeBmp(sample(), 24, folder.path("none/x.bmp"));
        FAIL() << "no error";
    } catch (const OrvantaError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot write " + folder.path("none/x.bmp"));
    }
}

TEST(ImageFiles, TheExtensionFollowsTheChosenFormat) {
    EXPECT_EQ(forcedImageName("/tmp/a/run.bmp", PngFilter), "/tmp/a/run.png");
    EXPECT_EQ(forcedImageName("/tmp/a/run.png", BitmapFilter), "/tmp/a/run.bmp");
    EXPECT_EQ(forcedImageName("/tmp/a/run", PngFilter), "/tmp/a/run.png");
    EXPECT_EQ(forcedImageName("/tmp/a.b/run.x.bmp", PngFilter), "/tmp/a.b/run.x.png");

    TempFolder folder;
    const std::string written = saveImage(sample(), 24, folder.path("run.bmp"), PngFilter);
    EXPECT_EQ(written, folder.path("run.png"));
    EXPECT_FALSE(std::filesystem::exists(folder.path("run.bmp")));
    EXPECT_EQ(readBytes(written).substr(1, 3), "PNG");
}

TEST(ImageFiles, PalettePngsKeepPixelsAndDepth) {
    TempFolder folder;
    const QImage image = sample(false);
    for (int depth : {8, 4, 1}) {
        const QImage source = depth == 1 ? sample(false)
                                               .convertToFormat(QImage::Format_Mono)
                                               .convertToFormat(QImage::Format_RGB32)
                                         : image;
        const std::string path =
            saveImage(source, depth, folder.path("p" + std::to_string(depth) + ".png"), PngFilter);
        const std::string bytes = readBytes(path);
        EXPECT_EQ(static_cast<unsigned char>(bytes[24]), depth); // IHDR bit depth
        EXPECT_EQ(static_cast<unsigned char>(bytes[25]), 3);     // palette colour type
        const QImage back(QString::fromStdString(path));
        ASSERT_FALSE(back.isNull());
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(back.pixel(x, y) | 0xFF000000, source.pixel(x, y) | 0xFF000000)
                    << depth << " " << x << "," << y;
    }
}

TEST(IndexedColours, ToQImageKeepsThePaletteForTheClipboard) {
    const IndexedPicture picture = indexColours(sample(), 4);
    ASSERT_EQ(picture.Palette.size(), 4u);
    const QImage image = toQImage(picture);
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.pixel(12, 4), Odd);
    EXPECT_EQ(image.pixel(2, 0), Red);
    const QImage mono = toQImage(indexColours(sample(), 1));
    EXPECT_EQ(mono.format(), QImage::Format_Mono);
    EXPECT_EQ(mono.pixel(12, 4), qRgb(0, 0, 0));
    EXPECT_EQ(mono.pixel(0, 0), White);
}
