// The two floating view windows: the map window and the chip-sheet window.
//
// [SECTION] Image sizes and scroll helpers
// [SECTION] Window frame
// [SECTION] One window's frame update (move, auto-scroll, thumbs, resize, clamps)
// [SECTION] Content: chip sheet and map cells
// [SECTION] Decoration: frame, title, thumbs, grid lines
#include <cmath>
#include <cstdio>
#include <cstring>

#include "dialogs/texts.h"
#include "editor/editor.h"
#include "editor/view_internal.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/history.h"
#include "map/map.h"
#include "platform/sjis.h"
#include "settings/settings.h"

using editor_detail::maxI;
using editor_detail::minI;
using editor_detail::toScreen;

namespace {

// The chip sheet's size as a test forces it: negative while none is forced.
struct SheetSizeOverride {
  int32_t w = -1;
  int32_t h = -1;
};
SheetSizeOverride sheetOverride;

// Image sizes stay far below the int32 range so that x + w and the like
// cannot overflow, whatever chip size a map file carried.
constexpr int64_t IMAGE_LIMIT = 0x3FFFFFFF;

int32_t limitImage(int64_t v) { return static_cast<int32_t>(v < 0 ? 0 : (v > IMAGE_LIMIT ? IMAGE_LIMIT : v)); }

}  // namespace

void editorSetSheetSizeForTests(int32_t w, int32_t h) {
  sheetOverride.w = w;
  sheetOverride.h = h;
}

// ---------------------------------------------------------------------------
// [SECTION] Image sizes and scroll helpers

namespace editor_detail {

void sheetImageSize(int32_t* w, int32_t* h) {
  int32_t sw = 0, sh = 0;
  if (sheetOverride.w >= 0) {
    sw = sheetOverride.w;
    sh = sheetOverride.h;
  } else {
    surfaceSize(SLOT_CHIPSHEET, &sw, &sh);
  }
  *w = limitImage(sw);
  *h = limitImage(sh);
}

void mapPixelSize(int32_t* w, int32_t* h) {
  *w = limitImage(static_cast<int64_t>(doc.mapCellsX) * doc.chipWidth);
  *h = limitImage(static_cast<int64_t>(doc.mapCellsY) * doc.chipHeight);
}

void mapImageSize(int32_t* w, int32_t* h) {
  mapPixelSize(w, h);
  *w = toScreen(*w, session.mapZoom);
  *h = toScreen(*h, session.mapZoom);
}

bool cellsFitFrame(int32_t columns, int32_t rows) {
  return static_cast<int64_t>(columns) * rows <= BLIT_WORST_CELLS;
}

void drawMapCell(Sprite& s, int32_t mapX, int32_t mapY) {
  if (session.mapZoom == 0) {
    s.x = static_cast<float>(screenOfMapX(mapX));
    s.y = static_cast<float>(screenOfMapY(mapY));
    drawSprite(s);
    return;
  }
  // Both edges from the map position, so cells of a size that does not
  // divide evenly still meet without gaps.
  const int32_t left = screenOfMapX(mapX), top = screenOfMapY(mapY);
  drawScaled(left, top, screenOfMapX(mapX + s.width) - left, screenOfMapY(mapY + s.height) - top, s.srcX, s.srcY,
             s.width, s.height, s.opaque, s.layer, s.slot);
}

void clampScroll(ViewWindow& v, int32_t imageW, int32_t imageH) {
  int32_t maxX = maxI(imageW - v.w, 0);
  int32_t maxY = maxI(imageH - v.h, 0);
  if (v.scrollX < 0)
    v.scrollX = 0;
  else if (v.scrollX > maxX)
    v.scrollX = maxX;
  if (v.scrollY < 0)
    v.scrollY = 0;
  else if (v.scrollY > maxY)
    v.scrollY = maxY;
}

}  // namespace editor_detail

namespace {
struct ScrollClock {
  // The scroll distance of the current frame in whole pixels, and the
  // fraction left over, which the next frame adds on: at a high frame rate a
  // step of under a pixel per frame would otherwise truncate to nothing.
  int32_t frameScroll = 0;
  double scrollCarry = 0.0;
  // Asked for in this frame: a scroll that moves with time wants the next
  // frame even when it moved nothing now (a step under a pixel, or the
  // view's edge).
  bool stepTaken = false;
};
ScrollClock scrollClock;
}  // namespace

