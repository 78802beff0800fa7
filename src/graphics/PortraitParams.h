// The phase-portrait parameters with their defaults, their reading from the designer's texts, and
// the table of points: one point per line, three numbers separated by ",", ";" or a tab.
#pragma once

#include "common/Extended.h"
#include "common/Ui.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class StrokeLength : std::int32_t { Unlimited = 0, Limited = 1 };
enum class StrokeType : std::int32_t { Curvy = 0, Linear = 1 };

struct PortraitParams {
    std::int32_t CellsX = 21, CellsY = 21, CellsZ = 6; // nodes + 1 per axis
    std::int32_t StrokeSteps = 1;
    StrokeLength Length = StrokeLength::Unlimited;
    std::int32_t PixelLimit = 10;
    StrokeType Type = StrokeType::Curvy;
    bool ShowNodes = false;
    bool UseTable = false;
};

// The designer's fields as the user typed them.
struct PortraitTexts {
    std::string NodesX, NodesY, NodesZ, PixelLimit, StrokeSteps;
    StrokeLength Length = StrokeLength::Unlimited;
    StrokeType Type = StrokeType::Curvy;
    bool ShowNodes = false;
    bool UseTable = false;
};

// What the designer shows for the parameters (node counts are the cells less one).
PortraitTexts portraitTexts(const PortraitParams& params);

// Reads the fields in the designer's order into `params`. A field that is no whole number, or
// is out of its range (nodes 0 .. 10000, pixel limit 1 .. 100000, steps 1 .. 10000), shows
// "Wrong field parameters values"; the fields before it are kept, nothing after it is stored.
bool readPortraitParams(const PortraitTexts& texts, PortraitParams& params, Ui& ui);

// A point of the phase space in the plotted curve's x, y and z.
using PortraitPoint = std::array<Extended, 3>;

// A line of the table: its three numbers, each trimmed, or nothing.
std::optional<PortraitPoint> parseTablePoint(const std::string& line);
// Every valid line of the table, in order.
std::vector<PortraitPoint> tablePoints(const std::vector<std::string>& lines);
// A point as a mouse stroke appends it: "%g\t %g\t %g".
std::string tablePointText(const PortraitPoint& point);
