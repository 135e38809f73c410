// The editor's shared state, defined once.
#include "editor/editor.h"

int32_t editorMode, toolbarPressed, pressedButton, mouseX, mouseY;
int32_t pointerClaimed, dragLock, frontWindow, pointerShape = 1, toolMode;

ViewWindow mapView, sheetView;
ClipRect mapClipRect;

int32_t brushW = 1, brushH = 1;
int32_t brushX[256 * 256];
int32_t brushY[256 * 256];
int32_t brushFromMap;
int32_t hoverCellX, hoverCellY;

int32_t pickDrag, pickAnchorX, pickAnchorY, pickCornerX, pickCornerY, pickLeft, pickTop;
int32_t copyDrag, copyAnchorX, copyAnchorY, copyCornerX, copyCornerY;

int32_t attrDrag, attrCornerX, attrCornerY, currentAttribute;

int32_t previewScrollX, previewScrollY, previewOffsetX, previewOffsetY;
