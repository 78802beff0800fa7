// The graph window without its widgets: world, image and screen copy, palette and bullets, grid
// and legend, the segment plotter over the stored Taylor polynomials, replot and playback. The
// window shows `Screen`; the command line saves `Image`.
#pragma once

#include "common/Extended.h"
#include "graphics/GraphWorld.h"
#include "graphics/Palette.h"
#include "graphics/PlayClock.h"
#include "graphics/SegmentPolynomials.h"
#include "graphics/Tubes.h"
#include "graphics/View3D.h"

#include <QFont>
#include <QImage>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

struct WorkspaceState;

enum class PlotFeature : std::int32_t {
    None = 0,
    Triangle = 1,
    DoublePendulum = 2,
    Axes = 3,
    Tetrahedron = 4
};

// The Taylor polynomials of every stored variable at the start of one segment, `Terms`
// coefficients each, one variable after the other.
struct SeriesSet {
    const Extended* Data = nullptr;
    std::int32_t Vars = 0;
    std::int32_t Terms = 0;
    const Extended* of(std::int32_t var) const {
        return Data + static_cast<std::size_t>(var) * static_cast<std::size_t>(Terms);
    }
};

// A segment between two consecutive points held by the Results array.
struct StoredSegment {
    std::int32_t Slot = 0;       // the start point's slot
    Extended T0 = 0, T1 = 0;     // the independent variable there and at the next point
    bool HasIndependent = false; // false: the start point records no independent variable
};

// Per curve slot: what the plotter keeps between points.
struct SlotDrawing {
    Pixel LastBullet{-10, -10};
    Pixel Current{-10, -10};
};

// Direct access to an image's pixels for the plotter's loop, clipped to the image.
struct PixelTarget {
    QRgb* bits = nullptr;
    qsizetype stride = 0; // pixels per line
    int width = 0, height = 0;
    static PixelTarget of(QImage& image);
    void set(Pixel p, QRgb colour) const {
        if (p.x >= 0 && p.y >= 0 && p.x < width && p.y < height)
            bits[p.y * stride + p.x] = colour;
    }
};

enum class ReplotEnd { Drawn, NothingStored, AuxMissing };

inline constexpr std::int32_t CurveSubStepLimit = 100000;

class GraphModel {
  public:
    GraphModel(WorkspaceState& state, PlayClock& clock);

    // Appearance.
    GraphWorld World;
    Palette Colours;
    int GridCellsX = 10, GridCellsY = 10;
    bool ShowGrid = true;
    int BulletRadius = 2;
    bool Thick = false;
    bool ShowCurves = true;  // "cbCurves"
    bool ShowBullets = true; // "cbBullet"
    std::int32_t FirstCurve = 1;
    PlotFeature Feature = PlotFeature::None;
    double PlayDuration = 5; // seconds
    PlayTimer Timer = PlayTimer::Millisecond;
    bool HasScreen = false; // a window shows Screen; bullets and shapes go there only
    int AreaWidth = DefaultPlotWidth, AreaHeight = DefaultPlotHeight; // where the image may go

    // The 3D view: geometry, the panel's choices and the tubes' depth buffers.
    View3D View;
    Scene3D Scene;
    DepthBuffers Depths;
    bool threeD() const;

    QImage Image;  // the lasting picture
    QImage Screen; // the window's copy: the picture plus bullets and moving shapes
    QImage Backup; // the picture before the last mouse placement

    // Playback and counters of the last replot.
    Extended TotalSpan = 0, Played = 0, PreviousPlayed = 0;
    int PlayMax = 0; // the play bar's width; 0 takes the image width
    int playBarWidth() const { return PlayMax > 0 ? PlayMax : Image.width(); }
    std::vector<int> PlayTicks;
    int PlayPosition = 0;
    std::int64_t PointsPlotted = 0, BulletPlots = 0;
    double LastReplotSeconds = 0;
    bool HardTimerFailed = false;

    WorkspaceState& state() { return state_; }
    const WorkspaceState& state() const { return state_; }
    std::int32_t arcSamples() const { return arcSamples_; }

    // Bullets follow radius, thickness and colours.
    void rebuildBullets();
    // Fits the image into the available area and clears it; false when nothing fits.
    bool layout();
    // White picture, the grid when on, bullets forgotten; the screen copy follows.
    void clear();
    void drawGrid(QImage& target) const;
    void drawLegend();
    int legendLineHeight() const;
    static QFont legendFont();
    // The curve (0-based) whose legend line is at (x, y), for the colour choice.
    std::optional<std::int32_t> legendCurveAt(int x, int y) const;

    // Draws every curve of the table over one segment; see the sub-step rules in the source.
    void plotSegment(const SeriesSet& series, Extended t0, Extended t1, std::int32_t maxSubSteps,
                     bool animate);
    // Clears and draws all held segments; animated, it is paced over PlayDuration.
    ReplotEnd replotAll(bool animate);
    // The segments between consecutive held points, oldest first.
    std::vector<StoredSegment> heldSegments() const;
    // Starts the clocks of a run that draws as it integrates (total span 0).
    void startLiveDrawing();
    void copyImageToScreen();
    // The pair of bullets of the stereo view, or the chosen eye's bullets, at the curves' ends.
    void drawFinalBullets3D();

  private:
    // The arc length of every curve over the segment, turned into the sub-step it allows.
    void estimateArcs(std::size_t lanesPerCurve, Extended h, double densityStep);
    // After one pass of the plotter: the played span and the play bar move, paced when playing.
    void advancePlay(bool animate, Extended start, Extended target, double tau);
    void plotSegment3D(const SeriesSet& series, Extended t0, Extended t1, std::int32_t maxSubSteps,
                       bool animate);
    void plotPoint3D(std::int32_t slot, Pixel right, Pixel left, const TubeDisc& disc, bool trail,
                     bool bulletDue, bool animate);
    void moveStereoBullet(SlotDrawing& drawing, Pixel to, WinColour colour);
    void clearScene();
    void drawFeature3D();
    void plotPoint(std::int32_t slot, Pixel p, bool trail, bool bulletDue, bool animate);
    void moveBullet(SlotDrawing& drawing, const Bullet& bullet, Pixel to);
    void drawFeature();
    void resetDrawings();

    WorkspaceState& state_;
    Pacer pacer_;
    BulletClock bulletClock_;
    std::vector<Bullet> bullets_;
    std::vector<SlotDrawing> drawings_;
    std::vector<SlotDrawing> leftDrawings_;  // the left eye's images of the stereo view
    PixelTarget imageTarget_, screenTarget_; // set for each segment
    std::vector<const Extended*> lanes_; // x and y of every curve at the current segment's start
    SegmentPolynomials polynomials_;
    std::vector<double> arcs_; // per curve: its arc length, then the sub-step it allows
    std::array<Pixel, 3> vertices_{}, previousVertices_{};
    // The 3D shapes' vertices per eye (right, then left), current and previous.
    std::array<std::array<Pixel, 4>, 2> vertices3D_{}, previousVertices3D_{};
    std::int32_t arcSamples_ = 30;
};
