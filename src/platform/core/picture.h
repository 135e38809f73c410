// What a picture back end adds to the pixel code: pens wider than those the
// pixel code writes itself, thin lines too long to step, and the end of a
// painting session. Bitmap loading and text (platform/surface.h) are the
// picture back end's as well. Implemented on Qt Gui (platform/qtgui/) and
// without any library (platform/headless/).
#pragma once

#include <cstdint>

#include "platform/surface.h"

// Called by platformInit of a window back end that starts no toolkit of its
// own: the picture back end starts what its fonts need. 1 on success.
int pictureStart(int argc, char** argv);

// The arguments a toolkit's application object is made with: the program's
// name alone (Qt keeps references to both for the whole run).
int& platAppArgc();
char** platAppArgv(int argc, char** argv);

// The surface of the open painting session, or null.
PlatSurface* platPaintTarget();

// A line of any pen width, the end point left out; a width of 1 or less is a
// thin line whose coordinates were too far out to step.
void pictureWideLine(PlatSurface* s, int x0, int y0, int x1, int y1, int penWidth, uint32_t color);
// The closed outline of a box with a pen wider than 2.
void pictureWideBox(PlatSurface* s, int left, int top, int right, int bottom, int penWidth, uint32_t color);
// The session on the current target ends (a painter held open is closed).
void pictureEndSession();
