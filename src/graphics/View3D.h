// The 3D view's geometry: viewing parameters in centimetres, the rotation about the box centre,
// the projection for both eyes, and the view setup that frames the rotated box on the screen.
#pragma once

#include "common/Extended.h"
#include "graphics/GraphWorld.h"
#include "graphics/Palette.h"

#include <array>
#include <cstdint>

// What the viewer sets on the "Parameters for 3D (in cm)" form and with the track bars.
struct ViewParams {
    Extended HalfEyeDistance = 3.5L;         // E0; the form shows twice this
    Extended ScreenWidth = 30;               // the width of the picture on the screen
    Extended EyesToScreen = 100;             // CS
    Extended EyesToFront = 70;               // CD: to the front of the rotated box
    Extended Alpha = 0, Beta = 0, Gamma = 0; // turns about X, Y and Z, in radians
    int ZStops = 100;                        // mouse-wheel stops between the box's depths
};

using Matrix3 = std::array<std::array<Extended, 3>, 3>;

// M = Rx(alpha) * Ry(beta) * Rz(gamma).
Matrix3 rotationMatrix(Extended alpha, Extended beta, Extended gamma);

// A point after rotation and projection: rotated x, y, z; the right eye's screen x; screen y;
// the left eye's screen x; screen y again. Screen values are world units on the screen plane.
struct ProjectedPoint {
    Extended x = 0, y = 0, z = 0;
    Extended RightX = 0, ScreenY = 0, LeftX = 0, ScreenY2 = 0;
};

// How the 3D picture is shown: an anaglyph pair, or one perspective picture from one eye.
enum class ViewMode { Stereo, LeftEye, RightEye };

// The choices of the graph window's 3D panel and menus.
struct Scene3D {
    ViewMode Mode = ViewMode::Stereo;
    bool Cage = false;        // "Cage On"
    bool Axes = false;        // "Axes On"
    bool Tube = false;        // "Tube On"
    bool Darkening = true;    // tubes darken with depth
    bool Compensation = true; // stereo shapes: the left eye's shape is merged, not copied
    bool Anchored = true;     // a turn keeps the frame
    WinColour LeftEye = LeftEyeColour, RightEye = RightEyeColour;
    bool stereo() const { return Mode == ViewMode::Stereo; }
};

// The projection in the plotter's precision; `project` is false when the point lies so far in
// front of the box that the denominator a + S is not positive.
struct FastProjection {
    double m[3][3]{};
    double xc = 0, yc = 0, zc = 0, dmax = 0, e = 0, s = 0, f = 0;
    void rotate(double x, double y, double z, double& rx, double& ry, double& rz) const {
        const double px = x - xc, py = y - yc, pz = z - zc;
        rx = xc + m[0][0] * px + m[0][1] * py + m[0][2] * pz;
        ry = yc + m[1][0] * px + m[1][1] * py + m[1][2] * pz;
        rz = zc + m[2][0] * px + m[2][1] * py + m[2][2] * pz;
    }
    bool project(double x, double y, double z, double& right, double& left, double& sy) const {
        const double a = (dmax - z) + f - s;
        const double d = a + s;
        if (!(d > 0))
            return false;
        right = ((x - xc) * s + a * e) / d + xc;
        left = ((x - xc) * s - a * e) / d + xc;
        sy = (y - yc) * s / d + yc;
        return true;
    }
};

class View3D {
  public:
    ViewParams Params;
    Matrix3 M = rotationMatrix(0, 0, 0);
    Extended K = 1, E = 0, S = 0, F = 0;  // world units per cm; eye, screen and front distances
    Extended Xc = 0, Yc = 0, Zc = 0;      // the box centre
    Extended Dmin = 0, Dmax = 0;          // the rotated cage's depth range
    Extended ZStep = 0;                   // one mouse Z-stop
    std::array<ProjectedPoint, 8> Cage{}; // vertex bits: 1 X max, 2 Y max, 4 Z max
    std::array<ProjectedPoint, 4> Axes{}; // centre, then the ends along X, Y, Z
    ProjectedPoint Cursor{};
    bool Failed = false; // a projection met a denominator <= 0

    // Rebuilds M from the parameters' angles.
    void rebuildMatrix() { M = rotationMatrix(Params.Alpha, Params.Beta, Params.Gamma); }
    ProjectedPoint rotated(Extended x, Extended y, Extended z) const;
    // Fills the screen values of a rotated point; false (and Failed) on a denominator <= 0.
    bool project(ProjectedPoint& p);
    // Scale, distances, the rotated and projected cage and axes, the Z-stop step and the cursor,
    // from the world's saved bounds.
    void projectFrame(const GraphWorld& world);
    // The whole setup: projectFrame, then the visible window from the front face, zoomed about
    // the centre.
    void setup(GraphWorld& world);
    FastProjection fast() const;
    // The wheel: one Z-stop toward the viewer (down) or away (up), within a stop of the box.
    void moveCursorDepth(bool towardViewer);
};

// The track bars' positions for the angles, and back: position = round(-degrees) in -90..90.
int trackBarPosition(Extended radians);
Extended angleOfTrackBar(int position);