void advanceScrollStep() {
  double step =
      static_cast<double>(settings.scrollSpeed) * static_cast<double>(frameTiming.seconds) + scrollClock.scrollCarry;
  // A stalled first frame or a broken clock must not turn into an undefined
  // conversion; such a step is simply held at the int32 range.
  if (!std::isfinite(step)) step = 0.0;
  if (step > 2147483647.0) step = 2147483647.0;
  if (step < -2147483647.0) step = -2147483647.0;
  scrollClock.frameScroll = static_cast<int32_t>(step);
  scrollClock.scrollCarry = step - scrollClock.frameScroll;
  scrollClock.stepTaken = false;
}

void resetScrollStep() {
  scrollClock.frameScroll = 0;
  scrollClock.scrollCarry = 0.0;
  scrollClock.stepTaken = false;
}

int32_t scrollStep() {
  scrollClock.stepTaken = true;
  return scrollClock.frameScroll;
}

int scrollStepTaken() { return scrollClock.stepTaken ? 1 : 0; }

// ---------------------------------------------------------------------------
// [SECTION] Window frame

namespace {

void drawPiece(Sprite& s, float x, float y, int layer) {
  s.x = x;
  s.y = y;
  s.layer = layer;
  drawSprite(s);
}

// A run of 64-pixel edge pieces along one side, the last one cut to the rest.
void drawEdge(Sprite& piece, int32_t x, int32_t y, int32_t length, bool horizontal, int layer) {
  piece.layer = layer;
  int32_t pos = 0;
  for (; pos <= length - 64; pos += 64) {
    piece.x = static_cast<float>(horizontal ? x + pos : x);
    piece.y = static_cast<float>(horizontal ? y : y + pos);
    drawSprite(piece);
  }
  int32_t rest = length % 64;
  if (rest <= 0) return;
  Sprite cut = piece;
  cut.x = static_cast<float>(horizontal ? x + pos : x);
  cut.y = static_cast<float>(horizontal ? y : y + pos);
  if (horizontal)
    cut.width = rest;
  else
    cut.height = rest;
  drawSprite(cut);
}

}  // namespace

void drawWindowFrame(int32_t x, int32_t y, int32_t w, int32_t h, int layer) {
  drawPiece(sprites.frameTopLeft, static_cast<float>(x - 6), static_cast<float>(y - 6), layer);
  drawPiece(sprites.frameTopRight, static_cast<float>(x + w), static_cast<float>(y - 6), layer);
  drawPiece(sprites.frameBottomLeft, static_cast<float>(x - 6), static_cast<float>(y + h), layer);
  drawPiece(sprites.frameBottomRight, static_cast<float>(x + w), static_cast<float>(y + h), layer);
  drawEdge(sprites.frameTop, x, y - 6, w, true, layer);
  drawEdge(sprites.frameBottom, x, y + h, w, true, layer);
  drawEdge(sprites.frameLeft, x - 6, y, h, false, layer);
  drawEdge(sprites.frameRight, x + w, y, h, false, layer);
}

// ---------------------------------------------------------------------------
// [SECTION] One window's frame update

