// Pixel formats, scale factor and the texts of the re-scaling and movie form.
#include "graphics/HighResSettings.h"

#include "common/NumberText.h"
#include "common/Ui.h"

#include <algorithm>
#include <cmath>

int initialPixelFormat(int curves, bool threeD) {
    if (threeD)
        return DefaultPixelFormat;
    if (curves == 1)
        return 2;
    return curves <= 15 ? 1 : 0;
}

std::optional<Extended> readScaleFactor(const std::string& text, Ui& ui) {
    const auto value = parseTrimmedNumber(text);
    if (!value || !std::isfinite(*value)) {
        ui.message("Wrong scale factor");
        return std::nullopt;
    }
    return std::clamp(*value, MinScaleFactor, MaxScaleFactor);
}

HighResTexts highResTexts(int width, int height, Extended scale, int pixelFormat, bool hasResults,
                          double movieSeconds) {
    const auto perKb =
        static_cast<double>(PixelFormats[static_cast<std::size_t>(pixelFormat)].PixelsPerKb);
    const double s = static_cast<double>(scale);
    const double pixels = static_cast<double>(height) * width * s * s;
    HighResTexts texts;
    texts.ScaleLabel = formatText("Screen image [%d×%d]×", width, height);
    texts.Result =
        formatText("= Print image [%lld×%lld]=%lld pxls or %lld Kb", std::llround(width * s),
                   std::llround(height * s), std::llround(pixels), std::llround(pixels / perKb));
    texts.Caption = hasResults ? HighResCaption : "No Results array";
    texts.RecordEnabled = hasResults;
    if (hasResults) {
        texts.IntegrationSpan = formatText(
            "At 30 frames/sec %.1f seconds motion requires at least %lld frames %lld Kb each (in "
            "png format shorter) ",
            movieSeconds, std::llround(movieSeconds * 30),
            std::llround(static_cast<double>(height) * width / perKb));
        texts.FrameLabel = formatText("Number of frames for %.1f sec motion", movieSeconds);
    }
    return texts;
}

bool tubeDepthAllowed(bool tube, int depth, Ui& ui) {
    if (tube && depth != 24) {
        ui.message("Set 24-bit colors for tubular graphics");
        return false;
    }
    return true;
}
