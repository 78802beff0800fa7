// Tubes: every plotted point paints a shaded disc through a 16-bit depth buffer, so the nearer
// part of a curve hides the farther one whatever the drawing order.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// One eye's depth buffer of the image's size; 0 is the farthest depth. It remembers the last
// disc painted through it: a disc at the same centre that is no nearer paints nothing.
struct DepthBuffer {
    std::vector<std::uint16_t> Depth;
    int LastX = -1, LastY = -1;
    std::uint16_t LastDepth = 0;
};

// Two depth buffers, one per eye.
class DepthBuffers {
  public:
    void resize(int width, int height);
    void clear();
    int width() const { return width_; }
    int height() const { return height_; }
    DepthBuffer& eye(int index) { return buffers_[static_cast<std::size_t>(index)]; }

  private:
    int width_ = 0, height_ = 0;
    DepthBuffer buffers_[2];
};

// One disc: its centre pixel, its depth (rotated z) and the unit normal of the projected
// tangent in pixel space ((0, 0) when the curve stands still: the distance from the centre
// then shades the disc).
struct TubeDisc {
    int px = 0, py = 0;
    double z = 0;
    double nx = 0, ny = 0;
};

// How discs are shaded: the box's Z range for the darkening, the rotated box's depth range for
// the depth buffer, and the darkening switch.
struct TubeShading {
    double Zmin = 0, Zmax = 1;
    double Dmin = 0, Dmax = 1;
    bool Darkening = true;
    // ((z - Zmin) / depth + 1) / 2 within 0.5..1; 1 without darkening.
    double factor(double z) const;
    // 1 + round((z - Dmin) * 65534 / (Dmax - Dmin)) within 1..65535: every point of the rotated
    // box is nearer than the cleared buffer's 0.
    std::uint16_t depth(double z) const;
};

// A disc of radius r in the axonometric picture: b = (r - |d|) / r with d the offset along the
// normal, the pixel becomes f * b times the colour.
void paintTubeDisc(QImage& image, DepthBuffer& depth, const TubeDisc& disc, int r, QRgb colour,
                   const TubeShading& shading);
// A disc in one eye's image of the stereo pair: d is the offset along the normal limited to
// 0..r, and only the eye's channel (red or blue) is written, round(round(f * 255) * b).
void paintStereoTubeDisc(QImage& image, DepthBuffer& depth, const TubeDisc& disc, int r,
                         bool redChannel, const TubeShading& shading);
