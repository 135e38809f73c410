// The four file pickers: each starts from the Setting it serves and writes the
// choice straight back into it.
#include "dialogs/pickers.h"

#include <cstring>

#include "map/map.h"
#include "platform/filechooser.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "dialogs/texts.h"
#include "settings/settings.h"

namespace {

const FileChooserSetup CHIP_SHEET = {0, "ＢＭＰファイル？", "ＢＭＰファイル[*.bmp]", "*.bmp", "bmp"};
const FileChooserSetup MAP_OPEN = {0, "マップファイル？", "マップファイル[*.bct]", "*.bct", "bct"};
const FileChooserSetup MAP_SAVE = {1, "どれにセーブする？", "マップファイル[*.bct]", "*.bct", "bct"};

int pick(const FileChooserSetup& setup, char* store) {
  char chosen[PATH_STORE];
  int r = platformChooseFile(setup, store, chosen, sizeof chosen);
  if (r < 0) {
    // The name cannot be stored as it is; storing part of it would name another file.
    platformMessageBox(texts::FILE_NAME_UNUSABLE, texts::CAPTION_HUH, MB_OK | MB_ICONQUESTION);
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
