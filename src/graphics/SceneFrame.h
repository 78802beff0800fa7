// The frame of the 3D picture: the dotted cage of the box and the axes through its centre, with
// their labels, in one eye's projection or in both eyes' colours.
#pragma once

#include "graphics/GraphWorld.h"
#include "graphics/View3D.h"

#include <QImage>

// Draws the cage when it is on (labelled "Min", "X", "Y", "Z" when the axes are off) and the
// axes when they are on (labelled "C", "X", "Y", "Z").
void drawSceneFrame(QImage& image, const View3D& view, const Scene3D& scene,
                    const PixelMapping& map);
