#include "engine/TaylorEngine.h"
#include "integrator/IntegratorFixture.h"

#include <gtest/gtest.h>

namespace {

// Coefficients x^(k)/k! of the first position variable at the initial point, as published for
// these problems from an independent long double computation.
TEST(PublishedCoefficients, LorenzFromItsFile) {
    CompiledFixture f(panesOfFile("lorenz.ode"));
    const Extended* x = f.problem.Coefficients[f.problem.NumConst + 1];
    EXPECT_EQ(x[2], 130);
    EXPECT_NEAR(x[30] / 3202119796772424753.0L, 1.0L, 1e-17L);
}

TEST(PublishedCoefficients, FigureEightFromItsFile) {
    CompiledFixture f(panesOfFile("figure8.ode"));
    const Extended* x1 = f.problem.Coefficients[f.problem.NumConst + 1];
    EXPECT_EQ(x1[1], 0.466203685L);
    EXPECT_NEAR(x1[2], 0.6062527198524501632L, 1e-18L);
    EXPECT_NEAR(x1[30] / -76.5657605284996862L, 1.0L, 1e-15L);
}

TEST(PublishedCoefficients, ReorderedAndPairedPassesMatchTheListOrder) {
    // The fast schedule must give the very bits of the checked pass in list order.
    CompiledFixture f(panesOfFile("nbody10_3d.ode"));
    TCompiledProblem listOrder = f.problem;
    ComputeCoefficients(f.problem, f.state);
    ComputeCoefficientsChecked(listOrder, f.state);
    for (std::int32_t v = 0; v < f.problem.Coefficients.count(); ++v)
        for (std::int32_t k = 0; k < f.problem.Coefficients.length(v); ++k)
            ASSERT_EQ(f.problem.Coefficients[v][k], listOrder.Coefficients[v][k]) << v << " " << k;
}

} // namespace
