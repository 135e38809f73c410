// The editor: the frame driver with its command buttons, the preview, the two
// view windows, the brush and painting, rectangle selection and attribute mode.
// Its state lives in four records of fixed size, one per lifetime: what a
// frame finds out about the pointer, the one gesture in progress, the editing
// session, and the preview's scroll.
#pragma once

#include <cstdint>

// The numbers are those the editor has always used: tests and benchmarks
// still choose modes by number.
enum EditorMode : int32_t { EDITOR_EDITING = 0, EDITOR_PREVIEW = 1 };
enum ToolMode : int32_t {
  TOOL_POINT = 0, TOOL_FREE = 1, TOOL_ATTRIBUTE = 2,
  // The tool strip's tools: a click or a dragged rectangle on the map.
  TOOL_BUCKET = 3, TOOL_RECT = 4, TOOL_SLICE = 5, TOOL_REPLACE = 6,
};
enum FrontWindow : int32_t { FRONT_SHEET = 0, FRONT_MAP = 1 };
enum SheetNotice : int32_t { SHEET_NOTICE_NONE = 0, SHEET_NOTICE_DUE = 1, SHEET_NOTICE_TOLD = 2 };
enum PointerShape : int32_t { POINTER_NONE = 0, POINTER_ARROW = 1, POINTER_RESIZE = 2, POINTER_GRAB = 3 };

// ---------------------------------------------------------------------------
// View windows
struct ViewWindow {
  int32_t x, y;
  int32_t w, h;
  int32_t scrollX, scrollY;
  float hThumb[2], vThumb[2];
};
struct ClipRect {
  int32_t left, top, right, bottom;
};

// ---------------------------------------------------------------------------
// Editor state

// The handlers of the editing screen that answer to the pointer, in the
// order they take it (pointer.cpp walks them): the command buttons, the tool
// strip, then each view window from the front one back.
enum PointerTarget : int32_t {
  TARGET_NONE = 0,
  TARGET_COMMAND_BUTTON,  // index: the button
  TARGET_STRIP_BUTTON,    // index: the strip button
  TARGET_TITLE,           // a window's title bar (move)
  TARGET_PAN,             // a window's content under a middle press
  TARGET_THUMB,           // either scroll thumb of a window
  TARGET_RESIZE,          // a window's lower or right edge
  TARGET_CONTENT,         // a window's content: the sheet's pick, the map's tools
};
// The frame's hovered handler, decided once, when a handler first asks: the
// first region in the walk that holds the pointer. While a gesture is held
// nothing hovers; a gesture released during the frame lets the next ask
// decide again, as the pointer is free from then on.
struct PointerHover {
  PointerTarget target = TARGET_NONE;
  const ViewWindow* window = nullptr;
  int32_t index = -1;
  // Windows whose auto-scroll band came in the walk before any region held
  // the pointer (bit 0 the sheet, bit 1 the map).
  int32_t freeBands = 0;
  bool decided = false;
  bool underGesture = false;
};

// Written afresh by every frame: where the pointer is, which handler it
// hovers, and the shape it is drawn in at the end of the frame.
struct FrameState {
  int32_t mouseX = 0, mouseY = 0;  // pointer in pixels of the canvas
  PointerHover hover;
  PointerShape pointerShape = POINTER_ARROW;
  // What the frame before saw: the pointer and the buttons held.
  int32_t lastMouseX = 0, lastMouseY = 0;
  int32_t lastButtonsHeld = 0;
  // True when the picture this frame presented will be the next frame's too,
  // until input arrives or the clock turns: nothing held or just released, no
  // gesture, no time-based scroll, the pointer where it was, the overlay off,
  // and this frame changed nothing on screen.
  bool pictureSteady = false;
};
extern FrameState frameState;

