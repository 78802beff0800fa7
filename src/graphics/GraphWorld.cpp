// World rectangle arithmetic of the graph window.
#include "graphics/GraphWorld.h"

#include "common/NumberText.h"
#include "common/Ui.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
        text.replace(at, from.size(), to), at += to.size();
}

Extended* axisMin(Bounds& b, int axis) {
    return axis == 0 ? &b.Xmin : axis == 1 ? &b.Ymin : &b.Zmin;
}
Extended* axisMax(Bounds& b, int axis) {
    return axis == 0 ? &b.Xmax : axis == 1 ? &b.Ymax : &b.Zmax;
}

Extended scaled(Extended saved, Extended centre, Extended zoom) {
    return (saved - centre) * zoom + centre;
}

} // namespace

void limitAspect(Bounds& b) {
    const Extended w = b.Xmax - b.Xmin;
    const Extended h = b.Ymax - b.Ymin;
    if (w >= h / 2 && h >= w / 3)
        return;
    if (w >= h / 2) {
        const Extended centre = (b.Ymin + b.Ymax) / 2;
        b.Ymin = centre - w / 6;
        b.Ymax = centre + w / 6;
    } else {
        const Extended centre = (b.Xmin + b.Xmax) / 2;
        b.Xmin = centre - h / 4;
        b.Xmax = centre + h / 4;
    }
}

std::string tidyExponent(std::string text) {
    text = cleanExponent(std::move(text)); // printf writes "e+05" where the program shows "e5"
    replaceAll(text, "E", "e");
    for (int i = 0; i < 3; ++i)
        replaceAll(text, "e0", "e");
    for (int i = 0; i < 3; ++i)
        replaceAll(text, "e-0", "e-");
    return text;
}

std::string boundEditText(Extended value) {
    return tidyExponent(formatText("%.4Lg", value));
}

std::string boundHintText(Extended value) {
    return tidyExponent(formatText("%.18Lg", value));
}

bool GraphWorld::parse(const BoundTexts& texts, bool threeD, const ValueReader& read, Ui& ui) {
    BoundsValid = false;
    Bounds parsed = Current;
    Extended* targets[] = {&parsed.Xmin, &parsed.Xmax, &parsed.Ymin,
                           &parsed.Ymax, &parsed.Zmin, &parsed.Zmax};
    const int pairs = threeD ? 3 : 2;
    for (int pair = 0; pair < pairs; ++pair) {
        for (int k = 2 * pair; k < 2 * pair + 2; ++k) {
            const auto value = read(texts[static_cast<std::size_t>(k)]);
            if (!value || !std::isfinite(*value)) {
                ui.message(formatText("\" %s \" is not a valid value", texts[k].c_str()));
                ui.message("Wrong bounderies");
                return false;
            }
            *targets[k] = *value;
        }
        if (*targets[2 * pair] >= *targets[2 * pair + 1]) {
            ui.message(
                formatText("%s >= %s", texts[2 * pair].c_str(), texts[2 * pair + 1].c_str()));
            ui.message("Wrong bounderies");
            return false;
        }
    }
    Current = parsed;
    return true;
}

void GraphWorld::commit(bool threeD) {
    limitAspect(Current);
    Saved = Current;
    Zoom = 1;
    setCentres();
    updateWindow();
    BoundsValid = width() > 0 && height() > 0 && (!threeD || Depth > 0);
}

void GraphWorld::setCentres() {
    Xc = (Current.Xmin + Current.Xmax) / 2;
    Yc = (Current.Ymin + Current.Ymax) / 2;
    Zc = (Current.Zmin + Current.Zmax) / 2;
    Depth = Current.Zmax - Current.Zmin;
}

void GraphWorld::zoomBy(Extended factor, bool threeD) {
    Zoom *= factor;
    Current.Xmin = scaled(Saved.Xmin, Xc, Zoom);
    Current.Xmax = scaled(Saved.Xmax, Xc, Zoom);
    Current.Ymin = scaled(Saved.Ymin, Yc, Zoom);
    Current.Ymax = scaled(Saved.Ymax, Yc, Zoom);
    if (threeD) {
        Current.Zmin = scaled(Saved.Zmin, Zc, Zoom);
        Current.Zmax = scaled(Saved.Zmax, Zc, Zoom);
        Depth = Current.Zmax - Current.Zmin;
    }
    updateWindow();
}

void GraphWorld::updateWindow() {
    Left = scaled(Saved.Xmin, Xc, Zoom);
    Right = scaled(Saved.Xmax, Xc, Zoom);
    Bottom = scaled(Saved.Ymin, Yc, Zoom);
    Top = scaled(Saved.Ymax, Yc, Zoom);
}

bool GraphWorld::layout(int availableWidth, int availableHeight) {
    LayoutValid = false;
    if (availableWidth < 1 || availableHeight < 1 || !(width() > 0) || !(height() > 0))
        return false;
    PixelSize = std::max(width() / availableWidth, height() / availableHeight);
    ImageWidth = static_cast<int>(std::lround(width() / PixelSize));
    ImageHeight = static_cast<int>(std::lround(height() / PixelSize));
    if (ImageWidth < 1 || ImageHeight < 1)
        return false;
    DensityStep = PixelSize * CurveDensity;
    LayoutValid = true;
    return true;
}

std::string GraphWorld::zoomText() const {
    return formatText("%.0f%%", static_cast<double>(100 / Zoom));
}

BoundTexts GraphWorld::editTexts() const {
    const Bounds& b = Current;
    return {boundEditText(b.Xmin), boundEditText(b.Xmax), boundEditText(b.Ymin),
            boundEditText(b.Ymax), boundEditText(b.Zmin), boundEditText(b.Zmax)};
}

BoundTexts GraphWorld::hintTexts() const {
    const Bounds& b = Current;
    return {boundHintText(b.Xmin), boundHintText(b.Xmax), boundHintText(b.Ymin),
            boundHintText(b.Ymax), boundHintText(b.Zmin), boundHintText(b.Zmax)};
}

// In double, which is far finer than a pixel; lrint rounds to nearest with ties to even (the
// default rounding mode) in one instruction.
PixelMapping GraphWorld::mapping() const {
    return {static_cast<double>(Left),
            static_cast<double>(Right),
            static_cast<double>(Bottom),
            static_cast<double>(Top),
            static_cast<double>(ImageWidth / width()),
            static_cast<double>(ImageHeight / height())};
}

WorldPoint GraphWorld::toWorld(int px, int py) const {
    return {px * width() / ImageWidth + Left, Top - py * height() / ImageHeight};
}

void GraphWorld::swapAxes(int first, int second) {
    for (Bounds* b : {&Current, &Saved}) {
        std::swap(*axisMin(*b, first), *axisMin(*b, second));
        std::swap(*axisMax(*b, first), *axisMax(*b, second));
    }
    setCentres();
    updateWindow();
}
