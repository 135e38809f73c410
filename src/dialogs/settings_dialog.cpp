// The settings dialog: display options, the wallpaper and the scroll speed.
#include <cstring>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "map/map.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "settings/settings.h"

namespace {

constexpr int ID_DEBUG = 1001;
constexpr int ID_AUTO_SCROLL = 1002;
constexpr int ID_SHEET_ON_TOP = 1003;
constexpr int ID_SPEED = 1004;
constexpr int ID_WALLPAPER_PATH = 1008;
constexpr int ID_WALLPAPER_BROWSE = 1009;
constexpr int ID_WALLPAPER_SHOWN = 1010;
constexpr int ID_GUIDE_LINES = 1013;
constexpr int ID_LANGUAGE = 1040;
constexpr int SPEED_OFFSET = 100;  // the trackbar's left end is 100 pixels per second

// The language list's entries, in the order of the list, as the settings file
// keeps them ("" follows the environment).
const char* const LANGUAGE_KEPT[] = {"", "ja", "en"};
constexpr texts::Id LANGUAGE_SHOWN[] = {texts::LANGUAGE_AUTO, texts::LANGUAGE_JA, texts::LANGUAGE_EN};

void fillLanguageList(DlgHandle* h) {
  int current = 0;
  for (int i = 0; i < 3; ++i) {
    dlgListAdd(h, ID_LANGUAGE, uiTextSjis(LANGUAGE_SHOWN[i]));
    if (std::strcmp(settings.language, LANGUAGE_KEPT[i]) == 0) current = i;
  }
  dlgListSetCurSel(h, ID_LANGUAGE, current);
}

// Keeps the chosen language for the next start and says so when it changed.
void keepLanguage(DlgHandle* h) {
  const int chosen = dlgListGetCurSel(h, ID_LANGUAGE);
  if (chosen < 0 || std::strcmp(settings.language, LANGUAGE_KEPT[chosen]) == 0) return;
  std::memcpy(settings.language, LANGUAGE_KEPT[chosen], std::strlen(LANGUAGE_KEPT[chosen]) + 1);
  dlgMessageBox(h, uiText(texts::LANGUAGE_NEXT_START), uiText(texts::CAPTION_NOTE), MB_OK | MB_ICONINFORMATION);
}

void fillSettingsForm(DlgHandle* h) {
  dlgCheck(h, ID_WALLPAPER_SHOWN, settings.showWallpaper);
  dlgCheck(h, ID_DEBUG, settings.showDebugInfo);
  dlgCheck(h, ID_GUIDE_LINES, settings.showGuideLines);
  dlgCheck(h, ID_SHEET_ON_TOP, settings.chipSheetOnTop);
  dlgCheck(h, ID_AUTO_SCROLL, settings.autoScroll);
  fillProgramInformation(h);
  dlgSetPath(h, ID_WALLPAPER_PATH, doc.wallpaperPath);
  dlgTrackbarSetRange(h, ID_SPEED, 0, 600);
  dlgTrackbarSetPos(h, ID_SPEED, settings.scrollSpeed - SPEED_OFFSET);
  fillLanguageList(h);
}

void confirmSettings(DlgHandle* h) {
  char path[PATH_STORE];
  if (!readPathField(h, ID_WALLPAPER_PATH, path)) return;
  const int shown = dlgIsChecked(h, ID_WALLPAPER_SHOWN);
  if (shown && !dialogServices.fileExists(path)) {
    dialogComplain(h, uiText(texts::WALLPAPER_MISSING));
    return;
  }
  sjisCopy(doc.wallpaperPath, PATH_STORE, path);
  settings.showWallpaper = shown;
  settings.showDebugInfo = dlgIsChecked(h, ID_DEBUG);
  settings.showGuideLines = dlgIsChecked(h, ID_GUIDE_LINES);
  settings.chipSheetOnTop = dlgIsChecked(h, ID_SHEET_ON_TOP);
  settings.autoScroll = dlgIsChecked(h, ID_AUTO_SCROLL);
  settings.scrollSpeed = dlgTrackbarGetPos(h, ID_SPEED) + SPEED_OFFSET;
  keepLanguage(h);
  dlgEnd(h, 1);
}

}  // namespace

int settingsDialogProc(DlgHandle* h, int event, int id, int notification) {
  if (event == DLG_INIT) {
    fillSettingsForm(h);
    return 0;
  }
  if (event != DLG_COMMAND || notification != DLGN_CLICKED) return 0;
  if (id == DLG_IDOK) {
    confirmSettings(h);
  } else if (id == DLG_IDCANCEL) {
    dlgEnd(h, 0);
  } else if (id == ID_WALLPAPER_BROWSE) {
    // The picker has already taken the file into doc.wallpaperPath; Cancel keeps it.
    if (dialogServices.chooseWallpaper()) dlgSetPath(h, ID_WALLPAPER_PATH, doc.wallpaperPath);
  }
  return 0;
}

int settingsDialog() { return dlgRun(shownTemplate(SETTINGS_TEMPLATE), settingsDialogProc) == 1 ? 1 : 0; }
