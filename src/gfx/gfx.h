// Graphics: the display, the 300 surface slots, the Sprite table and the
// layered queues of copies, texts and shapes, and frame composition.
//
// Nothing is drawn when it is requested: every part of the editor queues into
// the per-layer queues during the frame, and presentFrame performs them layer
// by layer (copies, then texts, then shapes within a layer).
#pragma once

#include <cstdint>

#include "gfx/palette.h"
#include "platform/platform.h"

struct PlatSurface;

// ---------------------------------------------------------------------------
// Screen metrics: the canvas the editor draws on and every place and limit
// bound to its size, in one record that the editor, the preview and graphics
// read. The classic canvas is 800 x 600, fitted to the display; a canvas the
// size of the display divides it by a whole interface scale.
constexpr int32_t CLASSIC_CANVAS_W = 800;
constexpr int32_t CLASSIC_CANVAS_H = 600;
// The largest canvas: a display larger than this at its interface scale
// draws the largest and has it fitted, as the classic one is.
constexpr int32_t CANVAS_MAX_W = PICTURE_MAX_W;
constexpr int32_t CANVAS_MAX_H = PICTURE_MAX_H;

struct ScreenMetrics {
  int32_t canvasW, canvasH;
  int32_t displaySized;  // 1: a canvas the size of the display, 0: the classic one
  int32_t scale;         // display pixels a canvas pixel, whole (1 on the classic canvas)
  // Dialogs, message boxes and choosers are drawn this many times their
  // size, to match the picture: the interface scale on a display-size
  // canvas, the classic picture's fit rounded down (at least 1) otherwise.
  int32_t dialogScale;
  // A view window: its content's top-left corner is kept where its title can
  // still be grabbed, its right and bottom edges short of the canvas edge.
  int32_t windowMinX, windowMaxX, windowMinY, windowMaxY;
  int32_t windowMaxRight, windowMaxBottom;
  int32_t windowMinW, windowMinH;
  int32_t scrollBand;  // the auto-scroll band round a window's content
  // The toolbar: the row of command buttons and the tool strip below it.
  int32_t buttonY, buttonSize, stripY, stripSize;
  // The clock's text on the editing screen (where no window stands at the
  // default layout) and on the preview (bottom right, above the cells).
  int32_t clockX, clockY, previewClockX, previewClockY;
};

// The interface scale of a display: one canvas pixel per 1080 display rows,
// at least 1.
constexpr int32_t interfaceScale(int32_t displayH) { return displayH / 1080 > 1 ? displayH / 1080 : 1; }

constexpr ScreenMetrics measureScreen(int32_t displayW, int32_t displayH, int32_t displaySized) {
  ScreenMetrics m{};
  const int32_t s = interfaceScale(displayH);
  const bool big = displaySized != 0 && displayW >= CLASSIC_CANVAS_W && displayH >= CLASSIC_CANVAS_H;
  m.displaySized = big ? 1 : 0;
  m.scale = big ? s : 1;
  m.canvasW = big ? displayW / s : CLASSIC_CANVAS_W;
  m.canvasH = big ? displayH / s : CLASSIC_CANVAS_H;
  const int32_t fit = displayW * CLASSIC_CANVAS_H < displayH * CLASSIC_CANVAS_W ? displayW / CLASSIC_CANVAS_W
                                                                                : displayH / CLASSIC_CANVAS_H;
  m.dialogScale = big ? s : (fit > 1 ? fit : 1);
  if (m.canvasW > CANVAS_MAX_W) m.canvasW = CANVAS_MAX_W;
  if (m.canvasH > CANVAS_MAX_H) m.canvasH = CANVAS_MAX_H;
  // A window may be pushed until only its title's 74 px are on the canvas
  // across, and until its title alone shows at the bottom.
  m.windowMinX = 6;
  m.windowMaxX = m.canvasW - 74;
  m.windowMinY = 27;
  m.windowMaxY = m.canvasH + 6;
  m.windowMaxRight = m.canvasW - 6;
  m.windowMaxBottom = m.canvasH - 6;
  m.windowMinW = 80;
  m.windowMinH = 32;
  m.scrollBand = 10;
  m.buttonY = 16;
  m.buttonSize = 48;
  m.stripY = 66;
  m.stripSize = 18;
  // The clock's text is 208 px wide. It ends the tool strip's row (at the
  // bottom right the map window's frame covered it), unless the canvas is
  // large enough that its bottom right corner lies beyond the classic screen,
  // clear of the windows at their default places.
  m.clockX = m.canvasW - 208;
  const bool cornerFree = m.clockX >= CLASSIC_CANVAS_W || m.canvasH - 20 >= CLASSIC_CANVAS_H;
  m.clockY = cornerFree ? m.canvasH - 20 : 67;
  m.previewClockX = m.canvasW - 208;
  m.previewClockY = m.canvasH - 16;
  return m;
}