namespace {

struct WindowLook {
  Sprite* title;
  Sprite* hThumb;
  Sprite* vThumb;
  int32_t hitMargin;         // hit rectangles start this far left of and above a thumb
  int32_t hHitW, hHitH;      // hit rectangle of the horizontal thumb
  int32_t vHitW, vHitH;      // hit rectangle of the vertical thumb
  FrontWindow frontValue;   // session.frontWindow when a drag starts in this window
};

const WindowLook MAP_LOOK{&sprites.mapTitle, &sprites.mapHThumb, &sprites.mapVThumb, 1, 9, 15, 15, 9, FRONT_MAP};
const WindowLook SHEET_LOOK{&sprites.sheetTitle, &sprites.sheetHThumb, &sprites.sheetVThumb, 3, 13, 17, 17, 13,
                            FRONT_SHEET};

void startDrag(GestureKind kind, const ViewWindow& v, const WindowLook& look) {
  gesture.kind = kind;
  gesture.window = &v;
  session.frontWindow = look.frontValue;
}

bool dragging(GestureKind kind, const ViewWindow& v) { return gesture.kind == kind && gesture.window == &v; }

// The three window drags share one shape: while held, apply the motion and
// keep the pointer; at the release clear the drag without touching geometry.
bool continueDrag() {
  if ((inputState.buttonsHeld & BTN_PRIMARY) != 0) {
    frameState.pointerShape = POINTER_NONE;
    return true;
  }
  gesture.kind = GESTURE_NONE;
  gesture.window = nullptr;
  return false;
}

void updateTitleMove(ViewWindow& v, const WindowLook& look) {
  if (dragging(GESTURE_MOVE, v)) {
    if (continueDrag()) {
      const ScreenMetrics& m = screenMetrics;
      v.x = minI(maxI(v.x + inputState.mouseDX, m.windowMinX), m.windowMaxX);
      v.y = minI(maxI(v.y + inputState.mouseDY, m.windowMinY), m.windowMaxY);
    }
  } else if (pointerHovers(TARGET_TITLE, &v)) {
    if ((inputState.buttonsPressed & BTN_PRIMARY) != 0) startDrag(GESTURE_MOVE, v, look);
  }
}

void updateAutoScroll(ViewWindow& v) {
  if (settings.autoScroll != 1 || !autoScrollBandFree(&v)) return;
  editor_detail::scrollTowardsPointer(v, screenMetrics.scrollBand);
}

// A thumb shows where the window and its image differ in size; a zoomed-out
// map smaller than its window has nothing to scroll and shows none.
bool thumbShown(const WindowLook& look, int32_t windowLen, int32_t imageLen) {
  if (look.frontValue == FRONT_MAP && session.mapZoom < 0) return imageLen > windowLen;
  return windowLen != imageLen;
}

// A thumb's hit rectangle starts `margin` left of and above where it is drawn.
void offerThumb(const ViewWindow& v, const float pos[2], int32_t margin, int32_t width, int32_t height) {
  const int32_t left = static_cast<int32_t>(pos[0] - static_cast<float>(margin));
  const int32_t top = static_cast<int32_t>(pos[1] - static_cast<float>(margin));
  offerPointerRegion(TARGET_THUMB, &v, -1, left, top, width, height);
}

void updateThumbs(ViewWindow& v, const WindowLook& look) {
  if (dragging(GESTURE_THUMB, v)) {
    if (continueDrag()) {
      v.scrollX += inputState.mouseDX;
      v.scrollY += inputState.mouseDY;
    }
    return;
  }
  if (!pointerHovers(TARGET_THUMB, &v)) return;
  frameState.pointerShape = POINTER_GRAB;
  if ((inputState.buttonsPressed & BTN_PRIMARY) != 0) startDrag(GESTURE_THUMB, v, look);
}

void updateDirectionScroll(ViewWindow& v) {
  if ((inputState.buttonsHeld & BTN_LEFT) != 0) v.scrollX -= scrollStep();
  if ((inputState.buttonsHeld & BTN_RIGHT) != 0) v.scrollX += scrollStep();
  if ((inputState.buttonsHeld & BTN_UP) != 0) v.scrollY -= scrollStep();
  if ((inputState.buttonsHeld & BTN_DOWN) != 0) v.scrollY += scrollStep();
}

void updateResize(ViewWindow& v, const WindowLook& look) {
  if (dragging(GESTURE_RESIZE, v)) {
    if (continueDrag()) {
      v.w += inputState.mouseDX;
      v.h += inputState.mouseDY;
    }
    return;
  }
  if (!pointerHovers(TARGET_RESIZE, &v)) return;
  frameState.pointerShape = POINTER_RESIZE;
  if ((inputState.buttonsPressed & BTN_PRIMARY) != 0) startDrag(GESTURE_RESIZE, v, look);
}

// Exclusive cases: a width cut at the screen limit is not also cut to the
// image in the same frame, which lets a resize push past a small image.
void clampSize(ViewWindow& v, int32_t imageW, int32_t imageH) {
  // (imageW, imageH) is the largest size the window grows to: for the map its
  // size at 1:1 or larger, so zooming out and in again leaves the window as
  // it was.
  const ScreenMetrics& m = screenMetrics;
  if (v.w <= m.windowMinW)
    v.w = m.windowMinW;
  else if (v.x + v.w > m.windowMaxRight)
    v.w = m.windowMaxRight - v.x;
  else if (v.w > imageW)
    v.w = imageW;
  if (v.h <= m.windowMinH)
    v.h = m.windowMinH;
  else if (v.y + v.h > m.windowMaxBottom)
    v.h = m.windowMaxBottom - v.y;
  else if (v.h > imageH)
    v.h = imageH;
}

// ---------------------------------------------------------------------------
// [SECTION] Content

void drawSheetContent(const ViewWindow& v, int32_t imageW, int32_t imageH, int layer) {
  // Only the part of the bitmap that exists is copied; a window larger than
  // its sheet shows nothing beyond the sheet's right or bottom edge.
  int32_t w = minI(v.w, imageW - v.scrollX);
  int32_t h = minI(v.h, imageH - v.scrollY);
  if (w <= 0 || h <= 0) return;
  sprites.sheetView.x = static_cast<float>(v.x);
  sprites.sheetView.y = static_cast<float>(v.y);
  sprites.sheetView.srcX = v.scrollX;
  sprites.sheetView.srcY = v.scrollY;
  sprites.sheetView.width = w;
  sprites.sheetView.height = h;
  sprites.sheetView.layer = layer;
  drawSprite(sprites.sheetView);
}

// Below 1:1 the map comes from its pictures: one scaled copy for the chips
// and, in attribute mode, one for the attributes' colours, however many
// cells the window shows.
void drawMapFromPictures(const ViewWindow& v, int layer) {
  syncMapPictures();
  int32_t mapW = 0, mapH = 0, shownW = 0, shownH = 0;
  editor_detail::mapPixelSize(&mapW, &mapH);
  editor_detail::mapImageSize(&shownW, &shownH);
  const int32_t k = -mapPictureShift();
  drawScaled(v.x - v.scrollX, v.y - v.scrollY, shownW, shownH, 0, 0, maxI(mapW >> k, 1), maxI(mapH >> k, 1), 1, layer,
             SLOT_MAP_PICTURE);
  if (session.toolMode == TOOL_ATTRIBUTE)
    drawScaled(v.x - v.scrollX, v.y - v.scrollY, shownW, shownH, 0, 0, doc.mapCellsX, doc.mapCellsY, 1, layer,
               SLOT_ATTRIBUTE_PICTURE);
}

void drawMapContent(const ViewWindow& v, int layer) {
  session.mapClipRect.left = maxI(v.x, 0);
  session.mapClipRect.top = maxI(v.y, 0);
  session.mapClipRect.right = minI(v.x + v.w, screenMetrics.canvasW);
  session.mapClipRect.bottom = minI(v.y + v.h, screenMetrics.canvasH);
  if (v.w > 0 && v.h > 0) {
    setClipRect(session.mapClipRect.left, session.mapClipRect.top, session.mapClipRect.right,
                session.mapClipRect.bottom);
    if (session.mapZoom < 0) {
      drawMapFromPictures(v, layer);
      setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);
      return;
    }
    const int32_t tx = doc.chipWidth, ty = doc.chipHeight;
    sprites.mapCell.width = tx;
    sprites.mapCell.height = ty;
    sprites.mapCell.layer = layer;
    const int32_t firstC = editor_detail::mapPixelX(v.x) / tx, firstR = editor_detail::mapPixelY(v.y) / ty;
    int32_t lastC = minI(editor_detail::mapPixelX(v.x + v.w) / tx, doc.mapCellsX - 1);
    int32_t lastR = minI(editor_detail::mapPixelY(v.y + v.h) / ty, doc.mapCellsY - 1);
    bool digits = session.toolMode == TOOL_ATTRIBUTE;
    for (int32_t c = firstC; c <= lastC; ++c) {
      for (int32_t r = firstR; r <= lastR; ++r) {
        int idx = cellIndex(c, r);
        sprites.mapCell.srcX = doc.planeX[idx];
        sprites.mapCell.srcY = doc.planeY[idx];
        editor_detail::drawMapCell(sprites.mapCell, c * tx, r * ty);
        if (digits)
          drawDigits(editor_detail::screenOfMapX(c * tx) + 1, editor_detail::screenOfMapY(r * ty) + 1, doc.planeA[idx],
                     3, layer);
      }
    }
  }
  setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);
}