// What a held primary button is doing across frames. Only one gesture runs
// at a time: none starts while another is held.
enum GestureKind : int32_t {
  GESTURE_NONE = 0,
  GESTURE_BUTTON,     // a command button is held
  GESTURE_MOVE,       // a view window's title bar
  GESTURE_THUMB,      // a view window's scroll thumb
  GESTURE_RESIZE,     // a view window's lower or right edge
  GESTURE_PICK,       // a chip block on the sheet
  GESTURE_COPY,       // a block of the map into the brush
  GESTURE_ATTRIBUTE,  // a rectangle of cells to mark
  GESTURE_STRIP,      // a button of the tool strip is held
  GESTURE_MAP_RECT,   // a rectangle of the map to fill, slice or replace in
  GESTURE_PAN,        // a view dragged by the middle button
};
struct Gesture {
  GestureKind kind = GESTURE_NONE;
  const ViewWindow* window = nullptr;  // the window a move, thumb or resize drags
  int32_t pickAnchorX = 0, pickAnchorY = 0, pickCornerX = 0, pickCornerY = 0;
  int32_t copyAnchorX = 0, copyAnchorY = 0, copyCornerX = 0, copyCornerY = 0;
  int32_t attrCornerX = 0, attrCornerY = 0;
  int32_t rectAnchorX = 0, rectAnchorY = 0, rectCornerX = 0, rectCornerY = 0;  // map pixels
  int32_t replaceChipX = 0, replaceChipY = 0;  // the chip under the press of a replace
};
extern Gesture gesture;

// Lives from start-up to exit: the windows, the brush and the modes.
struct EditorSession {
  EditorMode editorMode = EDITOR_EDITING;
  ToolMode toolMode = TOOL_POINT;
  FrontWindow frontWindow = FRONT_SHEET;
  int32_t pressedButton = 0;  // 0..12, the button of the last press
  ViewWindow mapView{};
  ViewWindow sheetView{};
  ClipRect mapClipRect{};
  // The brush: brushW x brushH chips, [column][row] at index c * 256 + r.
  int32_t brushW = 1, brushH = 1;
  int32_t brushX[256 * 256]{};
  int32_t brushY[256 * 256]{};
  bool brushFromMap = false;
  int32_t pickLeft = 0, pickTop = 0;  // the picked block's corner on the sheet
  int32_t hoverCellX = 0, hoverCellY = 0;
  int32_t currentAttribute = 0;
  // The strip's two switches: every painted cell takes a random chip of the
  // brush; a FREE stroke stamps only on the brush-sized lattice of its start.
  bool randomMode = false;
  bool alignedMode = false;
  int32_t pressedStripButton = 0;  // index into toolStrip of the last press
  int32_t stripKeysDown = 0;       // the tool keys held last frame, one bit each
  int32_t replacedCount = -1;      // cells the last replace changed; -1 before one
  // The UNDO button's last press undid a step, and the history's change
  // count right after it: pressed again with nothing between, it redoes.
  bool undoButtonUndid = false;
  uint32_t undoButtonChanges = 0;
  // The FREE stroke stamped in the previous frame, at this cell: the next
  // stamp joins the two with a line of stamps.
  bool strokeStamped = false;
  int32_t strokeCol = 0, strokeRow = 0;
  // Where the next part of the map window's title line goes (after the
  // title bar: the history position, then the tool's status text).
  int32_t mapTitleX = 0;
  // The chip sheet changed on disk into a file that cannot be decoded: the
  // notice is due once, at the next editing frame.
  SheetNotice sheetNotice = SHEET_NOTICE_NONE;
  // The map window's zoom: 2^mapZoom screen pixels a map pixel, from
  // MAP_ZOOM_MIN (1/4x) to MAP_ZOOM_MAX (2x). Its scroll offsets are in
  // screen pixels of the zoomed map.
  int32_t mapZoom = 0;
};
extern EditorSession session;
constexpr int32_t MAP_ZOOM_MIN = -2, MAP_ZOOM_MAX = 1;

// One held primary button's painting: where its first stamp fell (the
// aligned lattice's anchor) and which cells it has already given a random
// chip. The per-cell marks live beside the tools (paint_tools.cpp).
struct PaintStroke {
  bool active = false;
  int32_t anchorCol = 0, anchorRow = 0;
  uint32_t generation = 0;            // marks equal to it were rolled in this stroke
  uint32_t randomState = 0x2545F491u; // xorshift state of the random chips
};
extern PaintStroke paintStroke;

struct PreviewState {
  int32_t scrollX = 0, scrollY = 0, offsetX = 0, offsetY = 0;
  bool fitted = false;  // the whole map fitted to the screen instead of 1:1
};
extern PreviewState preview;

