// The graph's world rectangle: bounds, aspect limit, zoom, the visible window, the layout of the
// image in the available area and the isotropic mapping between world and pixels.
#pragma once

#include "common/Extended.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <emmintrin.h>
#include <functional>
#include <optional>
#include <string>

class Ui;

struct Bounds {
    Extended Xmin = 0, Xmax = 1, Ymin = 0, Ymax = 1, Zmin = 0, Zmax = 1;
};

struct Pixel {
    int x = 0, y = 0;
    bool operator==(const Pixel&) const = default;
};

struct WorldPoint {
    Extended x = 0, y = 0;
};

// The plot area the window offers at its default size.
inline constexpr int DefaultPlotWidth = 640;
inline constexpr int DefaultPlotHeight = 560;

// Keeps the height-to-width ratio between 1/3 and 2 about the centre.
void limitAspect(Bounds& bounds);

// Reads a bound text (a number or an expression over the problem's constants); nothing when the
// text is not a value.
using ValueReader = std::function<std::optional<Extended>(const std::string&)>;

// The six edits in order Xmin, Xmax, Ymin, Ymax, Zmin, Zmax.
using BoundTexts = std::array<std::string, 6>;

// The edit text of a bound ("%.4g") and its hint (18 digits), exponents tidied.
std::string boundEditText(Extended value);
std::string boundHintText(Extended value);
// Exponents without "+" and leading zeros: "1.5E+07" and "1.5e0007" both become "1.5e7".
std::string tidyExponent(std::string text);

// The mapping of the visible window onto the image in double precision, for the plotter's loop.
struct PixelMapping {
    double left = 0, right = 0, bottom = 0, top = 0; // the visible window
    double sx = 0, sy = 0;                           // pixels per world unit
    bool inside(double x, double y) const {
        return left <= x && x <= right && bottom <= y && y <= top;
    }
    // Rounded to nearest, ties to even; far-away points are clamped before converting.
    Pixel toPixel(double x, double y) const {
        return {toInt(sx * (x - left)), toInt(sy * (top - y))};
    }
    // The conversion rounds by the processor's mode, to nearest with ties to even, inline.
    static int toInt(double v) {
        return std::isnan(v) ? -1000000000 : _mm_cvtsd_si32(_mm_set_sd(std::clamp(v, -1e9, 1e9)));
    }
};

class GraphWorld {
  public:
    Bounds Current, Saved;
    Extended Xc = 0.5L, Yc = 0.5L, Zc = 0.5L;
    Extended Zoom = 1;
    Extended Left = 0, Right = 1, Bottom = 0, Top = 1; // the visible window
    Extended Depth = 1;
    Extended PixelSize = 0;
    Extended CurveDensity = 1; // pixels between plotted points
    Extended DensityStep = 0;  // PixelSize * CurveDensity
    bool BoundsValid = false;
    bool LayoutValid = false;
    int ImageWidth = 0, ImageHeight = 0;

    Extended width() const { return Right - Left; }
    Extended height() const { return Top - Bottom; }

    // Reads the edits as Apply does; on failure shows the reader's message and "Wrong
    // bounderies", leaves the bounds as they were and returns false.
    bool parse(const BoundTexts& texts, bool threeD, const ValueReader& read, Ui& ui);
    // The current bounds become the world: aspect limit, saved copy, centres, validity; zoom 1.
    void commit(bool threeD);
    // Multiplies the zoom and rescales the current bounds about the centres.
    void zoomBy(Extended factor, bool threeD);
    // The visible window from the saved bounds, the zoom and the centres.
    void updateWindow();
    // Fits the image into the available area; false (layout invalid) when nothing fits.
    bool layout(int availableWidth, int availableHeight);

    std::string zoomText() const; // "%.0f%%" of 100 / zoom
    BoundTexts editTexts() const;
    BoundTexts hintTexts() const;

    PixelMapping mapping() const;
    Pixel toPixel(Extended x, Extended y) const {
        return mapping().toPixel(static_cast<double>(x), static_cast<double>(y));
    }
    WorldPoint toWorld(int px, int py) const;
    bool inside(Extended x, Extended y) const {
        return Left <= x && x <= Right && Bottom <= y && y <= Top;
    }

    // Swaps the bounds of two axes (0 X, 1 Y, 2 Z), current and saved, and recomputes centres.
    void swapAxes(int first, int second);

  private:
    void setCentres();
};
