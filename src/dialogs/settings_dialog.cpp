// The settings dialog: display options, the wallpaper and the scroll speed.
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "map/map.h"
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
constexpr int SPEED_OFFSET = 100;  // the trackbar's left end is 100 pixels per second

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
}

void confirmSettings(DlgHandle* h) {
  char path[PATH_STORE];
  if (!readPathField(h, ID_WALLPAPER_PATH, path)) return;
  const int shown = dlgIsChecked(h, ID_WALLPAPER_SHOWN);
  if (shown && !dialogServices.fileExists(path)) {
    dialogComplain(h, "壁紙がみあたらないよー");
    return;
  }
  sjisCopy(doc.wallpaperPath, PATH_STORE, path);
  settings.showWallpaper = shown;
  settings.showDebugInfo = dlgIsChecked(h, ID_DEBUG);
  settings.showGuideLines = dlgIsChecked(h, ID_GUIDE_LINES);
  settings.chipSheetOnTop = dlgIsChecked(h, ID_SHEET_ON_TOP);
  settings.autoScroll = dlgIsChecked(h, ID_AUTO_SCROLL);
  settings.scrollSpeed = dlgTrackbarGetPos(h, ID_SPEED) + SPEED_OFFSET;
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

int settingsDialog() { return dlgRun(SETTINGS_TEMPLATE, settingsDialogProc) == 1 ? 1 : 0; }