// ---------------------------------------------------------------------------
// [SECTION] Decoration

void drawThumbs(ViewWindow& v, const WindowLook& look, int32_t imageW, int32_t imageH, int layer) {
  // A window larger than its image has no scroll range: its thumb rests at
  // the start instead of dividing by a negative span.
  if (thumbShown(look, v.w, imageW)) {
    float ratio = imageW > v.w ? static_cast<float>(v.scrollX) / static_cast<float>(imageW - v.w) : 0.0f;
    v.hThumb[0] = ratio * static_cast<float>(v.w - 7) + static_cast<float>(v.x);
    v.hThumb[1] = static_cast<float>(v.y + v.h - 3);
    drawPiece(*look.hThumb, v.hThumb[0], v.hThumb[1], layer);
  }
  if (thumbShown(look, v.h, imageH)) {
    float ratio = imageH > v.h ? static_cast<float>(v.scrollY) / static_cast<float>(imageH - v.h) : 0.0f;
    v.vThumb[0] = static_cast<float>(v.x + v.w - 3);
    v.vThumb[1] = ratio * static_cast<float>(v.h - 7) + static_cast<float>(v.y);
    drawPiece(*look.vThumb, v.vThumb[0], v.vThumb[1], layer);
  }
}

void drawGridLines(const ViewWindow& v, int32_t imageW, int32_t imageH, int32_t zoom, int layer) {
  if (settings.showGuideLines != 1) return;
  // Lines closer than 8 pixels would hide the chips (and overrun the shape
  // queue); a zoomed-out map shows none.
  const int32_t stepX = toScreen(doc.chipWidth, zoom), stepY = toScreen(doc.chipHeight, zoom);
  if (stepX < 8 || stepY < 8) return;
  // A window larger than its image (a zoomed-out map) has lines over the
  // image only.
  const int32_t w = minI(v.w, imageW - v.scrollX), h = minI(v.h, imageH - v.scrollY);
  // Start at the first chip boundary at or left of the window's edge; the
  // offsets before it would only be skipped.
  for (int32_t k = -(v.scrollX % stepX); k < w; k += stepX)
    if (k > 0) queueShape(v.x + k, v.y, v.x + k, v.y + h, 1, COLOR_GUIDE_GREY, SHAPE_LINE, layer);
  for (int32_t k = -(v.scrollY % stepY); k < h; k += stepY)
    if (k > 0) queueShape(v.x, v.y + k, v.x + w, v.y + k, 1, COLOR_GUIDE_GREY, SHAPE_LINE, layer);
}

