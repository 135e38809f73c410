// Inside graphics: where a queued command can write on the canvas, and the
// composition of the queues into chosen parts of the back buffer. The present
// (frame.cpp) decides the parts (damage.cpp) and flush.cpp performs them.
#pragma once

#include "gfx/gfx.h"

// The smallest rectangle (right and bottom exclusive) holding every pixel the
// command can write; false when it can write none. A text's rectangle is
// reckoned from its bytes, wide enough for any glyph and its shadow.
bool blitBounds(const BlitCommand& c, PlatRect* r);
bool textBounds(const TextCommand& t, PlatRect* r);
bool shapeBounds(const ShapeCommand& s, PlatRect* r);

// Every layer's queued commands (the frame's clear first) performed on the
// back buffer, each written only inside the given parts of the canvas; with
// no parts, on the whole of it. The queues are left as they are.
void composeParts(const PlatRect* parts, int partCount);
// The queues emptied, with the number of commands they held counted as the
// frame's draws.
void emptyQueues();

// The parts of the canvas whose commands differ from the frame on screen;
// 0 when the whole canvas is to be composed and compared.
int reckonDamage(const PlatRect** parts);
// The present failed to show the frame: the next one shows all of it.
void presentMissed();
