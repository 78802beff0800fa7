// The picture's file: the extension follows the chosen format, the writer follows the extension.
#include "graphics/ImageFiles.h"

#include "graphics/BmpWriter.h"
#include "graphics/IndexedColours.h"
#include "graphics/PngWriter.h"

#include <QImage>

#include <filesystem>

std::string imageExtension(int filterIndex) {
    return filterIndex == BitmapFilter ? ".bmp" : ".png";
}

std::string forcedImageName(const std::string& path, int filterIndex) {
    return std::filesystem::path(path).replace_extension(imageExtension(filterIndex)).string();
}

std::string saveImage(const QImage& image, int depth, const std::string& path, int filterIndex) {
    const std::string name = forcedImageName(path, filterIndex);
    if (filterIndex == BitmapFilter)
        writeBmp(image, depth, name);
    else if (depth == 24)
        writePng(image, name);
    else
        writePng(indexColours(image, depth), name);
    return name;
}
