// The settings of re-scaled pictures and movies: pixel formats with their memory estimate, the
// scale factor and its limits, the texts of the form and the refusal for tubes.
#pragma once

#include "common/Extended.h"

#include <array>
#include <optional>
#include <string>

class Ui;

struct PixelFormatChoice {
    const char* Caption;
    int Depth;       // bits per pixel
    int PixelsPerKb; // how many pixels a kilobyte holds, for the size estimate
};

// "Number of used colors up to..."
inline constexpr std::array<PixelFormatChoice, 4> PixelFormats = {{
    {"256³  (1 pixel takes 24 bits)", 24, 333},
    {"255    (1 pixel takes 8 bits)", 8, 1000},
    {"15      (1 pixel takes 4 bits)", 4, 2000},
    {"1        (1 pixel takes 1 bit)", 1, 8000},
}};
inline constexpr int DefaultPixelFormat = 1;

inline constexpr const char* HighResCaption =
    "Setting color depth, iimage size and movie parameters";

// In 2D: 4 bits for one curve, 8 bits for 2 to 15 curves, 24 bits for more; 8 bits in 3D.
int initialPixelFormat(int curves, bool threeD);

inline constexpr Extended MinScaleFactor = 0.1L;
inline constexpr Extended MaxScaleFactor = 30;
// The scale edit's text as a factor within 0.1..30; nothing (after "Wrong scale factor") when
// the text is no number.
std::optional<Extended> readScaleFactor(const std::string& text, Ui& ui);

// What the form shows for an image of width x height at the scale.
struct HighResTexts {
    std::string ScaleLabel; // "Screen image [%d×%d]×"
    std::string Result;     // "= Print image [%d×%d]=%d pxls or %d Kb"
    std::string Caption;    // the form's caption: "No Results array" without results
    bool RecordEnabled = false;
    std::string IntegrationSpan; // "At 30 frames/sec ..." when there are results
    std::string FrameLabel;      // "Number of frames for %.1f sec motion"
};
HighResTexts highResTexts(int width, int height, Extended scale, int pixelFormat, bool hasResults,
                          double movieSeconds);

// Tubes are drawn in shades that need 24 bits: "Set 24-bit colors for tubular graphics" and
// false for any other depth.
bool tubeDepthAllowed(bool tube, int depth, Ui& ui);