// The canvas of this run: measured once at start (the classic one until then).
extern ScreenMetrics screenMetrics;

constexpr int LAYER_COUNT = 5;
// The queues are fixed-size and sized for the fullest frame on the largest
// canvas, so that nothing a view shows is ever dropped. The fullest layer is
// the map window's (the map and the chip sheet swap layers 1 and 2, so both
// must hold it) at the smallest chip of 8 px and the largest window (the
// canvas less 12 px across, 33 px down):
//   cells offered across <= 2560 / 8 + 2 = 322, down <= 1600 / 8 + 2 = 202,
//   so 65044 cells (a partly shown cell at each side, one touching the clip);
//   per cell the chip and, in attribute mode, three digits: 4 cells' worth;
//   the brush ghost, one chip per cell of the window: one more;
//   frame (4 corners, 64 px edge pieces), title, thumbs and the sheet
//   window's few items: well under 256.
// Below 1:1 the map is one copy of its picture. The preview's cells at 1:1
// fit the same bound.
// A BlitCommand is 64 bytes: about 21 MB a layer of address space, resident
// only as far as a frame fills it (about 2.5 MB on the classic canvas).
constexpr int BLIT_WORST_CELLS = (CANVAS_MAX_W / 8 + 2) * (CANVAS_MAX_H / 8 + 2);
constexpr int BLIT_QUEUE_SIZE = BLIT_WORST_CELLS * 4 + BLIT_WORST_CELLS + 256;
// Shapes of the fullest layer: the grid lines of the largest window at 8 px,
// the hover box, the attribute outline and the pick or selection box.
constexpr int SHAPE_QUEUE_SIZE = (CANVAS_MAX_W - 12 + 7) / 8 + (CANVAS_MAX_H - 33 + 7) / 8 + 3 + 24;
constexpr int TEXT_QUEUE_SIZE = 50;
constexpr int TEXT_STORE = 128;
constexpr int SLOT_COUNT = 300;

// ---------------------------------------------------------------------------
// Display
int startDisplay(int width, int height, int bitsPerPixel);
// Fills the back buffer at once; the next present composes and compares the
// whole canvas, as anything written outside the queues may have changed it.
void clearBackBuffer(uint32_t rawPixel);
// Hands the back buffer to the window, only the given parts compared with
// the picture on screen (the whole of it without parts); 1 when it was shown.
int presentBackBuffer(const PlatRect* parts = nullptr, int partCount = 0);
void restoreSurfaces();
void stopGraphics();
PlatSurface* backBuffer();  // the canvas, RGB565 (null before startDisplay)

// ---------------------------------------------------------------------------
// Surface slots
enum SlotIndex {
  SLOT_DATA = 0, SLOT_ICON = 1, SLOT_MES = 2, SLOT_WALLPAPER = 5, SLOT_CHIPSHEET = 10,
  // Pictures the editor draws itself: the map's chips, one pixel a cell of
  // its attributes' colours.
  SLOT_MAP_PICTURE = 11, SLOT_ATTRIBUTE_PICTURE = 12,
  // The wallpaper stretched to the canvas.
  SLOT_WALLPAPER_CANVAS = 13,
};
constexpr uint32_t CLR_INVALID = 0xFFFFFFFFu;

