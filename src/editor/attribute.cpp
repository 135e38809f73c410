// Attribute mode: the map window shows every cell's attribute as digits and a
// dragged rectangle of cells receives the value chosen in the attribute
// dialog.
#include <cstdio>

#include "dialogs/dialogs.h"
#include "dialogs/texts.h"
#include "editor/editor.h"
#include "editor/view_internal.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/sjis.h"

using editor_detail::maxI;
using editor_detail::minI;
using editor_detail::snapDown;

int (*attributeDialogHook)(int32_t initial, int32_t* chosen) = nullptr;

namespace {

constexpr int32_t GLYPH_SLASH = 11;  // stands in for a minus sign

using editor_detail::ChipBlock;

void outline(const ViewWindow& v, int32_t left, int32_t top, int32_t width, int32_t height, int layer) {
  using editor_detail::screenOfMapX;
  using editor_detail::screenOfMapY;
  queueShape(screenOfMapX(left), screenOfMapY(top), minI(screenOfMapX(left + width), v.x + v.w),
             minI(screenOfMapY(top + height), v.y + v.h), 2, COLOR_PINK, SHAPE_BOX, layer);
}

// The corner has no upper bound of its own; the block is cut where the map
// ends, which also keeps every write inside the 256 by 256 planes.
ChipBlock cutToMap(ChipBlock b) {
  int32_t col0 = b.left / doc.chipWidth, row0 = b.top / doc.chipHeight;
  b.columns = maxI(minI(b.columns, doc.mapCellsX - col0), 0);
  b.rows = maxI(minI(b.rows, doc.mapCellsY - row0), 0);
  return b;
}

int askAttribute(int32_t initial, int32_t* chosen) {
  return attributeDialogHook != nullptr ? attributeDialogHook(initial, chosen) : attributeDialog(initial, chosen);
}

void releaseBlock(const ChipBlock& b) {
  // A block that lies wholly beyond the map (a window larger than the map)
  // marks no cell, so there is nothing to ask for.
  if (b.columns > 0 && b.rows > 0) {
    int32_t col0 = b.left / doc.chipWidth, row0 = b.top / doc.chipHeight;
    showSystemCursor(1);
    // The dialog opens on the first cell's value, which stays the current
    // attribute when the dialog is cancelled.
    session.currentAttribute = doc.planeA[cellIndex(col0, row0)];
    int32_t chosen = session.currentAttribute;
    if (askAttribute(session.currentAttribute, &chosen) == 1) {
      session.currentAttribute = chosen;
      snapshotUndo();
      for (int32_t i = 0; i < b.columns; ++i)
        for (int32_t j = 0; j < b.rows; ++j) doc.planeA[cellIndex(col0 + i, row0 + j)] = session.currentAttribute;
      documentChanged();
    }
    showSystemCursor(0);
  }
  gesture.kind = GESTURE_NONE;
}

void dragStep(int layer) {
  ViewWindow& v = session.mapView;
  int32_t cx = maxI(snapDown(editor_detail::mapPixelX(frameState.mouseX), doc.chipWidth), 0);
  int32_t cy = maxI(snapDown(editor_detail::mapPixelY(frameState.mouseY), doc.chipHeight), 0);
  gesture.attrCornerX = cx;
  gesture.attrCornerY = cy;

  int32_t imageW = 0, imageH = 0;
  editor_detail::mapImageSize(&imageW, &imageH);
  editor_detail::scrollWhileOutside(v, imageW, imageH);

  const ChipBlock b =
      cutToMap(editor_detail::cellBlock(session.hoverCellX, session.hoverCellY, cx, cy, doc.chipWidth, doc.chipHeight));

  if ((inputState.buttonsHeld & BTN_PRIMARY) != 0) {
    if (b.columns > 0 && b.rows > 0)
      outline(v, b.left, b.top, b.columns * doc.chipWidth, b.rows * doc.chipHeight, layer);
    return;
  }
  releaseBlock(b);
}

}  // namespace

void updateAttributeTool(int layer) {
  const ViewWindow& v = session.mapView;
  if (gesture.kind == GESTURE_NONE) {
    if (!pointerHovers(TARGET_CONTENT, &v)) return;
    if ((inputState.buttonsPressed & BTN_PRIMARY) != 0) {
      gesture.kind = GESTURE_ATTRIBUTE;
    }
    session.hoverCellX = snapDown(editor_detail::mapPixelX(frameState.mouseX), doc.chipWidth);
    session.hoverCellY = snapDown(editor_detail::mapPixelY(frameState.mouseY), doc.chipHeight);
    outline(v, session.hoverCellX, session.hoverCellY, doc.chipWidth, doc.chipHeight, layer);
    // Below 1:1 the values are colours; the one under the pointer is told.
    if (session.mapZoom < 0) {
      const int32_t col = session.hoverCellX / doc.chipWidth, row = session.hoverCellY / doc.chipHeight;
      if (col >= 0 && row >= 0 && col < doc.mapCellsX && row < doc.mapCellsY) {
        char status[TEXT_STORE];
        std::snprintf(status, sizeof status, uiTextSjis(texts::ATTRIBUTE_STATUS), static_cast<int>(session.hoverCellX),
                      static_cast<int>(session.hoverCellY), static_cast<int>(doc.planeA[cellIndex(col, row)]));
        queueMapTitlePart(status, layer);
      }
    }
  } else if (gesture.kind == GESTURE_ATTRIBUTE) {
    dragStep(layer);
  }
}

void drawDigits(int32_t x, int32_t y, int32_t value, int32_t count, int layer) {
  if (count <= 0) return;
  sprites.digit.slot = SLOT_DATA;
  sprites.digit.srcY = 144;
  sprites.digit.width = 8;
  sprites.digit.height = 12;
  sprites.digit.opaque = 0;
  sprites.digit.layer = layer;
  sprites.digit.y = static_cast<float>(y);
  // Negative values have no digit images: the leftmost place shows the slash
  // glyph as a minus sign and the others the magnitude's low digits.
  int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
  int32_t digitPlaces = value < 0 ? count - 1 : count;
  for (int32_t i = 0; i < digitPlaces; ++i) {
    sprites.digit.srcX = static_cast<int32_t>(magnitude % 10) * 8;
    magnitude /= 10;
    sprites.digit.x = static_cast<float>(x + (count - 1 - i) * 8);
    drawSprite(sprites.digit);
  }
  if (value < 0) {
    sprites.digit.srcX = GLYPH_SLASH * 8;
    sprites.digit.x = static_cast<float>(x);
    drawSprite(sprites.digit);
  }
}
