// Rotation, projection for both eyes and framing of the 3D view.
#include "graphics/View3D.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

Matrix3 multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 c{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            for (std::size_t k = 0; k < 3; ++k)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

constexpr Extended DegreesPerRadian = 180 / std::numbers::pi_v<Extended>;

} // namespace

Matrix3 rotationMatrix(Extended alpha, Extended beta, Extended gamma) {
    const Extended ca = std::cos(alpha), sa = std::sin(alpha);
    const Extended cb = std::cos(beta), sb = std::sin(beta);
    const Extended cg = std::cos(gamma), sg = std::sin(gamma);
    const Matrix3 rx{{{1, 0, 0}, {0, ca, sa}, {0, -sa, ca}}};
    const Matrix3 ry{{{cb, 0, -sb}, {0, 1, 0}, {sb, 0, cb}}};
    const Matrix3 rz{{{cg, sg, 0}, {-sg, cg, 0}, {0, 0, 1}}};
    return multiply(multiply(rx, ry), rz);
}

ProjectedPoint View3D::rotated(Extended x, Extended y, Extended z) const {
    const Extended p[3] = {x - Xc, y - Yc, z - Zc};
    const Extended o[3] = {Xc, Yc, Zc};
    Extended r[3];
    for (std::size_t i = 0; i < 3; ++i)
        r[i] = o[i] + M[i][0] * p[0] + M[i][1] * p[1] + M[i][2] * p[2];
    return {r[0], r[1], r[2]};
}

bool View3D::project(ProjectedPoint& p) {
    const Extended a = (Dmax - p.z) + F - S;
    const Extended d = a + S;
    if (!(d > 0)) {
        Failed = true;
        return false;
    }
    p.RightX = ((p.x - Xc) * S + a * E) / d + Xc;
    p.LeftX = ((p.x - Xc) * S - a * E) / d + Xc;
    p.ScreenY = p.ScreenY2 = (p.y - Yc) * S / d + Yc;
    return true;
}

void View3D::projectFrame(const GraphWorld& world) {
    const Bounds& b = world.Saved;
    Xc = world.Xc;
    Yc = world.Yc;
    Zc = world.Zc;
    K = (b.Xmax - b.Xmin) / Params.ScreenWidth;
    E = K * Params.HalfEyeDistance;
    S = K * Params.EyesToScreen;
    F = K * Params.EyesToFront;
    for (std::size_t v = 0; v < Cage.size(); ++v)
        Cage[v] =
            rotated(v & 1 ? b.Xmax : b.Xmin, v & 2 ? b.Ymax : b.Ymin, v & 4 ? b.Zmax : b.Zmin);
    const auto [low, high] = std::minmax_element(
        Cage.begin(), Cage.end(), [](const auto& p, const auto& q) { return p.z < q.z; });
    Dmin = low->z;
    Dmax = high->z;
    for (ProjectedPoint& vertex : Cage)
        project(vertex);
    Axes = {rotated(Xc, Yc, Zc), rotated(b.Xmax, Yc, Zc), rotated(Xc, b.Ymax, Zc),
            rotated(Xc, Yc, b.Zmax)};
    for (ProjectedPoint& end : Axes)
        project(end);
    ZStep = (Dmax - Dmin) / std::max(1, Params.ZStops);
    project(Cursor);
}

void View3D::setup(GraphWorld& world) {
    projectFrame(world);
    Extended xmin = Cage[0].x, xmax = xmin, ymin = Cage[0].y, ymax = ymin;
    for (const ProjectedPoint& p : Cage) {
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
    ProjectedPoint low{xmin, ymin, Dmax}, high{xmax, ymax, Dmax};
    project(low);
    project(high);
    const Extended zoom = world.Zoom;
    world.Left = (std::min(low.RightX, low.LeftX) - Xc) * zoom + Xc;
    world.Right = (std::max(high.RightX, high.LeftX) - Xc) * zoom + Xc;
    world.Bottom = (low.ScreenY - Yc) * zoom + Yc;
    world.Top = (high.ScreenY - Yc) * zoom + Yc;
}

FastProjection View3D::fast() const {
    FastProjection p;
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            p.m[i][j] = static_cast<double>(M[i][j]);
    p.xc = static_cast<double>(Xc);
    p.yc = static_cast<double>(Yc);
    p.zc = static_cast<double>(Zc);
    p.dmax = static_cast<double>(Dmax);
    p.e = static_cast<double>(E);
    p.s = static_cast<double>(S);
    p.f = static_cast<double>(F);
    return p;
}

void View3D::moveCursorDepth(bool towardViewer) {
    if (towardViewer)
        Cursor.z = std::min(Cursor.z + ZStep, Dmax + ZStep);
    else
        Cursor.z = std::max(Cursor.z - ZStep, Dmin - ZStep);
}

int trackBarPosition(Extended radians) {
    const long position = std::lround(-radians * DegreesPerRadian);
    return static_cast<int>(std::clamp(position, -90L, 90L));
}

Extended angleOfTrackBar(int position) {
    return -position / DegreesPerRadian;
}
