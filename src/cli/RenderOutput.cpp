// Pictures, frames and videos of "render".
#include "cli/RenderOutput.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "graphics/GraphModel.h"
#include "graphics/ImageFiles.h"
#include "graphics/MovieRecorder.h"
#include "graphics/RescaledImage.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cmath>
#include <filesystem>
#include <ostream>

namespace {

constexpr double FramesPerSecond = 30;

int filterOf(const std::string& path) {
    return toLower(std::filesystem::path(path).extension().string()) == ".bmp" ? BitmapFilter
                                                                               : PngFilter;
}

std::string prefixOf(const std::string& out) {
    return std::filesystem::path(out).replace_extension().string();
}

// ffmpeg reads the numbered PNG frames at 30 per second; the size is padded to even numbers,
// which the usual video codecs need.
int makeVideo(const std::string& prefix, const std::string& video, std::ostream& log) {
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty()) {
        log << "ffmpeg is not installed, so no video was made (the frames are written; install "
               "it with: apt-get install ffmpeg)\n";
        return 1;
    }
    const QStringList arguments = {"-y",
                                   "-loglevel",
                                   "error",
                                   "-framerate",
                                   QString::number(FramesPerSecond),
                                   "-i",
                                   QString::fromStdString(prefix + "%06d.png"),
                                   "-vf",
                                   "pad=ceil(iw/2)*2:ceil(ih/2)*2:color=white",
                                   "-pix_fmt",
                                   "yuv420p",
                                   QString::fromStdString(video)};
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(ffmpeg, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        log << "ffmpeg could not make " << video << "\n";
        return 1;
    }
    log << "video " << video << "\n";
    return 0;
}

} // namespace

bool readRenderOutput(const CliArguments& arguments, std::size_t& i, RenderOutput& output,
                      const char* usage) {
    const std::string& argument = arguments[i];
    if (argument != "--scale" && argument != "--depth" && argument != "--frames" &&
        argument != "--video")
        return false;
    if (i + 1 >= arguments.size())
        usageError(usage, argument + " needs a value");
    const std::string value = arguments[++i];
    if (argument == "--scale") {
        const auto scale = parseTrimmedNumber(value);
        if (!scale || !(*scale >= 0.1L && *scale <= 30))
            usageError(usage, "--scale is a number from 0.1 to 30");
        output.Scale = *scale;
    } else if (argument == "--depth") {
        const auto depth = parseInteger(trim(value));
        if (!depth || (*depth != 24 && *depth != 8 && *depth != 4 && *depth != 1))
            usageError(usage, "--depth is 24, 8, 4 or 1");
        output.Depth = static_cast<int>(*depth);
    } else if (argument == "--frames") {
        const auto frames = parseInteger(trim(value));
        if (!frames || *frames < 1 || *frames > 100000)
            usageError(usage, "--frames is a whole number from 1 to 100000");
        output.Frames = *frames;
    } else {
        const std::string extension = toLower(std::filesystem::path(value).extension().string());
        if (extension != ".mp4" && extension != ".webm")
            usageError(usage, "--video writes FILE.mp4 or FILE.webm");
        output.Video = value;
    }
    return true;
}

void checkRenderOutput(const RenderOutput& output, const std::string& out, const char* usage) {
    if (output.Frames && output.Scale != 1)
        usageError(usage, "--frames draws at the window's size: use --size instead of --scale");
    if (output.Video && !output.Frames)
        usageError(usage, "--video needs --frames");
    if (output.Video && filterOf(out) != PngFilter)
        usageError(usage, "--video makes its frames as PNG: --out PREFIX.png");
}

bool needsScreen(const RenderOutput& output) {
    return output.Frames.has_value();
}

int writeRenderOutput(GraphModel& model, GraphProblem& graph, Ui& ui, const RenderOutput& output,
                      const std::string& out, std::ostream& log) {
    if (!output.Frames) {
        const QImage image =
            output.Scale == 1 ? model.Image : rescaledImage(model, graph, ui, output.Scale);
        const std::string written = saveImage(image, output.Depth, out, filterOf(out));
        log << formatText("%d x %d pixels, %d bits per pixel: ", image.width(), image.height(),
                          output.Depth)
            << written << "\n";
        return 0;
    }
    model.PlayDuration = static_cast<double>(*output.Frames) / FramesPerSecond;
    MovieRecorder recorder;
    if (!recorder.recordTo(model, ui, *output.Frames, prefixOf(out), filterOf(out), output.Depth))
        return 1;
    if (recorder.Written.empty()) {
        log << "No frame could be written to " << frameFileName(recorder.Prefix, 0, filterOf(out))
            << "\n";
        return 1;
    }
    log << formatText("%d frames of %d x %d pixels: ", recorder.Counter, model.Image.width(),
                      model.Image.height())
        << recorder.Written.front() << " ... " << recorder.Written.back() << "\n";
    return output.Video ? makeVideo(prefixOf(out), *output.Video, log) : 0;
}
