#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"
#include "workspace/ExtendedFile.h"
#include "workspace/SpecialPointFile.h"

#include <gtest/gtest.h>

namespace {

struct SpecialPointTest : ::testing::Test {
    TempFolder folder;
    FakeUi ui;
    TCompiledProblem problem;
    ProgramState state;

    // The series of exp: 1/k!.
    std::vector<Extended> expSeries() const {
        std::vector<Extended> a(static_cast<std::size_t>(state.TermCount));
        Extended term = 1;
        for (std::size_t k = 0; k < a.size(); ++k) {
            a[k] = term;
            term /= static_cast<Extended>(k + 1);
        }
        return a;
    }
    std::string write(Extended point, const std::vector<Extended>& values) {
        ExtendedFileWriter out;
        out.put(point);
        out.put(values.data(), values.size());
        std::string path = folder.path("p.sing");
        EXPECT_TRUE(out.save(path));
        return path;
    }
};

} // namespace

TEST_F(SpecialPointTest, OnePlusTermCountNumbersLoadAndTheWindowFollowsTheirGrowth) {
    auto series = expSeries();
    series.push_back(99); // further numbers are ignored
    ASSERT_TRUE(loadSpecialPoint(problem, state, write(1.25L, series), 0, ui));
    EXPECT_EQ(1.25L, problem.SpecialPoint);
    series.pop_back();
    EXPECT_EQ(series, problem.SpecialValues);
    // The growth rate of the exp series gives R = 6.2968599, below the radius limit of 10.
    EXPECT_NEAR(6.2968599, static_cast<double>(problem.SpecialWindow), 1e-6);
    state.RadLimit = 5;
    ASSERT_TRUE(loadSpecialPoint(problem, state, write(1.25L, series), 0, ui));
    EXPECT_EQ(5, problem.SpecialWindow);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SpecialPointTest, TermCountNumbersAreNotEnough) {
    problem.SpecialValues = {1, 2, 3};
    auto series = expSeries();
    series.pop_back();
    EXPECT_FALSE(loadSpecialPoint(problem, state, write(0, series), 0, ui));
    EXPECT_EQ(std::vector<std::string>{"The order of expantion at special point not enough"},
              ui.messages);
    EXPECT_FALSE(problem.hasSpecialPoint());
    writeBytes(folder.path("empty.sing"), "");
    EXPECT_FALSE(loadSpecialPoint(problem, state, folder.path("empty.sing"), 0, ui));
    EXPECT_EQ(2u, ui.messages.size());
}

TEST_F(SpecialPointTest, AMissingFileRemovesThePointSilently) {
    problem.SpecialValues = {1, 2, 3};
    EXPECT_FALSE(loadSpecialPoint(problem, state, folder.path("none.sing"), 0, ui));
    EXPECT_FALSE(problem.hasSpecialPoint());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SpecialPointTest, DifferentiatingKeepsTheWindowOfTheLoadedSeries) {
    auto series = expSeries();
    ASSERT_TRUE(loadSpecialPoint(problem, state, write(0, series), 0, ui));
    const Extended window = problem.SpecialWindow;
    ASSERT_TRUE(loadSpecialPoint(problem, state, write(0, series), 2, ui));
    EXPECT_EQ(window, problem.SpecialWindow);
    // The second derivative of exp is exp: the coefficients stay 1/k! up to the last two.
    for (std::size_t k = 0; k + 2 < series.size(); ++k)
        EXPECT_NEAR(1.0, static_cast<double>(problem.SpecialValues[k] / series[k]), 1e-15) << k;
    EXPECT_EQ(series.back(), problem.SpecialValues.back());
}

TEST(SeriesDerivative, FollowsTheCoefficientRule) {
    std::vector<Extended> a{5, 1, 2, 3, 4};
    differentiateSeries(a, 1);
    EXPECT_EQ((std::vector<Extended>{1, 4, 9, 16, 4}), a);
    std::vector<Extended> b{5, 1, 2, 3, 4};
    differentiateSeries(b, 2);
    EXPECT_EQ((std::vector<Extended>{4, 18, 48, 3, 4}), b);
    std::vector<Extended> single{7};
    differentiateSeries(single, 1);
    differentiateSeries(single, 2);
    EXPECT_EQ(std::vector<Extended>{7}, single);
    std::vector<Extended> c{5, 1, 2};
    differentiateSeries(c, 0);
    EXPECT_EQ((std::vector<Extended>{5, 1, 2}), c);
}
