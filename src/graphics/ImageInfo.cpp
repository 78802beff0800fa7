// The Image Info report's lines.
#include "graphics/ImageInfo.h"

#include "common/NumberText.h"
#include "workspace/WorkspaceState.h"

#include <algorithm>
#include <numbers>

namespace {

const char* viewLine(ViewKind view) {
    switch (view) {
    case ViewKind::Stereo:
        return "STEREO image\r\n";
    case ViewKind::AxonometricRight:
        return "Axonometric right image\r\n";
    case ViewKind::AxonometricLeft:
        return "Axonometric left image\r\n";
    case ViewKind::Mono:
        break;
    }
    return "MONO image\r\n";
}

const char* featureLine(PlotFeature feature) {
    switch (feature) {
    case PlotFeature::Triangle:
        return "Moving triangle\r\n";
    case PlotFeature::DoublePendulum:
        return "Moving double pendulum\r\n";
    case PlotFeature::Tetrahedron:
        return "Moving tetrahedron\r\n";
    case PlotFeature::None:
    case PlotFeature::Axes:
        break;
    }
    return nullptr;
}

} // namespace

ImageInfoFacts modelFacts(const GraphModel& model) {
    const WorkspaceState& state = model.state();
    ImageInfoFacts facts;
    if (model.threeD()) {
        const Scene3D& scene = model.Scene;
        facts.View = scene.stereo()                     ? ViewKind::Stereo
                     : scene.Mode == ViewMode::RightEye ? ViewKind::AxonometricRight
                                                        : ViewKind::AxonometricLeft;
        facts.Tube = scene.Tube;
        const ViewParams& turns = model.View.Params;
        const double degrees = 180 / std::numbers::pi;
        facts.Alpha = static_cast<double>(turns.Alpha) * degrees;
        facts.Beta = static_cast<double>(turns.Beta) * degrees;
        facts.Gamma = static_cast<double>(turns.Gamma) * degrees;
    }
    facts.FirstCurve = model.FirstCurve;
    facts.Feature = model.Feature;
    facts.Width = model.Image.width();
    facts.Height = model.Image.height();
    facts.Segments = std::min<std::int64_t>(state.StepIndex + 1, state.Results.Length);
    facts.CurveDensity = static_cast<double>(model.World.CurveDensity);
    facts.PointsPlotted = model.PointsPlotted;
    facts.BulletPlots = model.BulletPlots;
    for (const Curve& curve : state.Curves.Curves)
        facts.Curves.push_back(curve.Caption);
    return facts;
}

std::vector<std::string> imageInfoLines(const ImageInfoFacts& facts) {
    std::vector<std::string> lines;
    lines.push_back("Problem: " + facts.ProblemCaption + "\r\n");
    lines.push_back(viewLine(facts.View));
    if (facts.View != ViewKind::Mono) {
        if (facts.Tube)
            lines.push_back("Tubular graphic\r\n");
        lines.push_back(formatText("α = %.2g°; β = %.2g°; γ = %.2g°\r\n", facts.Alpha, facts.Beta,
                                   facts.Gamma));
    }
    lines.push_back("List of curves:\r\n");
    for (std::size_t i = 0; i < facts.Curves.size(); ++i)
        lines.push_back(formatText("%d) %s", static_cast<int>(i + 1), facts.Curves[i].c_str()));
    const auto count = static_cast<std::int32_t>(facts.Curves.size());
    if (facts.FirstCurve > 1)
        lines.push_back(
            facts.FirstCurve > count
                ? std::string("No curves are plotted: only bullets")
                : formatText("Curves are plotted beginning with curve %d ", facts.FirstCurve));
    lines.push_back("");
    if (const char* feature = featureLine(facts.Feature))
        lines.push_back(feature);
    lines.push_back("The shortest playtime: " + facts.PlaytimeText + "\r\n");
    lines.push_back(formatText("Image size: %d × %d = %lld pixels\r\n", facts.Width, facts.Height,
                               static_cast<long long>(facts.Width) * facts.Height));
    lines.push_back(formatText("Number of analytical elements (or segments): %lld\r\n",
                               static_cast<long long>(facts.Segments)));
    lines.push_back(formatText("Curve density (distance between centers of adjacent pixels on the "
                               "curve) is the size of %.2g pixel\r\n",
                               facts.CurveDensity));
    lines.push_back(formatText("Number of pixels in each curve is up to %lld\r\n",
                               static_cast<long long>(facts.PointsPlotted)));
    lines.push_back(formatText(
        "Number of bullet plots in each curve during playtime %s is up to %lld.\r\nAt least 1 plot "
        "takes place within each of %lld segments,\r\nand consequent bullet plots happen with "
        "frequency 100 plots/s during playtime %s s.\r\n",
        facts.PlaytimeText.c_str(), static_cast<long long>(facts.BulletPlots),
        static_cast<long long>(facts.Segments), facts.DurationText.c_str()));
    lines.push_back("Comment: ");
    return lines;
}
