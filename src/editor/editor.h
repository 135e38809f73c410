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
enum ToolMode : int32_t { TOOL_POINT = 0, TOOL_FREE = 1, TOOL_ATTRIBUTE = 2 };
enum FrontWindow : int32_t { FRONT_SHEET = 0, FRONT_MAP = 1 };
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

// Written afresh by every frame: where the pointer is, whether a handler has
// taken it, and the shape it is drawn in at the end of the frame.
struct FrameState {
  int32_t mouseX = 0, mouseY = 0;  // pointer in pixels of the 800 x 600 screen
  int32_t pointerClaimed = 0;
  PointerShape pointerShape = POINTER_ARROW;
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
};
struct Gesture {
  GestureKind kind = GESTURE_NONE;
  const ViewWindow* window = nullptr;  // the window a move, thumb or resize drags
  int32_t pickAnchorX = 0, pickAnchorY = 0, pickCornerX = 0, pickCornerY = 0;
  int32_t copyAnchorX = 0, copyAnchorY = 0, copyCornerX = 0, copyCornerY = 0;
  int32_t attrCornerX = 0, attrCornerY = 0;
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
  int32_t brushFromMap = 0;
  int32_t strokeSnapshotTaken = 0;  // the FREE stroke under way has its undo snapshot
  int32_t pickLeft = 0, pickTop = 0;  // the picked block's corner on the sheet
  int32_t hoverCellX = 0, hoverCellY = 0;
  int32_t currentAttribute = 0;
};
extern EditorSession session;

struct PreviewState {
  int32_t scrollX = 0, scrollY = 0, offsetX = 0, offsetY = 0;
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
// Queues the whole frame of the current mode, the editing screen or the
// preview, with its background, clock and (editing only) pointer image; it
// presents nothing, so the queues can be looked at before presentFrame.
void composeEditorFrame();
// Queues the wallpaper over the whole screen when it is shown and loaded;
// 0 when the background must be cleared instead.
int drawWallpaper();
void updateCommandButtons();
// Both view windows and their tools, the front one first.
void updateViewWindows();
void runCommand(int index);
int pointerInside(int32_t left, int32_t top, int32_t width, int32_t height);
// The clock text "%4d年%2d月%2d日%2d時%2d分%2d秒" (Shift_JIS) for the local time.
void formatClock(char* out, int outSize);

// ---------------------------------------------------------------------------
// View windows

void updateMapView(int layer);
void updateSheetView(int layer);
void drawWindowFrame(int32_t x, int32_t y, int32_t w, int32_t h, int layer);
// Every time-based scroll of a frame moves by scrollStep() pixels: settings.scrollSpeed
// x frameSeconds with the fraction carried from frame to frame, so that the
// distance over a second is the speed at any frame rate. advanceScrollStep
// computes it once at the start of each frame.
void advanceScrollStep();
int32_t scrollStep();
void resetScrollStep();
void loadViewsFromSettings();   // placements from the Settings
void storeViewsToSettings();    // placements back into the Settings

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