struct SurfaceSlot {
  PlatSurface* surface;
  uint32_t colorKey;  // GDI colour 0x00BBGGRR
  char name[4096];
  int32_t loaded;
  int32_t width;
  int32_t height;
  uint32_t rawKey;  // the raw pixel value the key colour converts to
  uint32_t generation;  // counts every change of the slot's surface
  uint32_t drawnInPlace;  // counts the drawings into the surface (paintSurface, fillSurface)
};
extern SurfaceSlot surfaceSlots[SLOT_COUNT];

int loadSurface(const char* name, int slot, uint32_t colorKey);
void releaseSurface(int slot);
void releaseAllSurfaces();
void reloadSurfaces();
int surfaceSize(int slot, int32_t* width, int32_t* height);
uint32_t matchSurfaceColor(PlatSurface* surface, uint32_t color);
// A black surface of that size in the slot, drawn by the editor itself
// rather than loaded (not reloaded after lost surfaces: its generation
// changes and its owner draws it again). It allocates: only when its size
// changes. 1 on success.
int createBlankSurface(int slot, int32_t width, int32_t height);
// Drawing into a slot's surface at once, not queued: a stretched opaque copy
// from another slot, and a filled rectangle (GDI colour). Both are cut to the
// surfaces.
void paintSurface(int dstSlot, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int srcSlot, int32_t sx, int32_t sy,
                  int32_t sw, int32_t sh);
void fillSurface(int slot, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t color);

// ---------------------------------------------------------------------------
// Sprites and the blit queue
struct Sprite {
  float x, y;
  int32_t srcX, srcY;
  int32_t width, height;
  int32_t slot;
  int32_t opaque;
  int32_t layer;
};

struct BlitCommand {
  int32_t srcLeft, srcTop, srcRight, srcBottom;
  int32_t dstLeft, dstTop, dstRight, dstBottom;
  PlatSurface* source;
  int16_t slot;       // the slot the source was taken from (for its colour key)
  int16_t stretched;
  int32_t x, y;
  uint32_t flags;
  // A stretched copy writes only inside this rectangle (drawScaled's clip;
  // the whole range for blitStretched).
  int16_t clipLeft, clipTop, clipRight, clipBottom;
};

static_assert(sizeof(BlitCommand) <= 64, "the blit queue's size is reckoned at 64 bytes a copy");

constexpr uint32_t BLTFAST_WAIT = 0x10;
constexpr uint32_t BLTFAST_SRCCOLORKEY = 0x1;
constexpr uint32_t BLT_WAIT = 0x1000000;
constexpr uint32_t BLT_KEYSRC = 0x8000;

int drawSprite(Sprite s);
void blitStretched(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                   int32_t sh, int32_t opaque, int32_t layer, int32_t slot);
// A stretched copy cut to the clip rectangle: the source rectangle is mapped
// onto the whole destination rectangle and only the pixels inside the clip
// are written, so a zoomed picture keeps its pixel grid at a window's edge.
// Nothing is queued when the layer is out of range, its queue is full, or the
// destination lies wholly outside the clip.
void drawScaled(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                int32_t opaque, int32_t layer, int32_t slot);
void setClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
void flushBlits(int layer);

// The Sprite table: where each piece of the interface's artwork lies in its
// bitmap, filled once at start by initSprites and read by the editor.
struct SpriteTable {
  Sprite cursor, toolIcon, toolFrame, toolCaption, modeMarker;
  Sprite frameTop, frameBottom, frameLeft, frameRight;
  Sprite frameTopLeft, frameTopRight, frameBottomLeft, frameBottomRight;
  Sprite sheetView, sheetTitle, sheetHThumb, sheetVThumb;
  Sprite mapCell, mapTitle, mapHThumb, mapVThumb;
  Sprite brushCell, digit;
  Sprite stripIcon, stripFrame;
};
extern SpriteTable sprites;
void initSprites();

