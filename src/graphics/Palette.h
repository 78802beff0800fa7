// Curve colours (one per curve slot, from the normal or the tube list) and the bullet bitmaps.
#pragma once

#include "workspace/CurveTable.h"

#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>
#include <vector>

// Colours are kept as the program stores them: 0x00BBGGRR.
using WinColour = std::uint32_t;
QRgb toRgb(WinColour colour);

inline constexpr WinColour LeftEyeColour = 0x0000FF;  // red
inline constexpr WinColour RightEyeColour = 0xFF0000; // blue

class Palette {
  public:
    Palette() { fillNormal(); }
    void fillNormal(); // black, red, blue, green, fuchsia, navy, maroon, cyclic
    void fillTube();   // the same without black
    WinColour colour(std::int32_t slot) const { return colours_[static_cast<std::size_t>(slot)]; }
    QRgb rgb(std::int32_t slot) const { return toRgb(colour(slot)); }
    void setColour(std::int32_t slot, WinColour colour);

  private:
    std::array<WinColour, MaxCurves> colours_{};
};

// A filled circle of the slot colour in a 2r x 2r square; white corners, transparent when the
// bullets also draw a thick trail.
struct Bullet {
    QImage Image;
    bool Transparent = false;
};

// Builds one bullet per curve slot for radius `radius` and the given palette.
std::vector<Bullet> buildBullets(const Palette& palette, int radius, bool thick);

// Draws `bullet` with its top-left corner at (left, top), clipped to `target`; white pixels are
// skipped when the bullet is transparent.
void drawBullet(QImage& target, const Bullet& bullet, int left, int top);
