// The "Image Info" report: what the picture shows and how it was drawn, line by line.
#pragma once

#include "graphics/GraphModel.h"

#include <cstdint>
#include <string>
#include <vector>

enum class ViewKind { Mono, Stereo, AxonometricRight, AxonometricLeft };

struct ImageInfoFacts {
    std::string ProblemCaption; // the main window's caption
    ViewKind View = ViewKind::Mono;
    bool Tube = false;
    double Alpha = 0, Beta = 0, Gamma = 0; // the 3D turns in degrees
    std::vector<std::string> Curves;       // the curve list's texts
    std::int32_t FirstCurve = 1;
    PlotFeature Feature = PlotFeature::None;
    std::string PlaytimeText; // lbSec after the measuring replay
    int Width = 0, Height = 0;
    std::int64_t Segments = 0; // the smaller of the stored count and the array length
    double CurveDensity = 1;
    std::int64_t PointsPlotted = 0, BulletPlots = 0;
    std::string DurationText; // edTime
};

// The facts a model knows after its measuring replay; the caller adds the caption, the view,
// the curve texts and the two time texts.
ImageInfoFacts modelFacts(const GraphModel& model);

// The report's lines in order, each as the help window adds it.
std::vector<std::string> imageInfoLines(const ImageInfoFacts& facts);
