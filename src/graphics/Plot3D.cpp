// The 3D plotter: curves of three variables rotated, projected for both eyes and drawn as an
// anaglyph pair (the eyes' colours added up) or as one eye's perspective picture.
#include "graphics/GraphModel.h"
#include "graphics/SceneFrame.h"
#include "workspace/WorkspaceState.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {

constexpr Pixel Nowhere{-10, -10};

// Stereo pictures add the eyes' colours: red and blue give magenta where the eyes overlap.
void orPixel(const PixelTarget& target, Pixel p, QRgb colour) {
    if (p.x >= 0 && p.y >= 0 && p.x < target.width && p.y < target.height)
        target.bits[p.y * target.stride + p.x] |= colour;
}

// A filled circle of radius r whose top-left corner is at (left, top), added to the picture.
void orDisc(QImage& image, int left, int top, int r, QRgb colour) {
    const PixelTarget target = PixelTarget::of(image);
    const double centre = r - 0.5;
    for (int y = 0; y < 2 * r; ++y)
        for (int x = 0; x < 2 * r; ++x)
            if ((x - centre) * (x - centre) + (y - centre) * (y - centre) <= r * r)
                orPixel(target, {left + x, top + y}, colour);
}

void copySquare(QImage& to, const QImage& from, Pixel centre, int r) {
    const PixelTarget target = PixelTarget::of(to);
    for (int y = centre.y - r; y <= centre.y + r; ++y)
        for (int x = centre.x - r; x <= centre.x + r; ++x)
            if (x >= 0 && y >= 0 && x < from.width() && y < from.height())
                target.set({x, y}, from.pixel(x, y));
}

bool isPureRed(WinColour colour) {
    return colour == LeftEyeColour;
}

} // namespace

void GraphModel::clearScene() {
    Image.fill(Scene.stereo() ? Qt::black : Qt::white);
    Depths.clear();
    drawSceneFrame(Image, View, Scene, World.mapping());
}

void GraphModel::moveStereoBullet(SlotDrawing& drawing, Pixel to, WinColour colour) {
    const int r = BulletRadius;
    copySquare(Screen, Image, drawing.LastBullet, r);
    orDisc(Screen, to.x - r, to.y - r, r, toRgb(colour));
    drawing.LastBullet = to;
}

void GraphModel::plotPoint3D(std::int32_t slot, Pixel right, Pixel left, const TubeDisc& disc,
                             bool trail, bool bulletDue, bool animate) {
    const auto index = static_cast<std::size_t>(slot);
    const bool onScreen = animate && HasScreen;
    const int r = BulletRadius;
    const bool stereo = Scene.stereo();
    // The eyes whose images are drawn: both in stereo, else the chosen one.
    const bool eyes[2] = {Scene.Mode != ViewMode::LeftEye, Scene.Mode != ViewMode::RightEye};
    const Pixel pixels[2] = {right, left};
    SlotDrawing* drawings[2] = {&drawings_[index], &leftDrawings_[index]};
    const WinColour colours[2] = {Scene.RightEye, Scene.LeftEye};
    TubeShading shading{static_cast<double>(World.Current.Zmin),
                        static_cast<double>(World.Current.Zmax), static_cast<double>(View.Dmin),
                        static_cast<double>(View.Dmax), Scene.Darkening};
    for (int eye = 0; eye < 2; ++eye) {
        if (!eyes[eye])
            continue;
        const Pixel p = pixels[eye];
        drawings[eye]->Current = p;
        if (trail && Scene.Tube) {
            TubeDisc at = disc;
            at.px = p.x;
            at.py = p.y;
            const bool red = isPureRed(colours[eye]);
            DepthBuffer& depth = Depths.eye(red ? 0 : 1);
            if (stereo)
                paintStereoTubeDisc(Image, depth, at, r, red, shading);
            else
                paintTubeDisc(Image, depth, at, r, Colours.rgb(slot), shading);
            if (onScreen)
                copySquare(Screen, Image, p, r);
        } else if (trail && stereo) {
            const QRgb colour = toRgb(colours[eye]);
            if (Thick) {
                orDisc(Image, p.x - r, p.y - r, r, colour);
                if (onScreen)
                    orDisc(Screen, p.x - r, p.y - r, r, colour);
            } else {
                orPixel(imageTarget_, p, colour);
                if (onScreen)
                    orPixel(screenTarget_, p, colour);
            }
        } else if (trail) {
            const Bullet& bullet = bullets_[index];
            if (Thick) {
                drawBullet(Image, bullet, p.x - r, p.y - r);
                if (onScreen)
                    drawBullet(Screen, bullet, p.x - r, p.y - r);
            } else {
                imageTarget_.set(p, Colours.rgb(slot));
                if (onScreen)
                    screenTarget_.set(p, Colours.rgb(slot));
            }
        }
        if (ShowBullets && onScreen && bulletDue && !(Thick && trail)) {
            if (stereo)
                moveStereoBullet(*drawings[eye], p, colours[eye]);
            else
                moveBullet(*drawings[eye], bullets_[index], p);
        }
    }
}

