// The editor's shared state, defined once.
#include "editor/editor.h"

int32_t session.editorMode, toolbarPressed, session.pressedButton, frameState.mouseX, frameState.mouseY;
int32_t frameState.pointerClaimed, dragLock, session.frontWindow, frameState.pointerShape = 1, session.toolMode;

ViewWindow session.mapView, session.sheetView;
ClipRect session.mapClipRect;

int32_t session.brushW = 1, session.brushH = 1;
int32_t session.brushX[256 * 256];
int32_t session.brushY[256 * 256];
int32_t session.brushFromMap;
int32_t session.hoverCellX, session.hoverCellY;

int32_t pickDrag, gesture.pickAnchorX, gesture.pickAnchorY, gesture.pickCornerX, gesture.pickCornerY, session.pickLeft, session.pickTop;
int32_t copyDrag, gesture.copyAnchorX, gesture.copyAnchorY, gesture.copyCornerX, gesture.copyCornerY;

int32_t attrDrag, gesture.attrCornerX, gesture.attrCornerY, session.currentAttribute;

int32_t preview.scrollX, preview.scrollY, preview.offsetX, preview.offsetY;
