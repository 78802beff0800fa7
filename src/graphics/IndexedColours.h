// A picture reduced to 8, 4 or 1 bits per pixel: its palette and one palette index per pixel.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

struct IndexedPicture {
    int Width = 0, Height = 0;
    int Depth = 8;                     // bits per pixel: 8, 4 or 1
    std::vector<QRgb> Palette;         // at most 2^Depth colours
    std::vector<std::uint8_t> Indices; // row by row from the top
    std::uint8_t at(int x, int y) const {
        return Indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                       static_cast<std::size_t>(x)];
    }
};

// The pixel depths a picture may be saved with.
bool validDepth(int depth);

// A picture with at most 2^depth colours keeps them exactly. Otherwise every pixel takes the
// nearest colour of a fixed palette: 1 bit keeps white and draws every other colour black, 4 bits
// use the 16 standard colours, 8 bits a 6 x 6 x 6 colour cube with a grey ramp.
IndexedPicture indexColours(const QImage& image, int depth);

// The bytes of row y packed as image files hold them: the leftmost pixel in the highest bits.
std::size_t packedRowBytes(const IndexedPicture& picture);
void packRow(const IndexedPicture& picture, int y, std::uint8_t* out);

// The indexed picture as a Qt image (8-bit indexed, or mono for 1 bit) for the clipboard.
QImage toQImage(const IndexedPicture& picture);
