// Drawing curves from the stored Taylor polynomials: segment plotter, replot, grid and legend.
#include "graphics/GraphModel.h"

#include "workspace/WorkspaceState.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {

constexpr Pixel Nowhere{-10, -10};

} // namespace

PixelTarget PixelTarget::of(QImage& image) {
    if (image.isNull())
        return {};
    return {reinterpret_cast<QRgb*>(image.bits()), image.bytesPerLine() / 4, image.width(),
            image.height()};
}

GraphModel::GraphModel(WorkspaceState& state, PlayClock& clock)
    : state_(state), pacer_(clock), bulletClock_(clock), drawings_(MaxCurves),
      leftDrawings_(MaxCurves) {
    arcSamples_ = std::clamp(state.TermCount, 3, 30);
    rebuildBullets();
}

bool GraphModel::threeD() const {
    return state_.Curves.ThreeD;
}

void GraphModel::rebuildBullets() {
    bullets_ = buildBullets(Colours, BulletRadius, Thick);
}

bool GraphModel::layout() {
    if (!World.layout(AreaWidth, AreaHeight))
        return false;
    Image = QImage(World.ImageWidth, World.ImageHeight, QImage::Format_RGB32);
    Depths.resize(Image.width(), Image.height());
    clear();
    Backup = Image;
    return true;
}

void GraphModel::resetDrawings() {
    for (auto* eye : {&drawings_, &leftDrawings_})
        for (SlotDrawing& drawing : *eye)
            drawing.LastBullet = drawing.Current = Nowhere;
    vertices_.fill(Nowhere);
    previousVertices_.fill(Nowhere);
    for (auto* eyes : {&vertices3D_, &previousVertices3D_})
        for (auto& eye : *eyes)
            eye.fill(Nowhere);
}

void GraphModel::clear() {
    if (threeD()) {
        clearScene();
    } else {
        Image.fill(Qt::white);
        if (ShowGrid)
            drawGrid(Image);
    }
    copyImageToScreen();
    resetDrawings();
}

void GraphModel::copyImageToScreen() {
    if (HasScreen)
        Screen = Image.copy();
}

void GraphModel::drawGrid(QImage& target) const {
    const int w = target.width(), h = target.height();
    const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
    const PixelTarget pixels = PixelTarget::of(target);
    for (int i = 1; i < GridCellsX; ++i) {
        const int x = static_cast<int>(std::nearbyint(i * (w - 1.0) / GridCellsX)) + 1;
        for (int y = 0; y <= h + 1; ++y)
            pixels.set({x, y}, silver);
    }
    for (int j = 1; j < GridCellsY; ++j) {
        const int y = static_cast<int>(std::nearbyint(j * (h - 1.0) / GridCellsY)) + 1;
        for (int x = 1; x <= w; ++x)
            pixels.set({x, y}, silver);
    }
}

