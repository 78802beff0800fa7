// The gravitational n-body problem as problem text: n unit masses at the corners of a regular
// polygon on the unit circle, moving along it (in the plane z = 0 for the spatial form), with the
// mutual attractions spelled out as sums or given as designed polynomials.
#pragma once

#include "common/Extended.h"
#include "compiler/ProblemPanes.h"
#include "workspace/DesignedPolynomial.h"

#include <optional>
#include <string>
#include <vector>

class Ui;
struct ProblemDocument;

inline constexpr int MinBodies = 2;
inline constexpr int MaxBodies = 99;

// The start along the circle: half the circular speed gives ellipses, the full speed keeps the
// polygon turning rigidly.
enum class NBodyMotion { Elliptic, CircularChoreography };

struct NBodyOptions {
    int Bodies = 5;
    bool Spatial = false;
    NBodyMotion Motion = NBodyMotion::CircularChoreography;
    bool Designed = false; // the accelerations as designed polynomials v{c}{i}poly
};

// The speed that keeps n unit masses on the unit circle: the square root of a quarter of the sum
// of 1/sin(k*pi/n), k = 1 .. n-1, summed as 1/cos over half the polygon.
Extended circularSpeed(int bodies);

// The four panes; options.Bodies must lie in [2..99].
ProblemPanes nBodyPanes(const NBodyOptions& options);

// The designed polynomials of the accelerations, one per body and coordinate in equation order:
// a second-degree table with the d names of body i's pairs, then their r names, as its variables.
std::vector<DesignedPolynomial> nBodyPolynomials(const NBodyOptions& options);

// Replaces the document by the generated problem (cleared first, with the designed polynomials
// when asked for, marked edited). A number of bodies outside [2..99] shows "n must be in [2..99]"
// and leaves the document untouched.
bool setNBodyProblem(ProblemDocument& document, const NBodyOptions& options, Ui& ui);
