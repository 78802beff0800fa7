// Re-scaled pictures: the curves replotted into an image about s times larger in each direction,
// so that lines stay one pixel wide, and the window's picture restored afterwards.
#pragma once

#include "common/Extended.h"

#include <QImage>

class GraphModel;
struct GraphProblem;
class Ui;

// "To file with re-scaling" needs stored results: false after "Image is not persistent for
// resizing".
bool rescalingPossible(const GraphModel& model, Ui& ui);

// The picture at `scale`: the layout runs in the area times the scale and every curve is
// replotted without animation; then the layout and replot run again at the window's size.
QImage rescaledImage(GraphModel& model, GraphProblem& graph, Ui& ui, Extended scale);
