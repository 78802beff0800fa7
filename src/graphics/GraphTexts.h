// The status, caption and direction texts of the graph window.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <string>
#include <vector>

struct CurveTable;

// lbTotal while idle: "Total 0" when nothing is stored, else "%d steps of %d".
std::string totalText(bool stored, std::int32_t totalSteps, std::int32_t storedPoints);
// lbTotal during More: "%d of %d (%d splits). Total %d (of %d)".
std::string moreProgressText(std::int32_t step, std::int32_t steps, std::int32_t splits,
                             std::int32_t totalSteps, std::int32_t stepIndex);
// The main window's lbHowMany during a graph More.
std::string howManyText(std::int32_t step, std::int32_t steps, std::int32_t splits,
                        std::int32_t totalSteps);
// "Heuristic conv. radius: %g" with the exponent tidied.
std::string radiusText(Extended radius);
// "%s,  independent variable %s %s" and the same with the pointer's world point.
std::string graphCaption(const std::string& problemCaption, const std::string& independent,
                         const std::string& direction);
std::string pointerCaption(const std::string& problemCaption, const std::string& independent,
                           const std::string& direction, Extended x, Extended y);
// The direction sign: the arrow follows the axis the independent variable is plotted on.
std::string directionSign(const CurveTable& curves, const std::string& independentLabel,
                          const std::vector<std::string>& names, bool backward);
// "%.2f s"
std::string secondsText(double seconds);
