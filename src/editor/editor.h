// The editor: the frame driver with its command buttons, the preview, the two
// view windows, the brush and painting, rectangle selection and attribute mode.
// All state is process-wide and of fixed size.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Frame driver and command buttons
extern int32_t session.editorMode;      // 0 editing screen, 1 preview
extern int32_t toolbarPressed;  // 1 while a command button is held
extern int32_t session.pressedButton;   // 0..12
extern int32_t frameState.mouseX, frameState.mouseY;  // pointer in pixels of the 800 x 600 screen
extern int32_t frameState.pointerClaimed;  // the pointer was taken by a handler this frame
extern int32_t dragLock;        // a multi-frame gesture is in progress
extern int32_t session.frontWindow;     // 0 chip sheet in front, 1 map in front
extern int32_t frameState.pointerShape;    // 0 none, 1 arrow, 2 resize, 3 grabbing hand
extern int32_t session.toolMode;        // 0 POINT, 1 FREE, 2 attribute mode

constexpr int COMMAND_COUNT = 13;
struct CommandButton {
  int32_t x;
  int32_t captionX, captionY;  // balloon cell in the caption bitmap
};
extern const CommandButton commandButtons[COMMAND_COUNT];

void updateEditorFrame();
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
struct ViewWindow {
  int32_t x, y;
  int32_t w, h;
  int32_t scrollX, scrollY;
  int32_t moveDrag, thumbDrag, resizeDrag;
  float hThumb[2], vThumb[2];
};
extern ViewWindow session.mapView;
extern ViewWindow session.sheetView;
struct ClipRect {
  int32_t left, top, right, bottom;
};
extern ClipRect session.mapClipRect;

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
extern int32_t session.brushW, session.brushH;
extern int32_t session.brushX[256 * 256];  // [column][row], index c * 256 + r
extern int32_t session.brushY[256 * 256];
extern int32_t session.brushFromMap;
extern int32_t session.hoverCellX, session.hoverCellY;

void updateMapTool(int layer);
void stampBrush(int32_t col0, int32_t row0);
// After a new chip sheet: a brush with a chip outside the sheet becomes the
// 1 x 1 brush of chip (0, 0), so it never stamps positions the sheet lacks.
void fitBrushToSheet();

// ---------------------------------------------------------------------------
// Rectangle selection
extern int32_t pickDrag, gesture.pickAnchorX, gesture.pickAnchorY, gesture.pickCornerX, gesture.pickCornerY, session.pickLeft, session.pickTop;
extern int32_t copyDrag, gesture.copyAnchorX, gesture.copyAnchorY, gesture.copyCornerX, gesture.copyCornerY;

void updateSheetTool(int layer);
void startCopyDrag();
void updateCopyDrag(int layer);

// ---------------------------------------------------------------------------
// Attribute mode
extern int32_t attrDrag;
extern int32_t gesture.attrCornerX, gesture.attrCornerY;
extern int32_t session.currentAttribute;

void updateAttributeTool(int layer);
void drawDigits(int32_t x, int32_t y, int32_t value, int32_t count, int layer);

// ---------------------------------------------------------------------------
// Preview
extern int32_t preview.scrollX, preview.scrollY, preview.offsetX, preview.offsetY;
void updatePreview();

// Every editor variable back to its start value (test fixtures).
void resetEditorState();

// ---------------------------------------------------------------------------
// Test seams. resetEditorState switches all of them off again.
//
// The chip sheet's size for the chip-sheet window and its tool, replacing the
// surface query while w >= 0 (headless tests have no bitmap to load).
void editorSetSheetSizeForTests(int32_t w, int32_t h);
// When set, the attribute tool calls this instead of attributeDialog: 1 for OK
// with the value left in session.currentAttribute, anything else for Cancel.
extern int (*attributeDialogHook)();
// When set, the preview calls these instead of presentFrame and
// clearBackBuffer, so that a test can inspect the frame's queues.
extern void (*previewPresentHook)();
extern void (*previewClearHook)(uint32_t rawPixel);