// The title line's first parts: the unsaved mark while there is something to
// save, then "12/12", the steps applied of the steps kept.
void drawHistoryPosition(const ViewWindow& v, int layer) {
  session.mapTitleX = v.x + 82;
  if (doc.unsaved) queueMapTitlePart(uiTextSjis(texts::UNSAVED_MARK), layer);
  char text[24];
  std::snprintf(text, sizeof text, "%u/%u", static_cast<unsigned>(history.position),
                static_cast<unsigned>(history.count));
  queueMapTitlePart(text, layer);
  // The zoom follows the history position.
  static const texts::Id zoomTexts[] = {texts::ZOOM_QUARTER, texts::ZOOM_HALF, texts::ZOOM_ONE, texts::ZOOM_DOUBLE};
  queueMapTitlePart(uiTextSjis(zoomTexts[session.mapZoom - MAP_ZOOM_MIN]), layer);
}

// The strip right of the title image, under the title line's texts: opaque,
// so a window in front hides the texts of the one behind it. It is the title
// image's last column drawn out to the window's right edge.
void drawTitleStrip(const ViewWindow& v, const Sprite& title, int layer) {
  const int32_t left = v.x - 6 + title.width, right = v.x + v.w + 6;
  if (right <= left) return;
  blitStretched(left, v.y - 27, right - left, title.height, title.srcX + title.width - 1, title.srcY, 1, title.height,
                1, layer, title.slot);
}