// ---------------------------------------------------------------------------
// Frame driver and command buttons

// The command ids the main window handles, one space for the keyboard's
// accelerators and the commands the EXIT and CLOSE buttons post.
constexpr int CMD_TOGGLE_DEBUG = 1001;  // F4
constexpr int CMD_QUIT_ASK = 40001;     // Esc, EXIT button
constexpr int CMD_REACQUIRE = 40002;    // F8
constexpr int CMD_MINIMISE = 40003;     // F12, CLOSE button

constexpr int COMMAND_COUNT = 13;
struct CommandButton {
  int32_t x;
  int32_t captionX, captionY;  // balloon cell in the caption bitmap
};
extern const CommandButton commandButtons[COMMAND_COUNT];

// One frame of the editor: the pointer and the input read, the scroll step
// advanced, the frame composed and presented. `active` is 1 while the
// application is active: only then may the input devices be acquired.
void updateEditorFrame(int32_t active);
// Whether the loop may wait for input instead of running the next frame
// (frameState.pictureSteady of the last updateEditorFrame).
int editorPictureSteady();
// Milliseconds until the clock's second turns, a little past it.
uint32_t editorMillisToClockTick();
// Queues the whole frame of the current mode, the editing screen or the
// preview, with its background, clock and (editing only) pointer image; it
// presents nothing, so the queues can be looked at before presentFrame.
void composeEditorFrame();
// Queues the wallpaper over the whole screen when it is shown and loaded;
// 0 when the background must be cleared instead.
int drawWallpaper();
void updateCommandButtons();
// A button's caption balloon (cell cellX, cellY of the caption bitmap) at (x, y).
void drawCaptionBalloon(int32_t x, int32_t y, int32_t cellX, int32_t cellY);
// Both view windows and their tools, the front one first.
void updateViewWindows();
void runCommand(int index);
int pointerInside(int32_t left, int32_t top, int32_t width, int32_t height);
// The pointer's owner (pointer.cpp). A handler asks whether the pointer
// hovers it (index: which of its buttons, or -1); no gesture may be held.
// Hit regions are declared by each handler's declare function, which the
// walk calls in order; offerPointerRegion takes the first that holds the
// pointer, offerAutoScrollBand marks a band passed while none did yet.
bool pointerHovers(PointerTarget target, const ViewWindow* window, int32_t index = -1);
bool autoScrollBandFree(const ViewWindow* window);
void offerPointerRegion(PointerTarget target, const ViewWindow* window, int32_t index, int32_t left, int32_t top,
                        int32_t width, int32_t height);
void offerAutoScrollBand(const ViewWindow* window);
void declareCommandButtonRegions();
void declareToolStripRegions();
void declareWindowRegions(const ViewWindow& v);
// Forgets the frame's decision; the frame driver calls it as a frame ends.
void newPointerFrame();
// The clock text "%4d年%2d月%2d日%2d時%2d分%2d秒" (Shift_JIS) for the local time.
void formatClock(char* out, int outSize);

// ---------------------------------------------------------------------------
// Shortcuts and the history in a frame

// After the input is read and before the frame is composed: sets aside the
// editor state when Left Ctrl or Left Shift goes down, puts it back when the
// press turns out to be a chord's, and runs the frame's command key (Z, Y,
// Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z, Ctrl+S).
void applyFrameShortcuts();
// After the frame: with every button up the history step in progress ends.
void endFrameHistoryStep();
// The UNDO button: undoes the step at the position; pressed again at once, redoes it.
void pressUndoButton();
void resetShortcuts();
// Saves the map: to its file, or with `ask` (or when it has none) to the file
// chosen in the save chooser. A failure is told; 1 when saved.
int saveMapAsked(int ask);

// The chip sheet follows its file: watchChipSheet after every sheet loaded
// (the platform then posts MESSAGE_FILE_CHANGED), reloadChangedChipSheet when that
// message comes (1 when the new sheet is in use). A file that cannot be
// decoded keeps the sheet in use; tellDueNotices says so once, from a frame.
void watchChipSheet();
int reloadChangedChipSheet();
void tellDueNotices();

