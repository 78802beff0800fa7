// The play bar's ticks: one at the end of every held segment, placed by the share of the
// independent variable's span drawn so far, whatever the direction and the array's wrapping.
#include "GraphFixture.h"

#include "integrator/IntegrationRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>

namespace {

// The ticks recomputed from the stored times of the held points, oldest first.
std::vector<int> expectedTicks(const GraphFixture& f, int max) {
    const ResultsArray& results = f.state.Results;
    const std::int32_t last = f.state.StepIndex;
    const std::int32_t oldest = std::max(0, last - (results.Length - 1));
    auto t = [&](std::int32_t k) { return results.at(k % results.Length, f.problem.IndepLine)[0]; };
    const Extended total = std::fabs(t(last) - t(oldest));
    std::vector<int> ticks;
    for (std::int32_t k = oldest + 1; k <= last; ++k)
        ticks.push_back(static_cast<int>(std::lround(max * std::fabs(t(k) - t(oldest)) / total)));
    return ticks;
}

} // namespace

TEST(PlayTicks, MarkEverySegmentEndByItsShareOfTheSpan) {
    GraphFixture f(panesOfProblem("kepler.ode"), 101);
    f.integrate("40");
    f.adjusted(300, 300);
    f.model->PlayMax = 500;
    ASSERT_EQ(f.model->replotAll(false), ReplotEnd::Drawn);
    const std::vector<int>& ticks = f.model->PlayTicks;
    ASSERT_EQ(ticks.size(), 40u);
    EXPECT_EQ(ticks, expectedTicks(f, 500));
    EXPECT_EQ(ticks.back(), 500);
    // The steps of the ellipse differ, and so do the gaps: the ticks follow time, not counts.
    std::vector<int> gaps;
    std::adjacent_difference(ticks.begin(), ticks.end(), std::back_inserter(gaps));
    EXPECT_GT(*std::max_element(gaps.begin(), gaps.end()),
              *std::min_element(gaps.begin(), gaps.end()) + 3);

    // Backward in time the ticks still grow from the start of the bar to its end.
    setDirection(f.problem, true);
    restart(f.state, f.problem, f.ui, 1);
    f.integrate("30");
    ASSERT_LT(f.problem.CurrentIndep, 0);
    f.model->replotAll(false);
    EXPECT_EQ(f.model->PlayTicks, expectedTicks(f, 500));
    EXPECT_TRUE(std::is_sorted(f.model->PlayTicks.begin(), f.model->PlayTicks.end()));
    EXPECT_EQ(f.model->PlayTicks.back(), 500);
}

TEST(PlayTicks, AWrappedCircularArrayTicksOnlyItsHeldSegments) {
    GraphFixture f(panesOfProblem("kepler.ode"), 0);
    createResults(f.state, f.problem, f.ui, "11", true, true);
    f.integrate("25");
    f.adjusted(300, 300);
    f.model->PlayMax = 320;
    f.model->replotAll(false);
    ASSERT_EQ(f.model->PlayTicks.size(), 10u); // eleven held points
    EXPECT_EQ(f.model->PlayTicks, expectedTicks(f, 320));
    EXPECT_EQ(f.model->PlayTicks.back(), 320);
}
