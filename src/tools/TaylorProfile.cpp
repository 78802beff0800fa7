// Bar arithmetic of the Taylor profile.
#include "tools/TaylorProfile.h"

#include "common/NumberText.h"
#include "integrator/StepControl.h"

#include <algorithm>
#include <cmath>

Extended profileRadius(EngineState& engine, const Extended* coefficients) {
    return std::pow(0.5L, static_cast<Extended>(VarRate(engine, coefficients)));
}

Extended slideStep(int position, Extended radius) {
    return static_cast<Extended>(ProfileSlideMax - position) / ProfileSlideMax * 2 * radius;
}

int slidePosition(Extended step, Extended radius) {
    if (!(radius > 0) || !std::isfinite(radius))
        return ProfileSlideMax;
    const Extended position =
        ProfileSlideMax - std::nearbyint(step * ProfileSlideMax / (2 * radius));
    return static_cast<int>(std::clamp<Extended>(position, 0, ProfileSlideMax));
}

ProfileBars profileBars(const std::vector<Extended>& coefficients, Extended step, bool logarithmic,
                        int height) {
    ProfileBars bars;
    const std::size_t terms = coefficients.size();
    bars.Magnitudes.assign(terms, 0);
    bars.Heights.assign(terms, 0);
    bars.Negative.assign(terms, false);
    Extended power = 1;
    for (std::size_t n = 0; n < terms; ++n) {
        if (n > 0)
            power *= step;
        const Extended a = coefficients[n];
        bars.Negative[n] = a < 0;
        Extended term = a == 0 ? 0 : std::fabs(a) * power;
        if (!std::isfinite(term)) {
            bars.TooBig = true;
            break;
        }
        if (logarithmic)
            term = std::log10(term + 1);
        bars.Magnitudes[n] = term;
        bars.Greatest = std::max(bars.Greatest, term);
    }
    if (bars.TooBig || bars.Greatest == 0)
        return bars;
    for (std::size_t n = 0; n < terms; ++n)
        bars.Heights[n] =
            static_cast<int>(std::nearbyint(height * bars.Magnitudes[n] / bars.Greatest));
    return bars;
}

int barLeft(int n, int width, int terms) {
    return static_cast<int>(std::nearbyint(static_cast<double>(n) * width / terms)) + 1;
}

int barWidth(int width, int terms) {
    return std::max(1, static_cast<int>(0.75 * width / terms));
}

int monomialUnderMouse(int x, int width, int terms) {
    if (width < 1 || terms < 1)
        return 0;
    const double offset = std::nearbyint(0.25 * width / terms);
    return std::max(0, static_cast<int>(std::nearbyint((x - offset) / width * terms)));
}

std::string radiusLabel(Extended radius) {
    return "Conv. radius: " + formatDisplay(radius);
}

std::string maxLabel(const ProfileBars& bars) {
    return bars.TooBig ? "Numbers too big!" : "Max monomial: " + formatDisplay(bars.Greatest);
}

std::string mouseCaption(int monomial) {
    return std::string(ProfileCaption) + ". The monomial under mouse: " + std::to_string(monomial);
}
