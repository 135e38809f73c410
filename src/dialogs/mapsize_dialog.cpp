// The map-size dialog: cells across and down, chip width and height, with the
// resulting size in pixels shown while the user chooses.
#include <cstdio>

#include "dialogs/control_ids.h"
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "map/map.h"

namespace {


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
struct MapSizeRun {
  int openedOn[4];
  MapSizeChoice* choice;  // where OK leaves the sizes
};

unsigned listValue(DlgHandle* h, const MapSizeRun& run, int id) {
  if (dlgListGetCurSel(h, id) != run.openedOn[id - MAPSIZE_CELLS_X]) return dlgGetUInt(h, id);
  switch (id) {
    case MAPSIZE_CELLS_X: return static_cast<unsigned>(doc.mapCellsX);
    case MAPSIZE_CELLS_Y: return static_cast<unsigned>(doc.mapCellsY);
    case MAPSIZE_CHIP_W: return static_cast<unsigned>(doc.chipWidth);
    default: return static_cast<unsigned>(doc.chipHeight);
  }
}

// The entry of a chip size, or -1 when no entry is that size.
int chipEntry(int32_t chip) { return chip % 16 == 0 && chip >= 16 && chip <= 64 ? chip / 16 - 1 : -1; }

void showPixelSize(DlgHandle* h, const MapSizeRun& run) {
  dlgSetUInt(h, MAPSIZE_PIXELS_X, listValue(h, run, MAPSIZE_CELLS_X) * listValue(h, run, MAPSIZE_CHIP_W));
  dlgSetUInt(h, MAPSIZE_PIXELS_Y, listValue(h, run, MAPSIZE_CELLS_Y) * listValue(h, run, MAPSIZE_CHIP_H));
}

void confirmMapSize(DlgHandle* h, const MapSizeRun& run) {
  const unsigned cellsX = listValue(h, run, MAPSIZE_CELLS_X);
  const unsigned cellsY = listValue(h, run, MAPSIZE_CELLS_Y);
  const unsigned chipW = listValue(h, run, MAPSIZE_CHIP_W);
  const unsigned chipH = listValue(h, run, MAPSIZE_CHIP_H);
  // A chip size of 0 would leave the views nothing to divide by.
  if (chipW == 0 || chipH == 0) {
    dialogComplain(h, uiText(texts::CHOOSE_CHIP_SIZE));
    return;
  }
  *run.choice = MapSizeChoice{static_cast<int32_t>(cellsX), static_cast<int32_t>(cellsY), static_cast<int32_t>(chipW),
                              static_cast<int32_t>(chipH)};
  dlgEnd(h, 1);
}

}  // namespace

int mapSizeDialogProc(DlgHandle* h, void* context, int event, int id, int notification) {
  MapSizeRun& run = *static_cast<MapSizeRun*>(context);
  (void)notification;
  if (event == DLG_INIT) {
    fillList(h, MAPSIZE_CELLS_X, 0, 1, 256, doc.mapCellsX);
    fillList(h, MAPSIZE_CELLS_Y, 0, 1, 256, doc.mapCellsY);
    fillList(h, MAPSIZE_CHIP_W, 16, 16, 4, chipEntry(doc.chipWidth));
    fillList(h, MAPSIZE_CHIP_H, 16, 16, 4, chipEntry(doc.chipHeight));
    for (int i = 0; i < 4; ++i) run.openedOn[i] = dlgListGetCurSel(h, MAPSIZE_CELLS_X + i);
    dlgSetUInt(h, MAPSIZE_PIXELS_X, static_cast<unsigned>(doc.mapCellsX * doc.chipWidth));
    dlgSetUInt(h, MAPSIZE_PIXELS_Y, static_cast<unsigned>(doc.mapCellsY * doc.chipHeight));
    return 0;
  }
  if (event != DLG_COMMAND) return 0;
  if (id >= MAPSIZE_CELLS_X && id <= MAPSIZE_CHIP_H) {
    showPixelSize(h, run);
  } else if (id == DLG_OK_BUTTON && notification == DLGN_CLICKED) {
    confirmMapSize(h, run);
  } else if (id == DLG_CANCEL_BUTTON && notification == DLGN_CLICKED) {
    dlgEnd(h, 0);
  }
  return 0;
}

int mapSizeDialog(MapSizeChoice* chosen) {
  MapSizeRun run{{}, chosen};
  return dlgRun(shownTemplate(MAP_SIZE_TEMPLATE), mapSizeDialogProc, &run) == 1 ? 1 : 0;
}
