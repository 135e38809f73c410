// The start-up dialog: new map or map file, chip sheet, wallpaper, debug flag,
// and the conversion of older map files.
#include <cstring>

#include "dialogs/control_ids.h"
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "map/map.h"
#include "platform/sjis.h"
#include "settings/settings.h"

namespace {


void fillStartupForm(DlgHandle* h) {
  dlgSetProgramIcon(h);
  fillProgramInformation(h);
  dlgCheck(h, STARTUP_DEBUG, settings.showDebugInfo);
  dlgCheck(h, STARTUP_WALLPAPER_SHOWN, settings.showWallpaper);
  if (doc.mapPath[0] == '\0') {
    dlgCheck(h, STARTUP_NEW_MAP, 1);
    dlgEnable(h, STARTUP_MAP_PATH, 0);
  } else {
    dlgCheck(h, STARTUP_OPEN_MAP, 1);
    dlgSetPath(h, STARTUP_MAP_PATH, doc.mapPath);
    dlgEnable(h, STARTUP_MAP_PATH, 1);
    dialogServices.loadMap(doc.mapPath);  // the previous run's map is shown first
  }
  // After the read, so that the field shows the sheet beside the map file.
  dlgSetPath(h, STARTUP_CHIP_PATH, doc.chipSheetPath);
  if (doc.wallpaperPath[0] == '\0') {
    char def[PATH_STORE];
    std::strncpy(def, programDir, sizeof def - 1);
    def[sizeof def - 1] = '\0';
    const size_t used = std::strlen(def);
    std::strncpy(def + used, "Brin.bmp", sizeof def - 1 - used);
    def[sizeof def - 1] = '\0';
    sjisCopy(doc.wallpaperPath, PATH_STORE, def);
  }
  dlgSetPath(h, STARTUP_WALLPAPER_PATH, doc.wallpaperPath);
}

void confirmStartup(DlgHandle* h) {
  if (!dialogServices.fileExists(doc.chipSheetPath)) {
    dialogComplain(h, uiText(texts::SHEET_NOT_THERE));
    return;
  }
  // A sheet or map that cannot be read would open as an empty sheet or a
  // blank map without a word: the user hears it here and can choose again.
  if (!dialogServices.sheetReadable(doc.chipSheetPath)) {
    dialogComplain(h, uiText(texts::SHEET_UNREADABLE));
    return;
  }
  char mapText[PATH_STORE], wallpaperText[PATH_STORE], chipText[PATH_STORE];
  // All three fields are read before anything changes, so a field that cannot
  // be stored refuses the confirmation without side effects.
  if (!readPathField(h, STARTUP_WALLPAPER_PATH, wallpaperText) || !readPathField(h, STARTUP_MAP_PATH, mapText) ||
      !readPathField(h, STARTUP_CHIP_PATH, chipText))
    return;
  const int wallpaperShown = dlgIsChecked(h, STARTUP_WALLPAPER_SHOWN);
  if (wallpaperShown && !dialogServices.fileExists(wallpaperText)) {
    dialogComplain(h, uiText(texts::WALLPAPER_MISSING));
    return;
  }
  const int openMap = dlgIsChecked(h, STARTUP_OPEN_MAP);
  if (openMap) {
    if (!dialogServices.fileExists(mapText)) {
      dialogComplain(h, uiText(texts::MAP_NOT_THERE));
      return;
    }
    if (!dialogServices.mapReadable(mapText) || !dialogServices.loadMap(mapText)) {
      dialogComplain(h, uiText(texts::MAP_UNREADABLE));
      return;
    }
  }
  sjisCopy(doc.mapPath, PATH_STORE, mapText);
  // A new map starts from clean planes and has no file until its first save,
  // so that SAVE cannot write it over the map named in the field.
  if (!openMap) startNewDocument();
  sjisCopy(doc.wallpaperPath, PATH_STORE, wallpaperText);
  setChipSheetPath(chipText);
  settings.showDebugInfo = dlgIsChecked(h, STARTUP_DEBUG);
  settings.showWallpaper = wallpaperShown;
  dlgEnd(h, 1);
}

void convertOldFile(DlgHandle* h) {
  if (!dialogServices.chooseMapToOpen()) return;
  if (!dialogServices.convertOld(doc.mapPath)) {
    dialogComplain(h, uiText(texts::MAP_OPEN_FAILED));
    return;
  }
  if (!dialogServices.chooseMapToSave()) return;  // the converted map stays in memory
  if (!dialogServices.saveMap(doc.mapPath)) {
    dialogComplain(h, uiText(texts::MAP_SAVE_FAILED));
    return;
  }
  dlgSetPath(h, STARTUP_MAP_PATH, doc.mapPath);
  dlgSetPath(h, STARTUP_CHIP_PATH, doc.chipSheetPath);
}

void browseMap(DlgHandle* h) {
  if (!dialogServices.chooseMapToOpen()) return;
  dlgSetPath(h, STARTUP_MAP_PATH, doc.mapPath);
  dlgCheck(h, STARTUP_NEW_MAP, 0);
  dlgCheck(h, STARTUP_OPEN_MAP, 1);
  dlgEnable(h, STARTUP_MAP_PATH, 1);
  if (dialogServices.loadMap(doc.mapPath)) dlgSetPath(h, STARTUP_CHIP_PATH, doc.chipSheetPath);
}

}  // namespace

int startupDialogProc(DlgHandle* h, void*, int event, int id, int notification) {
  if (event == DLG_INIT) {
    fillStartupForm(h);
    return 0;
  }
  if (event != DLG_COMMAND || notification != DLGN_CLICKED) return 0;
  switch (id) {
    case DLG_OK_BUTTON:
      confirmStartup(h);
      break;
    case DLG_CANCEL_BUTTON:
      dlgEnd(h, 2);
      break;
    case STARTUP_CONVERT:
      convertOldFile(h);
      break;
    case STARTUP_NEW_MAP:
    case STARTUP_OPEN_MAP:
      dlgEnable(h, STARTUP_MAP_PATH, dlgIsChecked(h, STARTUP_OPEN_MAP));
      break;
    case STARTUP_MAP_BROWSE:
      browseMap(h);
      break;
    case STARTUP_CHIP_BROWSE:
      if (dialogServices.chooseChipSheet()) dlgSetPath(h, STARTUP_CHIP_PATH, doc.chipSheetPath);
      break;
    case STARTUP_WALLPAPER_BROWSE:
      if (dialogServices.chooseWallpaper()) dlgSetPath(h, STARTUP_WALLPAPER_PATH, doc.wallpaperPath);
      break;
    default:
      break;
  }
  return 0;
}

int startupDialog() {
  // Closing the form without an answer counts as Cancel: the program ends.
  return dlgRun(shownTemplate(STARTUP_TEMPLATE), startupDialogProc) == 1 ? 1 : 2;
}
