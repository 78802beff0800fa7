// Writes Windows bitmap files of 24, 8, 4 or 1 bits per pixel (Qt cannot write 4 bits).
#pragma once

#include <string>

class QImage;

// Throws OrvantaError when the depth is not one of 24, 8, 4, 1 or the file cannot be written;
// the file is written beside the target and renamed over it.
void writeBmp(const QImage& image, int depth, const std::string& path);
