// The settings dialog: display options, the wallpaper and the scroll speed.
#include <cstring>

#include "dialogs/control_ids.h"
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "map/map.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "settings/settings.h"

namespace {

constexpr int SPEED_OFFSET = 100;  // the trackbar's left end is 100 pixels per second

// The language list's entries, in the order of the list, as the settings file
// keeps them ("" follows the environment).
const char* const LANGUAGE_KEPT[] = {"", "ja", "en"};
constexpr texts::Id LANGUAGE_SHOWN[] = {texts::LANGUAGE_AUTO, texts::LANGUAGE_JA, texts::LANGUAGE_EN};

void fillLanguageList(DlgHandle* h) {
  int current = 0;
  for (int i = 0; i < 3; ++i) {
    dlgListAdd(h, SETTINGS_LANGUAGE, uiTextSjis(LANGUAGE_SHOWN[i]));
    if (std::strcmp(settings.language, LANGUAGE_KEPT[i]) == 0) current = i;
  }
  dlgListSetCurSel(h, SETTINGS_LANGUAGE, current);
}

// Keeps the chosen language for the next start and says so when it changed.
void keepLanguage(DlgHandle* h) {
  const int chosen = dlgListGetCurSel(h, SETTINGS_LANGUAGE);
  if (chosen < 0 || std::strcmp(settings.language, LANGUAGE_KEPT[chosen]) == 0) return;
  std::memcpy(settings.language, LANGUAGE_KEPT[chosen], std::strlen(LANGUAGE_KEPT[chosen]) + 1);
  dlgMessageBox(h, uiText(texts::LANGUAGE_NEXT_START), uiText(texts::CAPTION_NOTE), BOX_OK | BOX_INFORMATION);
}

void fillSettingsForm(DlgHandle* h) {
  dlgCheck(h, SETTINGS_WALLPAPER_SHOWN, settings.showWallpaper);
  dlgCheck(h, SETTINGS_DEBUG, settings.showDebugInfo);
  dlgCheck(h, SETTINGS_GUIDE_LINES, settings.showGuideLines);
  dlgCheck(h, SETTINGS_SHEET_ON_TOP, settings.chipSheetOnTop);
  dlgCheck(h, SETTINGS_AUTO_SCROLL, settings.autoScroll);
  dlgCheck(h, SETTINGS_DISPLAY_CANVAS, settings.displayCanvas != 0 ? 1 : 0);
  dlgCheck(h, SETTINGS_SHARP_FIT, settings.sharpFit != 0 ? 1 : 0);
  fillProgramInformation(h);
  dlgSetPath(h, SETTINGS_WALLPAPER_PATH, doc.wallpaperPath);
  dlgTrackbarSetRange(h, SETTINGS_SPEED, 0, 600);
  dlgTrackbarSetPos(h, SETTINGS_SPEED, settings.scrollSpeed - SPEED_OFFSET);
  fillLanguageList(h);
}

void confirmSettings(DlgHandle* h) {
  char path[PATH_STORE];
  if (!readPathField(h, SETTINGS_WALLPAPER_PATH, path)) return;
  const int shown = dlgIsChecked(h, SETTINGS_WALLPAPER_SHOWN);
  if (shown && !dialogServices.fileExists(path)) {
    dialogComplain(h, uiText(texts::WALLPAPER_MISSING));
    return;
  }
  sjisCopy(doc.wallpaperPath, PATH_STORE, path);
  settings.showWallpaper = shown;
  settings.showDebugInfo = dlgIsChecked(h, SETTINGS_DEBUG);
  settings.showGuideLines = dlgIsChecked(h, SETTINGS_GUIDE_LINES);
  settings.chipSheetOnTop = dlgIsChecked(h, SETTINGS_SHEET_ON_TOP);
  settings.autoScroll = dlgIsChecked(h, SETTINGS_AUTO_SCROLL);
  // Kept for the next start: this run keeps the canvas it started with.
  settings.displayCanvas = dlgIsChecked(h, SETTINGS_DISPLAY_CANVAS);
  settings.sharpFit = dlgIsChecked(h, SETTINGS_SHARP_FIT);
  settings.scrollSpeed = dlgTrackbarGetPos(h, SETTINGS_SPEED) + SPEED_OFFSET;
  keepLanguage(h);
  dlgEnd(h, 1);
}

}  // namespace

int settingsDialogProc(DlgHandle* h, void*, int event, int id, int notification) {
  if (event == DLG_INIT) {
    fillSettingsForm(h);
    return 0;
  }
  if (event != DLG_COMMAND || notification != DLGN_CLICKED) return 0;
  if (id == DLG_OK_BUTTON) {
    confirmSettings(h);
  } else if (id == DLG_CANCEL_BUTTON) {
    dlgEnd(h, 0);
  } else if (id == SETTINGS_WALLPAPER_BROWSE) {
    // The picker has already taken the file into doc.wallpaperPath; Cancel keeps it.
    if (dialogServices.chooseWallpaper()) dlgSetPath(h, SETTINGS_WALLPAPER_PATH, doc.wallpaperPath);
  }
  return 0;
}

int settingsDialog() { return dlgRun(shownTemplate(SETTINGS_TEMPLATE), settingsDialogProc) == 1 ? 1 : 0; }