// ---------------------------------------------------------------------------
// View windows

void updateMapView(int layer);
// Queues one part of the map window's title line at session.mapTitleX and
// moves it on; the part is cut at the window's right edge.
void queueMapTitlePart(const char* text, int layer);
void updateSheetView(int layer);
void drawWindowFrame(int32_t x, int32_t y, int32_t w, int32_t h, int layer);
// Every time-based scroll of a frame moves by scrollStep() pixels: settings.scrollSpeed
// x frameTiming.seconds with the fraction carried from frame to frame, so that the
// distance over a second is the speed at any frame rate. advanceScrollStep
// computes it once at the start of each frame.
void advanceScrollStep();
int32_t scrollStep();
void resetScrollStep();
// 1 when this frame moved something by time (scrollStep was asked for).
int scrollStepTaken();
void loadViewsFromSettings();   // placements from the Settings
void storeViewsToSettings();    // placements back into the Settings

// ---------------------------------------------------------------------------
// Zoom, wheel and pan

// The map window to zoom z (held within MAP_ZOOM_MIN..MAP_ZOOM_MAX), keeping
// the map pixel under the screen point (ax, ay) where it is.
void setMapZoom(int32_t z, int32_t ax, int32_t ay);
// The zoom keys, the wheel (scroll, Shift sideways, Ctrl zoom) of an editing
// frame; in the preview 0 toggles the fit.
void applyZoomAndWheel();
// A press of the middle button over a window's content starts dragging its
// view; run by each window's update.
void updatePan(ViewWindow& v, FrontWindow front);

// The map kept as pictures for drawing it smaller than 1:1: its chips
// (SLOT_MAP_PICTURE, at 2^mapPictureShift() of the map's size) and its
// attributes (SLOT_ATTRIBUTE_PICTURE, one pixel a cell, one colour a value).
// Only cells that changed since the last call are drawn again.
void syncMapPictures();
int32_t mapPictureShift();
// The colour an attribute value is shown in below 1:1.
uint32_t attributeColor(int32_t value);
void resetMapPictures();

// ---------------------------------------------------------------------------
// Brush and painting

void updateMapTool(int layer);
void stampBrush(int32_t col0, int32_t row0);
// After a new chip sheet: a brush with a chip outside the sheet becomes the
// 1 x 1 brush of chip (0, 0), so it never stamps positions the sheet lacks.
void fitBrushToSheet();
// The map-size dialog. On OK the map takes the chosen sizes, the brush
// shrinks to 1 x 1 and the pick goes back to the sheet's corner; 1 for OK,
// 0 for Cancel, which changes nothing.
int askMapSize();

// ---------------------------------------------------------------------------
// Painting tools on the planes. They write doc.planeX / doc.planeY only and
// take no undo snapshot: their callers take one per action.

// The brush chip for map cell (col, row) of a pattern laid with its top-left
// on (originCol, originRow): the pattern repeats both ways; in random mode a
// random chip of the brush instead.
void brushChipAt(int32_t col, int32_t row, int32_t originCol, int32_t originRow, int32_t* x, int32_t* y);
// One stamp of the brush at (col, row) as part of the current stroke: a FREE
// stroke in aligned mode moves it onto the lattice of its first stamp, and in
// random mode a cell keeps the chip it was first given in the stroke.
void strokeStampAt(int32_t col, int32_t row);
// The held button came up: the next stamp starts a new stroke.
void endPaintStroke();
// The stroke and its random marks back to the start (resetEditorState).
void resetPaintTools();
// The 4-connected region of map cells showing the chip of (col, row), filled
// with the brush tiled from (col, row). Cells painted; 0 off the map.
int32_t bucketFill(int32_t col, int32_t row);
// Rectangle fill, tiled from its top-left; the rectangle is cut to the map.
void fillRectangle(int32_t col0, int32_t row0, int32_t columns, int32_t rows);
// 9-slice: the brush's corners once at the corners, its border cells along
// the sides, its inner block tiled inside. An axis of the brush under 3 cells
// tiles plainly.
void fillNineSlice(int32_t col0, int32_t row0, int32_t columns, int32_t rows);
// The chip the 9-slice of that rectangle puts on cell (col, row).
void sliceChipAt(int32_t col, int32_t row, int32_t col0, int32_t row0, int32_t columns, int32_t rows, int32_t* x,
                 int32_t* y);
