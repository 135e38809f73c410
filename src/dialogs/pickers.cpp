// The four file pickers: each starts from the Setting it serves and writes the
// choice straight back into it.
#include "dialogs/pickers.h"

#include <cstring>

#include "dialogs/texts.h"
#include "map/map.h"
#include "platform/filechooser.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "dialogs/texts.h"
#include "settings/settings.h"

namespace {

enum PickerKind { CHIP_SHEET, MAP_OPEN, MAP_SAVE };

int pick(PickerKind kind, char* store) {
  const FileChooserSetup setup =
      kind == CHIP_SHEET
          ? FileChooserSetup{0, uiText(texts::PICK_SHEET), uiText(texts::PICK_SHEET_FILTER), "*.bmp", "bmp"}
      : kind == MAP_OPEN
          ? FileChooserSetup{0, uiText(texts::PICK_MAP), uiText(texts::PICK_MAP_FILTER), "*.bct", "bct"}
          : FileChooserSetup{1, uiText(texts::PICK_MAP_SAVE), uiText(texts::PICK_MAP_FILTER), "*.bct", "bct"};
  char chosen[PATH_STORE];
  int r = platformChooseFile(setup, store, chosen, sizeof chosen);
  if (r < 0) {
    // The name cannot be stored as it is; storing part of it would name another file.
    platformMessageBox(uiText(texts::NAME_UNUSABLE), uiText(texts::CAPTION_HUH), BOX_OK | BOX_QUESTION);
    return 0;
  }
  if (r == 0) return 0;
  chosen[sizeof chosen - 1] = 0;
  std::memcpy(store, chosen, std::strlen(chosen) + 1);
  return 1;
}

}  // namespace

int chooseChipSheetFile() {
  if (!pick(CHIP_SHEET, doc.chipSheetPath)) return 0;
  setChipSheetPath(doc.chipSheetPath);
  return 1;
}

int chooseWallpaperFile() { return pick(CHIP_SHEET, doc.wallpaperPath); }
int chooseMapFileToOpen() { return pick(MAP_OPEN, doc.mapPath); }
int chooseMapFileToSave() {
  if (doc.mapPath[0]) return pick(MAP_SAVE, doc.mapPath);
  // A map without a file offers no name, so that nothing is saved over the
  // last map by a quick Return; the chooser opens in that map's folder.
  char start[PATH_STORE];
  if (doc.lastMapPath[0])
    pathBeside(doc.lastMapPath, "", start);
  else
    sjisCopy(start, sizeof start, programDir);
  if (!pick(MAP_SAVE, start)) return 0;
  sjisCopy(doc.mapPath, PATH_STORE, start);
  return 1;
}
