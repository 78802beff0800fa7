// The picture options of "render": a re-scaled image at a colour depth, movie frames of a
// replay, and a video made of the frames by ffmpeg.
#pragma once

#include "cli/CliCommand.h"
#include "common/Extended.h"

#include <optional>
#include <string>

class GraphModel;
struct GraphProblem;
class Ui;

struct RenderOutput {
    Extended Scale = 1;
    int Depth = 24;
    std::optional<long long> Frames;
    std::optional<std::string> Video;
};

// Reads `--scale S`, `--depth D`, `--frames N` or `--video FILE` at arguments[i] (moving i past
// its value); false when the argument is none of them. Bad values end with the usage line.
bool readRenderOutput(const CliArguments& arguments, std::size_t& i, RenderOutput& output,
                      const char* usage);
// Checks the options together once all are read.
void checkRenderOutput(const RenderOutput& output, const std::string& out, const char* usage);
// Whether the replay draws bullets on a screen copy (frames show them).
bool needsScreen(const RenderOutput& output);
// Writes the picture (or the frames, and the video) of the rendered model; returns the exit
// status and says on `log` what was written.
int writeRenderOutput(GraphModel& model, GraphProblem& graph, Ui& ui, const RenderOutput& output,
                      const std::string& out, std::ostream& log);