// Cells of the rectangle (cut to the map) that show chip (fromX, fromY).
int32_t countChip(int32_t fromX, int32_t fromY, int32_t col0, int32_t row0, int32_t columns, int32_t rows);
// Those cells take the brush's first chip; returns how many did.
int32_t replaceChip(int32_t fromX, int32_t fromY, int32_t col0, int32_t row0, int32_t columns, int32_t rows);

// ---------------------------------------------------------------------------
// Tool strip: the row of small buttons under the command buttons

enum StripAction : int32_t { STRIP_TOOL = 0, STRIP_RANDOM, STRIP_ALIGNED, STRIP_ZOOM };
struct StripButton {
  int32_t x;                   // left edge; all share one row
  int32_t iconY;               // the 18 x 18 cell in the icon bitmap's second column
  int32_t captionX, captionY;  // balloon cell in the caption bitmap
  int32_t key;                 // scan code of its key (0: its keys are read elsewhere)
  StripAction action;
  ToolMode tool;               // for STRIP_TOOL
};
constexpr int STRIP_COUNT = 7;
extern const StripButton toolStrip[STRIP_COUNT];

// Hover, press and release of the strip's buttons, their keys (and B for
// FREE), drawn after the command buttons.
void updateToolStrip();
// A press on the map with a strip tool: the bucket fills at once, the others
// start their rectangle.
void startMapToolAction();
void updateMapRectDrag(int layer);
// The map window's status text: the hover cell, and after a replace its count.
void formatMapStatus(char* out, int outSize);

// ---------------------------------------------------------------------------
// Rectangle selection

void updateSheetTool(int layer);
void startCopyDrag();
void updateCopyDrag(int layer);

// ---------------------------------------------------------------------------
// Attribute mode

void updateAttributeTool(int layer);
void drawDigits(int32_t x, int32_t y, int32_t value, int32_t count, int layer);

// ---------------------------------------------------------------------------
// Debug overlay (F4)
// The keyboard line (keys down), the mouse line (motion) and its four button
// marks, from what pollInput read this frame; queued right after it.
void queueDebugInputLines();
// The frame rate, the last frame's time and its copy count; queued right after
// the present, so that it shows in the next frame (layer 3 is drawn already).
void queueDebugRateLine();

// ---------------------------------------------------------------------------
// Unsaved changes
// The mark drawn beside a title while the map has unsaved changes.
void drawUnsavedMark(int32_t x, int32_t y, int layer);
// Tells the main window's title whether the map is saved ("Brindlecot *"
// while not); only a change reaches the window system.
void showUnsavedInWindowTitle();
void resetUnsavedTitle();
// SAVE: the chooser, then the file; on a failure the user is told and the map
// keeps its path. 1 when the map is on disk.
int saveMapAs();
// The map's own file without a chooser, or saveMapAs for a map without one.
int saveMapInPlace();
// Before the map is left (quit, or another map opened): with unsaved changes
// the user chooses to save (a save that is cancelled or fails keeps them
// here), to discard, or to stay. 1 to go on, 0 to stay.
enum LeaveKind : int32_t { LEAVE_TO_QUIT = 0, LEAVE_TO_OPEN = 1 };
int settleUnsavedChanges(int leaving);

// ---------------------------------------------------------------------------
// Preview
// The preview's part of its frame: the map cells, placed and panned, and the
// fresh press that leaves it.
void updatePreview();

// Every editor variable back to its start value (test fixtures).
void resetEditorState();

// ---------------------------------------------------------------------------
// Test seams. resetEditorState switches all of them off again.
//
// The chip sheet's size for the chip-sheet window and its tool, replacing the
// surface query while w >= 0 (headless tests have no bitmap to load).
void editorSetSheetSizeForTests(int32_t w, int32_t h);
// When set, the attribute tool calls this instead of attributeDialog, with
// the same arguments: 1 for OK with the value left in *chosen, anything else
// for Cancel.
extern int (*attributeDialogHook)(int32_t initial, int32_t* chosen);
