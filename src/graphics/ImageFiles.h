// Saving pictures as the save dialog's filter says: BMP or PNG, at 24, 8, 4 or 1 bits per pixel.
#pragma once

#include <string>

class QImage;

// The save dialog's filter; index 1 is the bitmap, 2 (the default) PNG.
inline constexpr const char* ImageSaveFilter = "Bitmap|*.bmp|PNG lossless format|*.png";
inline constexpr int BitmapFilter = 1;
inline constexpr int PngFilter = 2;

// ".bmp" for the bitmap filter, ".png" otherwise.
std::string imageExtension(int filterIndex);
// The file name with its extension replaced by the filter's ("run.bmp" -> "run.png").
std::string forcedImageName(const std::string& path, int filterIndex);
// Writes the picture at the depth to the file named by forcedImageName; returns that name.
// Throws OrvantaError when it cannot be written.
std::string saveImage(const QImage& image, int depth, const std::string& path, int filterIndex);
