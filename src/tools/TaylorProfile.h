// The Taylor profile: the magnitudes |a_n h^n| of one variable's series terms as bars, the
// heuristic radius and the slide bar's step, and where each bar lies in the diagram.
#pragma once

#include "common/Extended.h"

#include <string>
#include <vector>

struct EngineState;

inline constexpr int ProfileSlideMax = 500; // the slide bar runs 0 ... 500

// R = 0.5^rate of the coefficients (no radius limit).
Extended profileRadius(EngineState& engine, const Extended* coefficients);
// The slide bar's full range is 2R; position 500 is h = 0, position 0 is h = 2R.
Extended slideStep(int position, Extended radius);
int slidePosition(Extended step, Extended radius);

struct ProfileBars {
    std::vector<Extended> Magnitudes; // |a_n| h^n, or lg(|a_n| h^n + 1)
    std::vector<int> Heights;         // pixels
    std::vector<bool> Negative;       // a_n < 0: drawn blue, else red
    Extended Greatest = 0;
    bool TooBig = false; // a term overflowed: every bar has zero height
};

// The bars for a diagram `height` pixels high; powers of h are built by repeated
// multiplication, and a zero coefficient's term is zero whatever h is.
ProfileBars profileBars(const std::vector<Extended>& coefficients, Extended step, bool logarithmic,
                        int height);

// Bar n of N in a diagram `width` wide: its left edge and its width.
int barLeft(int n, int width, int terms);
int barWidth(int width, int terms);
// The term under the mouse at x, never below 0.
int monomialUnderMouse(int x, int width, int terms);

// "Conv. radius: ...", "Max monomial: ..." or "Numbers too big!", the caption under the mouse.
std::string radiusLabel(Extended radius);
std::string maxLabel(const ProfileBars& bars);
inline constexpr const char* ProfileCaption = "Absolute values of Taylor monomials";
std::string mouseCaption(int monomial);
