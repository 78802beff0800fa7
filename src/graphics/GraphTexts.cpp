// Texts the graph window shows.
#include "graphics/GraphTexts.h"

#include "common/NumberText.h"
#include "graphics/GraphWorld.h"
#include "workspace/CurveTable.h"

#include <algorithm>

std::string totalText(bool stored, std::int32_t totalSteps, std::int32_t storedPoints) {
    return stored ? formatText("%d steps of %d", totalSteps, storedPoints) : "Total 0";
}

std::string moreProgressText(std::int32_t step, std::int32_t steps, std::int32_t splits,
                             std::int32_t totalSteps, std::int32_t stepIndex) {
    return formatText("%d of %d (%d splits). Total %d (of %d)", step, steps, splits, totalSteps,
                      stepIndex);
}

std::string howManyText(std::int32_t step, std::int32_t steps, std::int32_t splits,
                        std::int32_t totalSteps) {
    return formatText("%d of %d  (%d step splits). Total: %d ", step, steps, splits, totalSteps);
}

std::string radiusText(Extended radius) {
    return tidyExponent(formatText("Heuristic conv. radius: %Lg", radius));
}

std::string graphCaption(const std::string& problemCaption, const std::string& independent,
                         const std::string& direction) {
    return formatText("%s,  independent variable %s %s", problemCaption.c_str(),
                      independent.c_str(), direction.c_str());
}

std::string pointerCaption(const std::string& problemCaption, const std::string& independent,
                           const std::string& direction, Extended x, Extended y) {
    return formatText("%s,  independent variable %s %s,  (%.6g, %.6g)", problemCaption.c_str(),
                      independent.c_str(), direction.c_str(), static_cast<double>(x),
                      static_cast<double>(y));
}

std::string directionSign(const CurveTable& curves, const std::string& independentLabel,
                          const std::vector<std::string>& names, bool backward) {
    const std::string v = trim(independentLabel);
    const bool onY = std::any_of(curves.Curves.begin(), curves.Curves.end(), [&](const Curve& c) {
        return c.Y >= 0 && static_cast<std::size_t>(c.Y) < names.size() && names[c.Y] == v;
    });
    if (onY)
        return backward ? v + "\r\n\u2193" : "\u2191\r\n" + v;
    return backward ? "\u2190 " + v : v + " \u2192";
}

std::string secondsText(double seconds) {
    return formatText("%.2f s", seconds);
}