// Legend text is drawn without smoothing so that its pixels carry exactly the curve colour.
QFont GraphModel::legendFont() {
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

int GraphModel::legendLineHeight() const {
    return QFontMetrics(legendFont()).height();
}

void GraphModel::drawLegend() {
    const int line = legendLineHeight();
    auto draw = [&](QImage& target) {
        QPainter painter(&target);
        painter.setFont(legendFont());
        painter.setBackgroundMode(Qt::OpaqueMode);
        const bool stereo = threeD() && Scene.stereo();
        painter.setBackground(stereo ? Qt::black : Qt::white);
        for (std::int32_t i = 0; i < state_.Curves.count(); ++i) {
            painter.setPen(stereo ? QColor(Qt::white) : QColor(Colours.rgb(i)));
            painter.drawText(QRect(1, i * line, target.width(), line), Qt::AlignLeft | Qt::AlignTop,
                             QString::fromStdString(state_.Curves.Curves[i].Caption));
        }
    };
    draw(Image);
    if (HasScreen)
        draw(Screen);
}

std::optional<std::int32_t> GraphModel::legendCurveAt(int x, int y) const {
    if (x > 100 || y < 0)
        return std::nullopt;
    const std::int32_t curve = y / legendLineHeight();
    if (curve >= state_.Curves.count())
        return std::nullopt;
    return curve;
}

void GraphModel::moveBullet(SlotDrawing& drawing, const Bullet& bullet, Pixel to) {
    const int r = BulletRadius;
    const Pixel from = drawing.LastBullet;
    // The old bullet is erased by copying its square back from the picture, trail included.
    const PixelTarget screen = PixelTarget::of(Screen);
    for (int y = from.y - r; y <= from.y + r; ++y)
        for (int x = from.x - r; x <= from.x + r; ++x)
            if (x >= 0 && y >= 0 && x < Image.width() && y < Image.height())
                screen.set({x, y}, Image.pixel(x, y));
    drawBullet(Screen, bullet, to.x - r, to.y - r);
    drawing.LastBullet = to;
}

// Inlined into the plotter's loop, where it runs for every point of every curve.
[[gnu::always_inline]] inline void GraphModel::plotPoint(std::int32_t slot, Pixel p, bool trail,
                                                         bool bulletDue, bool animate) {
    SlotDrawing& drawing = drawings_[static_cast<std::size_t>(slot)];
    const Bullet& bullet = bullets_[static_cast<std::size_t>(slot)];
    drawing.Current = p;
    const bool onScreen = animate && HasScreen;
    if (Thick && trail) {
        drawBullet(Image, bullet, p.x - BulletRadius, p.y - BulletRadius);
        if (onScreen)
            drawBullet(Screen, bullet, p.x - BulletRadius, p.y - BulletRadius);
        return;
    }
    if (trail) {
        imageTarget_.set(p, Colours.rgb(slot));
        if (onScreen)
            screenTarget_.set(p, Colours.rgb(slot));
    }
    if (ShowBullets && onScreen && bulletDue)
        moveBullet(drawing, bullet, p);
}

void GraphModel::drawFeature() {
    if (!HasScreen)
        return;
    QPainter painter(&Screen);
    painter.setBrush(Qt::NoBrush);
    auto shape = [&](const std::array<Pixel, 3>& v, const QColor& colour) {
        if (std::any_of(v.begin(), v.end(), [](Pixel p) { return p == Nowhere; }))
            return;
        painter.setPen(colour);
        QPolygon polygon;
        for (Pixel p : v)
            polygon << QPoint(p.x, p.y);
        if (Feature == PlotFeature::Triangle)
            painter.drawPolygon(polygon);
        else
            painter.drawPolyline(polygon);
    };
    shape(previousVertices_, Qt::white);
    shape(vertices_, Qt::black);
}

void GraphModel::startLiveDrawing() {
    TotalSpan = 0;
    Played = PreviousPlayed = 0;
    pacer_.start();
    bulletClock_.start();
}

void GraphModel::estimateArcs(std::size_t lanesPerCurve, Extended h, double densityStep) {
    const double H = static_cast<double>(std::fabs(h));
    const std::int32_t n = arcSamples_;
    arcs_.assign(lanes_.size() / lanesPerCurve, 0);
    std::vector<double> previous(lanes_.size());
    for (std::int32_t k = 0; k <= n; ++k) {
        polynomials_.evaluate(static_cast<double>(h * k / n));
        for (std::size_t j = 0; k > 0 && j < arcs_.size(); ++j) {
            double chord = 0;
            for (std::size_t lane = j * lanesPerCurve; lane < (j + 1) * lanesPerCurve; ++lane) {
                const double e = polynomials_.value(lane) - previous[lane];
                chord += e * e;
            }
            arcs_[j] += std::sqrt(chord);
        }
        for (std::size_t lane = 0; lane < previous.size(); ++lane)
            previous[lane] = polynomials_.value(lane);
    }
    // From here on each curve's entry is the sub-step its arc length allows: H / arc * density.
    for (double& arc : arcs_)
        arc = H / (std::isfinite(arc) ? std::max(arc, densityStep) : densityStep) * densityStep;
}

void GraphModel::advancePlay(bool animate, Extended start, Extended target, double tau) {
    if (!animate || TotalSpan == 0)
        return;
    PreviousPlayed = Played;
    Played = std::min(start + tau, target);
    const int max = playBarWidth();
    PlayPosition = max > 0 ? static_cast<int>(std::lround(max * Played / TotalSpan)) % max : 0;
    HardTimerFailed = !pacer_.wait(Played, TotalSpan, PlayDuration, Timer) || HardTimerFailed;
}

// Points are spaced about one density step apart on the screen: the sub-step is the smaller of
// the chord-length estimate over the segment and the local speed, never below H / 100000, and it
// never grows inside a segment. Points outside the window neither draw nor shorten it. The loop
// runs in double: positions need a fraction of a pixel.
void GraphModel::plotSegment(const SeriesSet& series, Extended t0, Extended t1,
                             std::int32_t maxSubSteps, bool animate) {
    if (threeD()) {
        plotSegment3D(series, t0, t1, maxSubSteps, animate);
        return;
    }
    const CurveTable& table = state_.Curves;
    const std::int32_t curves = table.count();
    const Extended h = t1 - t0;
    const double sigma = h < 0 ? -1 : 1;
    const double H = static_cast<double>(std::fabs(h));
    const Extended start = Played;
    const Extended target = start + std::fabs(h);
    const double densityStep = static_cast<double>(World.DensityStep);
    const PixelMapping map = World.mapping();
    imageTarget_ = PixelTarget::of(Image);
    screenTarget_ = HasScreen ? PixelTarget::of(Screen) : PixelTarget{};
    // A thousandth of a pixel per left-out term keeps every point on its pixel.
    const Extended tolerance = World.PixelSize * 1e-3L;

    lanes_.clear();
    for (const Curve& curve : table.Curves) {
        lanes_.push_back(series.of(curve.X));
        lanes_.push_back(series.of(curve.Y));
    }
    polynomials_.prepare(lanes_, series.Terms, std::fabs(h), tolerance);
    estimateArcs(2, h, densityStep);

    const bool shapes = Feature == PlotFeature::Triangle || Feature == PlotFeature::DoublePendulum;
    const std::int32_t firstTrail = shapes ? std::max(FirstCurve, 4) : FirstCurve;
    const double floor = H / CurveSubStepLimit;
    double subStep = H;
    double tau = 0;
    for (std::int32_t pass = 0; pass <= maxSubSteps; ++pass) {
        const bool bulletDue = animate && bulletClock_.due(TotalSpan, false);
        polynomials_.evaluate(sigma * tau);
        for (std::int32_t j = 0; j < curves; ++j) {
            const auto lane = static_cast<std::size_t>(2 * j);
            const double x = polynomials_.value(lane), y = polynomials_.value(lane + 1);
            const double dx = polynomials_.slope(lane), dy = polynomials_.slope(lane + 1);
            if (bulletDue && shapes && j < 3) {
                previousVertices_[j] = vertices_[j];
                vertices_[j] = map.toPixel(x, y);
                if (j == 2)
                    drawFeature();
            }
            if (!map.inside(x, y))
                continue;
            plotPoint(j, map.toPixel(x, y), ShowCurves && j + 1 >= firstTrail, bulletDue, animate);
            subStep = std::min(subStep, arcs_[static_cast<std::size_t>(j)]);
            // min(sub-step, density step / speed), with the root and the division only when
            // the speed lowers it.
            const double speed2 = dx * dx + dy * dy;
            if (speed2 * subStep * subStep > densityStep * densityStep)
                subStep = densityStep / std::sqrt(speed2);
            subStep = std::max(subStep, floor);
        }
        tau += subStep;
        ++PointsPlotted;
        if (bulletDue)
            ++BulletPlots;
        advancePlay(animate, start, target, tau);
        if (!(tau < H))
            break;
    }
    PreviousPlayed = std::min(start + (tau - subStep), target);
    Played = std::min(start + tau, target);
}

std::vector<StoredSegment> GraphModel::heldSegments() const {
    const ResultsArray& results = state_.Results;
    std::vector<StoredSegment> segments;
    if (results.empty())
        return segments;
    const std::int32_t last = state_.StepIndex;
    const std::int32_t oldest = std::max(0, last - (results.Length - 1));
    for (std::int32_t k = oldest; k < last; ++k) {
        const std::int32_t slot = k % results.Length;
        const std::int32_t next = (k + 1) % results.Length;
        const std::int32_t indep = results.ResultsIndep[static_cast<std::size_t>(slot)];
        StoredSegment segment{slot, 0, 0, indep >= 0 && indep < results.Vars};
        if (segment.HasIndependent) {
            segment.T0 = results.at(slot, indep)[0];
            segment.T1 = results.at(next, indep)[0];
        }
        segments.push_back(segment);
    }
    return segments;
}

ReplotEnd GraphModel::replotAll(bool animate) {
    const double started = pacer_.clock().now();
    clear();
    PointsPlotted = BulletPlots = 0;
    const ResultsArray& results = state_.Results;
    if (results.empty())
        return ReplotEnd::NothingStored;
    if (!state_.Curves.fitsColumns(results.Vars))
        return ReplotEnd::AuxMissing;
    const std::vector<StoredSegment> segments = heldSegments();
    TotalSpan = 0;
    for (const StoredSegment& segment : segments)
        TotalSpan += std::fabs(segment.T1 - segment.T0);
    PlayTicks.clear();
    if (TotalSpan != 0) {
        const int max = playBarWidth();
        Extended cumulative = 0;
        for (const StoredSegment& segment : segments) {
            cumulative += std::fabs(segment.T1 - segment.T0);
            PlayTicks.push_back(static_cast<int>(std::lround(max * cumulative / TotalSpan)));
        }
    }
    Played = PreviousPlayed = 0;
    pacer_.start();
    bulletClock_.start();
    View.Failed = false;
    for (const StoredSegment& segment : segments)
        if (segment.HasIndependent && !View.Failed)
            plotSegment({results.at(segment.Slot, 0), results.Vars, results.Terms}, segment.T0,
                        segment.T1, CurveSubStepLimit, animate);
    drawLegend();
    copyImageToScreen(); // the finished picture, then the bullets where the curves end
    if (threeD())
        drawFinalBullets3D();
    else if (ShowBullets && HasScreen)
        for (std::int32_t j = 0; j < state_.Curves.count(); ++j) {
            SlotDrawing& drawing = drawings_[static_cast<std::size_t>(j)];
            if (drawing.Current != Nowhere)
                moveBullet(drawing, bullets_[static_cast<std::size_t>(j)], drawing.Current);
        }
    LastReplotSeconds = pacer_.clock().now() - started;
    return ReplotEnd::Drawn;
}
