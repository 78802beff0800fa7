// The Taylor profile's bars against the closed forms of simple series.
#include "tools/TaylorProfile.h"
#include "integrator/ProgramState.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(TaylorProfile, BarHeightsAndColoursFollowTheTerms) {
    // 1 - 2h + 4h^2 - 8h^3 at h = 0.25: terms 1, 0.5, 0.25, 0.125, signs + - + -.
    const ProfileBars bars = profileBars({1, -2, 4, -8}, 0.25L, false, 200);
    EXPECT_EQ(bars.Heights, (std::vector<int>{200, 100, 50, 25}));
    EXPECT_EQ(bars.Negative, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(bars.Greatest, 1);
    EXPECT_FALSE(bars.TooBig);
    EXPECT_EQ(maxLabel(bars), "Max monomial: 1");
    // lg(term + 1): lg 2 = 0.30103, lg 1.5 = 0.17609, ... scaled to 1000 pixels.
    const ProfileBars log = profileBars({1, -2, 4, -8}, 0.25L, true, 1000);
    EXPECT_EQ(log.Heights[1],
              static_cast<int>(std::nearbyint(1000 * std::log10(1.5) / std::log10(2))));
    EXPECT_EQ(log.Heights[3],
              static_cast<int>(std::nearbyint(1000 * std::log10(1.125) / std::log10(2))));
    EXPECT_NEAR(static_cast<double>(log.Greatest), std::log10(2.0), 1e-15);
}

TEST(TaylorProfile, AllZeroVariableGivesAnEmptyDiagram) {
    ProgramState state; // the default 31 terms
    const std::vector<Extended> zeros(31, 0);
    const Extended radius = profileRadius(state, zeros.data());
    EXPECT_GT(radius, 1e300L); // the zero rate: an enormous radius, no error
    for (Extended h : {Extended{1}, radius / 2, 2 * radius}) {
        const ProfileBars bars = profileBars(zeros, h, false, 300);
        EXPECT_FALSE(bars.TooBig);
        EXPECT_EQ(bars.Greatest, 0);
        EXPECT_EQ(bars.Heights, std::vector<int>(31, 0));
    }
}

TEST(TaylorProfile, OverflowShowsNumbersTooBigAndNoBars) {
    std::vector<Extended> a(31, 1);
    const ProfileBars bars = profileBars(a, 1e200L, false, 300); // 1e6000 overflows
    EXPECT_TRUE(bars.TooBig);
    EXPECT_EQ(maxLabel(bars), "Numbers too big!");
    EXPECT_EQ(bars.Heights, std::vector<int>(31, 0));
}

TEST(TaylorProfile, GeometricSeriesAtTwiceTheRadiusGrowsToTheRight) {
    ProgramState state;
    // 1/(1 - 2t): a_n = 2^n, radius 0.5.
    std::vector<Extended> a(31);
    for (int n = 0; n < 31; ++n)
        a[static_cast<std::size_t>(n)] = std::ldexp(1.0L, n);
    const Extended radius = profileRadius(state, a.data());
    EXPECT_NEAR(static_cast<double>(radius), 0.5, 0.05);
    EXPECT_EQ(radiusLabel(0.5L), "Conv. radius: 0.5");
    const Extended h = slideStep(0, radius); // the bar at the top: h = 2R
    EXPECT_EQ(h, 2 * radius);
    const ProfileBars bars = profileBars(a, h, false, 400);
    for (std::size_t n = 1; n < 31; ++n)
        EXPECT_LE(bars.Heights[n - 1], bars.Heights[n]) << n;
    EXPECT_EQ(bars.Heights.back(), 400);
    EXPECT_LT(bars.Heights[20], 400 / 100); // terms grow like 2^n
}

TEST(TaylorProfile, SlideBarArithmetic) {
    EXPECT_EQ(slideStep(500, 3), 0);
    EXPECT_EQ(slideStep(250, 3), 3);
    EXPECT_EQ(slideStep(0, 3), 6);
    EXPECT_EQ(slidePosition(1.5L, 3), 375); // h = R/2 starts the slide mode
    EXPECT_EQ(slidePosition(6, 3), 0);
    EXPECT_EQ(slidePosition(60, 3), 0); // beyond the bar's range
    for (int position : {0, 1, 137, 499, 500})
        EXPECT_EQ(slidePosition(slideStep(position, 0.7L), 0.7L), position);
}

TEST(TaylorProfile, BarsAndTheMonomialUnderTheMouse) {
    // 31 terms across 620 pixels: 20 pixels each, bars 15 wide starting one pixel in.
    EXPECT_EQ(barLeft(0, 620, 31), 1);
    EXPECT_EQ(barLeft(30, 620, 31), 601);
    EXPECT_EQ(barWidth(620, 31), 15);
    EXPECT_EQ(barWidth(20, 31), 1);
    EXPECT_EQ(monomialUnderMouse(0, 620, 31), 0);
    EXPECT_EQ(monomialUnderMouse(8, 620, 31), 0);
    EXPECT_EQ(monomialUnderMouse(20, 620, 31), 1); // (20 - 5) / 20 = 0.75 rounds to 1
    EXPECT_EQ(monomialUnderMouse(610, 620, 31), 30);
    EXPECT_EQ(mouseCaption(7), "Absolute values of Taylor monomials. The monomial under mouse: 7");
}
