// Movie frames written while the curves are replayed: one frame per span / N of the independent
// variable, each a file named by the prefix, a six-digit counter and the format's extension.
#pragma once

#include "common/Extended.h"
#include "graphics/ImageFiles.h"

#include <QImage>

#include <functional>
#include <string>
#include <vector>

class GraphModel;
struct GraphProblem;
class Ui;

// Frames due when the replay moves from `previous` to `played`: the frame boundaries crossed.
int framesDue(Extended played, Extended previous, Extended interval);
// prefix + the counter as "%.6d" + ".bmp" or ".png".
std::string frameFileName(const std::string& prefix, int counter, int filterIndex);
// The span of the independent variable over the held segments.
Extended heldSpan(const GraphModel& model);

class MovieRecorder {
  public:
    Extended Interval = 0; // a span of the independent variable; 0 records nothing
    int Counter = 0;
    std::string Prefix = "c:\\";
    int FilterIndex = PngFilter;
    int Depth = 24;
    QImage Frame;
    Extended Span = 0; // the replayed span, and the frames asked for over it
    long long Frames = 0;
    std::vector<std::string> Written; // the files of the last recording

    // "Record": reads the number of frames, asks for the file name (its name without extension
    // becomes the prefix) and replays the curves with animation, writing the frames. False
    // after "Wrong number of frames", a cancelled dialog or "Zero span, no integration steps".
    // `beforeReplay` runs just before the replay (the form hides itself there).
    bool record(GraphModel& model, Ui& ui, const std::string& framesText, int depth,
                const std::function<void()>& beforeReplay = {});
    // Replays the curves with animation writing `frames` frames named by the prefix; false after
    // "Zero span, no integration steps".
    bool recordTo(GraphModel& model, Ui& ui, long long frames, const std::string& prefix,
                  int filterIndex, int depth, const std::function<void()>& beforeReplay = {});
    // Called after every sub-step of the replay.
    void afterSubStep(GraphModel& model);
};
