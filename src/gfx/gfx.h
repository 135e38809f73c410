// Graphics: the display, the 300 surface slots, the Sprite table and the
// layered queues of copies, texts and shapes, and frame composition.
//
// Nothing is drawn when it is requested: every part of the editor queues into
// the per-layer queues during the frame, and presentFrame performs them layer
// by layer (copies, then texts, then shapes within a layer).
#pragma once

#include <cstdint>

#include "gfx/palette.h"

struct PlatSurface;

constexpr int32_t screenW = 800;
constexpr int32_t screenH = 600;
constexpr int LAYER_COUNT = 5;
// The queues are fixed-size and sized for the fullest frame, so that nothing a
// view shows is ever dropped. The fullest layer is the map window's (the map
// and the chip sheet swap layers 1 and 2, so both must hold it) at the
// smallest chip of 8 px and the largest window (788 x 567 content at x 6,
// y 27; even one held to the screen):
//   cells offered across <= 800 / 8 + 2 = 102, down <= 600 / 8 + 2 = 77,
//   so 7854 cells (a partly shown cell at each side, one touching the clip);
//   per cell the chip and, in attribute mode, three digits: 4 x 7854 = 31416;
//   the brush ghost, one chip per cell of the window: 7854;
//   frame (4 corners, 64 px edge pieces: 2 x 13 + 2 x 10), title, thumbs and
//   the sheet window's few items: well under 256.
// The preview's cells (800 x 600 of 8 px chips, 101 x 76) fit the same bound.
// A BlitCommand is 64 bytes: about 2.5 MB a layer, resident only as far as a
// frame fills it.
constexpr int BLIT_WORST_CELLS = (screenW / 8 + 2) * (screenH / 8 + 2);
constexpr int BLIT_QUEUE_SIZE = BLIT_WORST_CELLS * 4 + BLIT_WORST_CELLS + 256;
// Shapes of the fullest layer: the grid lines of a 788 x 567 window at 8 px
// (at most 99 vertical + 71 horizontal), the hover box, the attribute
// outline and the pick or selection box: 173.
constexpr int SHAPE_QUEUE_SIZE = 200;
static_assert(SHAPE_QUEUE_SIZE >= (788 + 7) / 8 + (567 + 7) / 8 + 3, "grid lines of the largest window");
// Texts of the fullest layer (the debug overlay's): about a dozen.
constexpr int TEXT_QUEUE_SIZE = 50;
constexpr int TEXT_STORE = 128;
constexpr int SLOT_COUNT = 300;

// ---------------------------------------------------------------------------
// Display
int startDisplay(int width, int height, int bitsPerPixel);
void clearBackBuffer(uint32_t rawPixel);
void presentBackBuffer();
void restoreSurfaces();
void stopGraphics();
PlatSurface* backBuffer();  // the 800 x 600 RGB565 picture (null before startDisplay)

// ---------------------------------------------------------------------------
// Surface slots
enum SlotIndex {
  SLOT_DATA = 0, SLOT_ICON = 1, SLOT_MES = 2, SLOT_WALLPAPER = 5, SLOT_CHIPSHEET = 10,
  // Pictures the editor draws itself: the map's chips, one pixel a cell of
  // its attributes' colours.
  SLOT_MAP_PICTURE = 11, SLOT_ATTRIBUTE_PICTURE = 12,
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

extern BlitCommand blitQueue[LAYER_COUNT][BLIT_QUEUE_SIZE];
extern int32_t blitCount[LAYER_COUNT];
extern int32_t clipLeft, clipTop, clipRight, clipBottom;

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

// The Sprite table, filled once at start by initSprites.
extern Sprite cursorSprite, toolIconSprite, toolFrameSprite, toolCaptionSprite, modeMarkerSprite;
extern Sprite frameTopSprite, frameBottomSprite, frameLeftSprite, frameRightSprite;
extern Sprite frameTopLeftSprite, frameTopRightSprite, frameBottomLeftSprite, frameBottomRightSprite;
extern Sprite sheetViewSprite, sheetTitleSprite, sheetHThumbSprite, sheetVThumbSprite;
extern Sprite mapCellSprite, mapTitleSprite, mapHThumbSprite, mapVThumbSprite;
extern Sprite brushCellSprite, digitSprite;
extern Sprite stripIconSprite, stripFrameSprite;
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

extern ShapeCommand shapeQueue[LAYER_COUNT][SHAPE_QUEUE_SIZE];
extern int32_t shapeCount[LAYER_COUNT];
extern TextCommand textQueue[LAYER_COUNT][TEXT_QUEUE_SIZE];
extern int32_t textCount[LAYER_COUNT];

void queueShape(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t penWidth, uint32_t color,
                int32_t kind, int32_t layer);
// The text (Shift_JIS) is copied; one longer than 127 bytes is cut at a
// character boundary.
void queueText(int32_t x, int32_t y, uint32_t color, const char* text, int32_t layer);
void flushShapes(int layer);
void flushTexts(int layer);

// ---------------------------------------------------------------------------
// Frame composition and timing
extern float frameSeconds;
constexpr int FRAME_TIME_LOG_SIZE = 1024;
extern uint16_t frameTimeLog[FRAME_TIME_LOG_SIZE];
extern uint32_t frameTimeNext;
extern int32_t drawCount;
extern int32_t framesPerSecond;
// Every layer's queues onto the back buffer, the lowest layer first: its
// copies, then its texts, then its shapes. The queues are left empty.
void flushAllLayers();
void presentFrame();
void resetFrameClock();
// drawCount, the frame counter, the rate interval (back to 0, as at program
// start) and framesPerSecond to their start values.
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
