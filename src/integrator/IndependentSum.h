// The independent variable as the compensated sum of the steps: CurrentIndep with the rounding it
// leaves out, so that after many steps the state belongs to the time the steps add up to.
#pragma once

#include "compiler/CompiledProblem.h"

// The rounding CurrentIndep leaves out (0 once something else has set CurrentIndep).
inline Extended indepLow(const TCompiledProblem& problem) {
    return problem.CurrentIndep == problem.IndepLowOf ? problem.IndepLow : 0;
}

// CurrentIndep := hi + lo in two parts, the larger one rounded to nearest.
inline void setIndep(TCompiledProblem& problem, Extended hi, Extended lo) {
    const Extended sum = hi + lo;
    problem.IndepLow = lo - (sum - hi);
    problem.CurrentIndep = sum;
    problem.IndepLowOf = sum;
}

// A step starts at the current point: TPrev with its rounding.
inline void beginStepAt(TCompiledProblem& problem) {
    problem.TPrevLow = indepLow(problem);
    problem.TPrev = problem.CurrentIndep;
}

// CurrentIndep := TPrev + h, with the rounding of the sum (exact by the two-sum of Knuth) and the
// rounding TPrev carried kept in IndepLow.
inline void moveIndepBy(TCompiledProblem& problem, Extended h) {
    const Extended a = problem.TPrev;
    const Extended sum = a + h;
    const Extended hPart = sum - a;
    const Extended error = (a - (sum - hPart)) + (h - hPart);
    setIndep(problem, sum, error + problem.TPrevLow);
}

// TPrev + h rounded once, for the independent variable's own value at a trial point.
inline Extended indepAfter(const TCompiledProblem& problem, Extended h) {
    return problem.TPrev + (h + problem.TPrevLow);
}

// The step from TPrev that lands on `point`: it takes TPrev's rounding into account.
inline Extended stepTo(const TCompiledProblem& problem, Extended point) {
    return (point - problem.TPrev) - problem.TPrevLow;
}

// CurrentIndep := point exactly (a snapped end point).
inline void placeIndepAt(TCompiledProblem& problem, Extended point) {
    setIndep(problem, point, 0);
}

// The step that reached the current point (0 at a point no step reached: the initial point, or
// one set directly).
inline Extended takenStep(const TCompiledProblem& problem) {
    return problem.TakenStepEnd == problem.CurrentIndep ? problem.TakenStep : 0;
}
