// Recording a movie: frame arithmetic, file names and the replay that writes the frames.
#include "graphics/MovieRecorder.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "graphics/GraphModel.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

int framesDue(Extended played, Extended previous, Extended interval) {
    if (!(interval > 0))
        return 0;
    return static_cast<int>(std::floor(std::fabs(played) / interval) -
                            std::floor(std::fabs(previous) / interval));
}

std::string frameFileName(const std::string& prefix, int counter, int filterIndex) {
    return prefix + formatText("%.6d", counter) + imageExtension(filterIndex);
}

Extended heldSpan(const GraphModel& model) {
    Extended span = 0;
    for (const StoredSegment& segment : model.heldSegments())
        span += std::fabs(segment.T1 - segment.T0);
    return span;
}

bool MovieRecorder::record(GraphModel& model, Ui& ui, const std::string& framesText, int depth,
                           const std::function<void()>& beforeReplay) {
    Counter = 0;
    const auto frames = parseInteger(trim(framesText));
    if (!frames || *frames < 1 || *frames > 10000000) {
        ui.message("Wrong number of frames");
        return false;
    }
    const auto chosen =
        ui.saveFileFiltered("Save movie sequence", ImageSaveFilter, Prefix, FilterIndex);
    if (!chosen)
        return false;
    return recordTo(model, ui, *frames,
                    std::filesystem::path(chosen->Path).replace_extension().string(),
                    chosen->FilterIndex, depth, beforeReplay);
}

bool MovieRecorder::recordTo(GraphModel& model, Ui& ui, long long frames, const std::string& prefix,
                             int filterIndex, int depth,
                             const std::function<void()>& beforeReplay) {
    Counter = 0;
    Written.clear();
    Prefix = prefix;
    FilterIndex = filterIndex;
    Depth = depth;
    Span = heldSpan(model);
    Frames = frames;
    if (Span == 0) {
        ui.message("Zero span, no integration steps");
        return false;
    }
    Interval = Span / static_cast<Extended>(frames);
    Frame = QImage(model.Image.size(), QImage::Format_RGB32);
    if (beforeReplay)
        beforeReplay();
    model.AfterSubStep = [this, &model] { afterSubStep(model); };
    try {
        model.replotAll(true);
    } catch (...) {
        model.AfterSubStep = nullptr;
        Interval = 0;
        throw;
    }
    model.AfterSubStep = nullptr;
    Interval = 0;
    return true;
}

void MovieRecorder::afterSubStep(GraphModel& model) {
    int due = framesDue(model.Played, model.PreviousPlayed, Interval);
    // The end of the span is the last boundary, whichever way span / N rounded.
    if (Interval > 0 && std::fabs(model.Played) >= Span)
        due = static_cast<int>(std::max<long long>(due, Frames - Counter));
    if (due <= 0)
        return;
    if (Counter == 0)
        model.drawLegend();
    Frame = (model.HasScreen ? model.Screen : model.Image).copy(model.Image.rect());
    for (int i = 0; i < due; ++i) {
        try {
            Written.push_back(
                saveImage(Frame, Depth, frameFileName(Prefix, Counter, FilterIndex), FilterIndex));
        } catch (const OrvantaError&) {
            Interval = 0; // a failed write ends the recording; the replay goes on
            return;
        }
        ++Counter;
    }
}