// ---------------------------------------------------------------------------
// Lines, boxes and text
enum ShapeKind { SHAPE_LINE = 0, SHAPE_BOX = 1 };

struct ShapeCommand {
  int32_t left, top, right, bottom;
  int32_t penWidth;
  uint32_t color;  // GDI colour 0x00BBGGRR
  int32_t kind;
};

struct TextCommand {
  char text[TEXT_STORE];  // Shift_JIS, zero-terminated
  int32_t x, y;
  uint32_t color;
};

// One frame's drawing: every layer's copies, shapes and texts as the editor
// queued them, and the clip rectangle drawScaled cuts to. Filled during a
// frame, performed and emptied by its present (about 100 MB of address space,
// resident only as far as frames fill it; resetGraphicsQueues empties it).
struct FrameQueues {
  BlitCommand blit[LAYER_COUNT][BLIT_QUEUE_SIZE];
  int32_t blitCount[LAYER_COUNT];
  ShapeCommand shape[LAYER_COUNT][SHAPE_QUEUE_SIZE];
  int32_t shapeCount[LAYER_COUNT];
  TextCommand text[LAYER_COUNT][TEXT_QUEUE_SIZE];
  int32_t textCount[LAYER_COUNT];
  int32_t clipLeft = 0, clipTop = 0, clipRight = CLASSIC_CANVAS_W, clipBottom = CLASSIC_CANVAS_H;
  int32_t clearQueued = 0;  // 1: the frame begins with the canvas filled with clearPixel
  uint16_t clearPixel = 0;
};
extern FrameQueues frameQueues;

// The frame begins with the whole canvas filled with this raw pixel, under
// every layer (performed by the present, like the queues).
void queueClear(uint32_t rawPixel);

void queueShape(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t penWidth, uint32_t color,
                int32_t kind, int32_t layer);
// The text (Shift_JIS) is copied; one longer than 127 bytes is cut at a
// character boundary.
void queueText(int32_t x, int32_t y, uint32_t color, const char* text, int32_t layer);
void flushShapes(int layer);
void flushTexts(int layer);

// ---------------------------------------------------------------------------
// Frame composition and timing
constexpr int FRAME_TIME_LOG_SIZE = 1024;
// The run's frame timing, written by presentFrame alone: the last frame's
// length (time spent in modal windows left out), what it drew, the rate over
// the last second and a ring of recent frame lengths in milliseconds.
struct FrameTiming {
  float seconds = 0.0f;
  int32_t drawCount = 0;
  int32_t framesPerSecond = 0;
  uint16_t timeLog[FRAME_TIME_LOG_SIZE] = {};
  uint32_t timeNext = 0;
};
extern FrameTiming frameTiming;
// Every layer's queues onto the back buffer, the lowest layer first: its
// copies, then its texts, then its shapes. The queues are left empty.
void flushAllLayers();
// The frame's queues performed and the picture handed to the window. Only the
// parts of the canvas whose queued commands (or the pictures they copy) differ
// from those of the frame before are cleared and composed, and only they are
// compared with the picture on screen; the result is the picture composing
// everything would give, as no command reads the canvas it writes.
void presentFrame();
// 0: every present composes and compares the whole canvas (tests compare the
// two ways); 1, the start value: only what changed.
void setDamageTracking(int on);
void resetFrameClock();
// The draw count, the frame counter, the rate interval (back to 0, as at
// program start) and the rate to their start values.
void resetFrameCounters();
// Replaces the millisecond clock of the frame timing (nullptr restores
// platformMillis), for tests.
void gfxSetClockForTests(uint32_t (*clock)());

// presentBackBuffer tries the copy to the screen at most this many times per
// frame, whatever the failures (lost surfaces are restored between tries);
// then the frame is given up and the next successful present shows the
// picture, so a failure that persists cannot hang the editor.
constexpr int PRESENT_ATTEMPTS = 4;

// Empties every queue and resets the clip rectangle and the frame counters
// (test fixtures).
void resetGraphicsQueues();
