// The map-size dialog: cells across and down, chip width and height, with the
// resulting size in pixels shown while the user chooses.
#include <cstdio>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "map/map.h"

namespace {

constexpr int ID_CELLS_X = 1000;
constexpr int ID_CELLS_Y = 1001;
constexpr int ID_CHIP_W = 1002;
constexpr int ID_CHIP_H = 1003;
constexpr int ID_PIXELS_X = 1006;
constexpr int ID_PIXELS_Y = 1007;

void fillList(DlgHandle* h, int id, int first, int step, int count, int chosen) {
  for (int i = 0; i < count; ++i) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "%d", first + i * step);
    dlgListAdd(h, id, entry);
  }
  dlgListSetCurSel(h, id, chosen);
}

// The entry each list opened on (-1: none, for a size the list cannot show).
// A list the user has not changed keeps the size it stood for, so OK without
// a choice changes nothing, even a size no entry shows (256 cells, 24 px).
int openedOn[4];
MapSizeChoice* choice;  // where OK leaves the sizes, for the running dialog

unsigned listValue(DlgHandle* h, int id) {
  if (dlgListGetCurSel(h, id) != openedOn[id - ID_CELLS_X]) return dlgGetUInt(h, id);
  switch (id) {
    case ID_CELLS_X: return static_cast<unsigned>(doc.mapCellsX);
    case ID_CELLS_Y: return static_cast<unsigned>(doc.mapCellsY);
    case ID_CHIP_W: return static_cast<unsigned>(doc.chipWidth);
    default: return static_cast<unsigned>(doc.chipHeight);
  }
}

// The entry of a chip size, or -1 when no entry is that size.
int chipEntry(int32_t chip) { return chip % 16 == 0 && chip >= 16 && chip <= 64 ? chip / 16 - 1 : -1; }

void showPixelSize(DlgHandle* h) {
  dlgSetUInt(h, ID_PIXELS_X, listValue(h, ID_CELLS_X) * listValue(h, ID_CHIP_W));
  dlgSetUInt(h, ID_PIXELS_Y, listValue(h, ID_CELLS_Y) * listValue(h, ID_CHIP_H));
}

void confirmMapSize(DlgHandle* h) {
  const unsigned cellsX = listValue(h, ID_CELLS_X);
  const unsigned cellsY = listValue(h, ID_CELLS_Y);
  const unsigned chipW = listValue(h, ID_CHIP_W);
  const unsigned chipH = listValue(h, ID_CHIP_H);
  // A chip size of 0 would leave the views nothing to divide by.
  if (chipW == 0 || chipH == 0) {
    dialogComplain(h, uiText(texts::CHOOSE_CHIP_SIZE));
    return;
  }
  *choice = MapSizeChoice{static_cast<int32_t>(cellsX), static_cast<int32_t>(cellsY), static_cast<int32_t>(chipW),
                          static_cast<int32_t>(chipH)};
  dlgEnd(h, 1);
}

}  // namespace

int mapSizeDialogProc(DlgHandle* h, int event, int id, int notification) {
  (void)notification;
  if (event == DLG_INIT) {
    fillList(h, ID_CELLS_X, 0, 1, 256, doc.mapCellsX);
    fillList(h, ID_CELLS_Y, 0, 1, 256, doc.mapCellsY);
    fillList(h, ID_CHIP_W, 16, 16, 4, chipEntry(doc.chipWidth));
    fillList(h, ID_CHIP_H, 16, 16, 4, chipEntry(doc.chipHeight));
    for (int i = 0; i < 4; ++i) openedOn[i] = dlgListGetCurSel(h, ID_CELLS_X + i);
    dlgSetUInt(h, ID_PIXELS_X, static_cast<unsigned>(doc.mapCellsX * doc.chipWidth));
    dlgSetUInt(h, ID_PIXELS_Y, static_cast<unsigned>(doc.mapCellsY * doc.chipHeight));
    return 0;
  }
  if (event != DLG_COMMAND) return 0;
  if (id >= ID_CELLS_X && id <= ID_CHIP_H) {
    showPixelSize(h);
  } else if (id == DLG_IDOK && notification == DLGN_CLICKED) {
    confirmMapSize(h);
  } else if (id == DLG_IDCANCEL && notification == DLGN_CLICKED) {
    dlgEnd(h, 0);
  }
  return 0;
}

int mapSizeDialog(MapSizeChoice* chosen) {
  choice = chosen;
  return dlgRun(shownTemplate(MAP_SIZE_TEMPLATE), mapSizeDialogProc) == 1 ? 1 : 0;
}
