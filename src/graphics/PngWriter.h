// Writes an image as a PNG file with libpng.
#pragma once

#include <string>

class QImage;
struct IndexedPicture;

// 24-bit RGB; throws OrvantaError when the file cannot be written. The file is written beside
// the target and renamed over it, so a failure leaves an older file intact.
void writePng(const QImage& image, const std::string& path);
// A palette PNG of 8, 4 or 1 bits per pixel.
void writePng(const IndexedPicture& picture, const std::string& path);