// As the plane plotter: sub-steps from the 3D chord length and the speed |(x', y', z')|; a point
// is drawn only when both its eye images and its screen y lie in the visible window.
void GraphModel::plotSegment3D(const SeriesSet& series, Extended t0, Extended t1,
                               std::int32_t maxSubSteps, bool animate) {
    if (View.Failed)
        return;
    const CurveTable& table = state_.Curves;
    const std::int32_t curves = table.count();
    const Extended h = t1 - t0;
    const double sigma = h < 0 ? -1 : 1;
    const double H = static_cast<double>(std::fabs(h));
    const Extended start = Played;
    const Extended target = start + std::fabs(h);
    // The projection magnifies up to S / F at the front of the box: the step shrinks by as much,
    // so the eye images keep their points one density step apart.
    const Extended magnification = View.F > 0 ? std::max<Extended>(1, View.S / View.F) : 1;
    const double densityStep = static_cast<double>(World.DensityStep / magnification);
    const PixelMapping map = World.mapping();
    const FastProjection projection = View.fast();
    imageTarget_ = PixelTarget::of(Image);
    screenTarget_ = HasScreen ? PixelTarget::of(Screen) : PixelTarget{};
    const Extended tolerance = World.PixelSize * 1e-3L;

    lanes_.clear();
    for (const Curve& curve : table.Curves) {
        lanes_.push_back(series.of(curve.X));
        lanes_.push_back(series.of(curve.Y));
        lanes_.push_back(series.of(curve.Z));
    }
    polynomials_.prepare(lanes_, series.Terms, std::fabs(h), tolerance);
    estimateArcs(3, h, densityStep);

    const bool shapes = Feature == PlotFeature::Triangle || Feature == PlotFeature::DoublePendulum;
    const bool bodies = Feature == PlotFeature::Axes || Feature == PlotFeature::Tetrahedron;
    const std::int32_t vertexCurves = shapes ? 3 : bodies ? 4 : 0;
    const std::int32_t firstTrail = std::max(FirstCurve, vertexCurves > 0 ? vertexCurves + 1 : 1);
    const double floor = H / CurveSubStepLimit;
    double subStep = H;
    double tau = 0;
    for (std::int32_t pass = 0; pass <= maxSubSteps; ++pass) {
        const bool bulletDue = animate && bulletClock_.due(TotalSpan, false);
        polynomials_.evaluate(sigma * tau);
        for (std::int32_t j = 0; j < curves; ++j) {
            const auto lane = static_cast<std::size_t>(3 * j);
            double x, y, z, right, left, sy;
            projection.rotate(polynomials_.value(lane), polynomials_.value(lane + 1),
                              polynomials_.value(lane + 2), x, y, z);
            if (!projection.project(x, y, z, right, left, sy)) {
                View.Failed = true;
                return;
            }
            const Pixel pr = map.toPixel(right, sy), pl = map.toPixel(left, sy);
            if (bulletDue && j < vertexCurves) {
                previousVertices3D_[0][j] = vertices3D_[0][j];
                previousVertices3D_[1][j] = vertices3D_[1][j];
                vertices3D_[0][j] = pr;
                vertices3D_[1][j] = pl;
                if (j + 1 == vertexCurves)
                    drawFeature3D();
            }
            if (!map.inside(right, sy) || !map.inside(left, sy))
                continue;
            const double dx = polynomials_.slope(lane), dy = polynomials_.slope(lane + 1),
                         dz = polynomials_.slope(lane + 2);
            TubeDisc disc{0, 0, z, 0, 0};
            if (Scene.Tube) {
                // The normal of the turned tangent; pixel rows grow downward.
                const double tx =
                    projection.m[0][0] * dx + projection.m[0][1] * dy + projection.m[0][2] * dz;
                const double ty =
                    projection.m[1][0] * dx + projection.m[1][1] * dy + projection.m[1][2] * dz;
                const double norm = std::hypot(tx, ty);
                if (norm > 0) {
                    disc.nx = ty / norm;
                    disc.ny = tx / norm;
                }
            }
            plotPoint3D(j, pr, pl, disc, ShowCurves && j + 1 >= firstTrail, bulletDue, animate);
            subStep = std::min(subStep, arcs_[static_cast<std::size_t>(j)]);
            const double speed2 = dx * dx + dy * dy + dz * dz;
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

void GraphModel::drawFinalBullets3D() {
    if (!ShowBullets || !HasScreen || Scene.Tube)
        return;
    for (std::int32_t j = 0; j < state_.Curves.count(); ++j) {
        const auto index = static_cast<std::size_t>(j);
        SlotDrawing& right = drawings_[index];
        SlotDrawing& left = leftDrawings_[index];
        if (Scene.Mode == ViewMode::RightEye && right.Current != Nowhere)
            moveBullet(right, bullets_[index], right.Current);
        if (Scene.Mode == ViewMode::LeftEye && left.Current != Nowhere)
            moveBullet(left, bullets_[index], left.Current);
        if (Scene.stereo() && right.Current != Nowhere)
            moveStereoBullet(right, right.Current, Scene.RightEye);
        if (Scene.stereo() && left.Current != Nowhere)
            moveStereoBullet(left, left.Current, Scene.LeftEye);
    }
}

// The moving shapes on the window's copy. Triangle and Double pendulum erase the old shape by
// drawing it in the background colour; Axes and Tetrahedron restore the rectangle around the
// old and new vertices from the picture, then draw from vertex 1 to the others.
void GraphModel::drawFeature3D() {
    if (!HasScreen)
        return;
    const bool stereo = Scene.stereo();
    const bool bodies = Feature == PlotFeature::Axes || Feature == PlotFeature::Tetrahedron;
    const std::size_t count = bodies ? 4 : 3;
    auto complete = [count](const std::array<Pixel, 4>& v) {
        return std::none_of(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(count),
                            [](Pixel p) { return p == Nowhere; });
    };
    const int eye = Scene.Mode == ViewMode::LeftEye ? 1 : 0;
    if (!complete(vertices3D_[static_cast<std::size_t>(eye)]))
        return;
    QPainter painter(&Screen);
    painter.setBrush(Qt::NoBrush);
    auto polygon = [count](const std::array<Pixel, 4>& v, std::size_t from) {
        QPolygon points;
        for (std::size_t k = from; k < count; ++k)
            points << QPoint(v[k].x, v[k].y);
        return points;
    };
    auto shape = [&](const std::array<Pixel, 4>& v, const QColor& colour) {
        painter.setPen(colour);
        if (bodies) {
            for (std::size_t k = 1; k < 4; ++k)
                painter.drawLine(v[0].x, v[0].y, v[k].x, v[k].y);
            if (Feature == PlotFeature::Tetrahedron)
                painter.drawPolygon(polygon(v, 1));
        } else if (Feature == PlotFeature::Triangle) {
            painter.drawPolygon(polygon(v, 0));
        } else {
            painter.drawPolyline(polygon(v, 0));
        }
    };
    if (bodies) {
        QRect area;
        for (const auto* set : {&previousVertices3D_, &vertices3D_})
            for (const auto& v : *set)
                for (std::size_t k = 0; k < count; ++k)
                    if (v[k] != Nowhere)
                        area |= QRect(v[k].x, v[k].y, 1, 1);
        area.adjust(-BulletRadius, -BulletRadius, BulletRadius, BulletRadius);
        painter.drawImage(area.topLeft(), Image, area);
    }
    if (!stereo) {
        const auto& previous = previousVertices3D_[static_cast<std::size_t>(eye)];
        if (!bodies && complete(previous))
            shape(previous, Qt::white);
        shape(vertices3D_[static_cast<std::size_t>(eye)], Qt::black);
        return;
    }
    if (!bodies)
        for (const auto& previous : previousVertices3D_)
            if (complete(previous))
                shape(previous, Qt::black);
    shape(vertices3D_[0], QColor(toRgb(Scene.RightEye)));
    if (Scene.Compensation || bodies)
        painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    shape(vertices3D_[1], QColor(toRgb(Scene.LeftEye)));
}