void updateWindow(ViewWindow& v, const WindowLook& look, bool isMap, int layer) {
  int32_t imageW = 0, imageH = 0;
  if (isMap)
    editor_detail::mapImageSize(&imageW, &imageH);
  else
    editor_detail::sheetImageSize(&imageW, &imageH);

  updateTitleMove(v, look);
  updatePan(v, look.frontValue);
  updateAutoScroll(v);
  updateThumbs(v, look);
  if (isMap) updateDirectionScroll(v);
  updateResize(v, look);
  if (isMap) {
    int32_t fullW = 0, fullH = 0;
    editor_detail::mapPixelSize(&fullW, &fullH);
    clampSize(v, maxI(imageW, fullW), maxI(imageH, fullH));
  } else {
    clampSize(v, imageW, imageH);
  }
  editor_detail::clampScroll(v, imageW, imageH);

  if (isMap)
    drawMapContent(v, layer);
  else if (v.w > 0 && v.h > 0)
    drawSheetContent(v, imageW, imageH, layer);
  drawWindowFrame(v.x, v.y, v.w, v.h, layer);
  drawPiece(*look.title, static_cast<float>(v.x - 6), static_cast<float>(v.y - 27), layer);
  drawTitleStrip(v, *look.title, layer);
  if (isMap) drawHistoryPosition(v, layer);
  drawThumbs(v, look, imageW, imageH, layer);
  if (v.w > 0 && v.h > 0) drawGridLines(v, imageW, imageH, isMap ? session.mapZoom : 0, layer);
}

}  // namespace

void queueMapTitlePart(const char* text, int layer) {
  // Half-width characters of the 16-pixel face are 8 pixels wide; the parts
  // keep one character's gap between them.
  constexpr int32_t CHAR_W = 8;
  const ViewWindow& v = session.mapView;
  const int32_t room = (v.x + v.w - session.mapTitleX) / CHAR_W;
  if (room <= 0) return;
  char cut[TEXT_STORE];
  sjisCopy(cut, static_cast<size_t>(minI(room + 1, TEXT_STORE)), text);
  queueText(session.mapTitleX, v.y - 22, COLOR_WHITE, cut, layer);
  session.mapTitleX += (static_cast<int32_t>(std::strlen(cut)) + 1) * CHAR_W;
}

// The window's parts in the order its handlers run (updateWindow, then its
// tool): the title bar, the content under a middle press, the auto-scroll
// band, the thumbs, the lower and right edges, the content.
void declareWindowRegions(const ViewWindow& v) {
  const bool isMap = &v == &session.mapView;
  const WindowLook& look = isMap ? MAP_LOOK : SHEET_LOOK;
  int32_t imageW = 0, imageH = 0;
  if (isMap)
    editor_detail::mapImageSize(&imageW, &imageH);
  else
    editor_detail::sheetImageSize(&imageW, &imageH);
  offerPointerRegion(TARGET_TITLE, &v, -1, v.x, v.y - 24, 80, 23);
  if ((inputState.buttonsPressed & BTN_MOUSE3) != 0) offerPointerRegion(TARGET_PAN, &v, -1, v.x, v.y, v.w, v.h);
  offerAutoScrollBand(&v);
  if (thumbShown(look, v.w, imageW)) offerThumb(v, v.hThumb, look.hitMargin, look.hHitW, look.hHitH);
  if (thumbShown(look, v.h, imageH)) offerThumb(v, v.vThumb, look.hitMargin, look.vHitW, look.vHitH);
  offerPointerRegion(TARGET_RESIZE, &v, -1, v.x, v.y + v.h, v.w + 8, 8);
  offerPointerRegion(TARGET_RESIZE, &v, -1, v.x + v.w, v.y, 8, v.h + 8);
  offerPointerRegion(TARGET_CONTENT, &v, -1, v.x, v.y, v.w, v.h);
}

void updateMapView(int layer) { updateWindow(session.mapView, MAP_LOOK, true, layer); }

void updateSheetView(int layer) { updateWindow(session.sheetView, SHEET_LOOK, false, layer); }
