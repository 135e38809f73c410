// The settings dialog: display options, the wallpaper and the scroll speed.
#include "dialogs/control_ids.h"
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "map/map.h"
#include "platform/sjis.h"
#include "settings/settings.h"

namespace {

constexpr int SPEED_OFFSET = 100;  // the trackbar's left end is 100 pixels per second

void fillSettingsForm(DlgHandle* h) {
  dlgCheck(h, SETTINGS_WALLPAPER_SHOWN, settings.showWallpaper);
  dlgCheck(h, SETTINGS_DEBUG, settings.showDebugInfo);
  dlgCheck(h, SETTINGS_GUIDE_LINES, settings.showGuideLines);
  dlgCheck(h, SETTINGS_SHEET_ON_TOP, settings.chipSheetOnTop);
  dlgCheck(h, SETTINGS_AUTO_SCROLL, settings.autoScroll);
  fillProgramInformation(h);
  dlgSetText(h, SETTINGS_WALLPAPER_PATH, doc.wallpaperPath);
  dlgTrackbarSetRange(h, SETTINGS_SPEED, 0, 600);
  dlgTrackbarSetPos(h, SETTINGS_SPEED, settings.scrollSpeed - SPEED_OFFSET);
}

void confirmSettings(DlgHandle* h) {
  char path[PATH_STORE];
  if (!readPathField(h, SETTINGS_WALLPAPER_PATH, path)) return;
  const int shown = dlgIsChecked(h, SETTINGS_WALLPAPER_SHOWN);
  if (shown && !dialogServices.fileExists(path)) {
    dialogComplain(h, "壁紙がみあたらないよー");
    return;
  }
  sjisCopy(doc.wallpaperPath, PATH_STORE, path);
  settings.showWallpaper = shown;
  settings.showDebugInfo = dlgIsChecked(h, SETTINGS_DEBUG);
  settings.showGuideLines = dlgIsChecked(h, SETTINGS_GUIDE_LINES);
  settings.chipSheetOnTop = dlgIsChecked(h, SETTINGS_SHEET_ON_TOP);
  settings.autoScroll = dlgIsChecked(h, SETTINGS_AUTO_SCROLL);
  settings.scrollSpeed = dlgTrackbarGetPos(h, SETTINGS_SPEED) + SPEED_OFFSET;
  dlgEnd(h, 1);
}

}  // namespace

int settingsDialogProc(DlgHandle* h, void*, int event, int id, int notification) {
  if (event == DLG_INIT) {
    fillSettingsForm(h);
    return 0;
  }
  if (event != DLG_COMMAND || notification != DLGN_CLICKED) return 0;
  if (id == DLG_IDOK) {
    confirmSettings(h);
  } else if (id == DLG_IDCANCEL) {
    dlgEnd(h, 0);
  } else if (id == SETTINGS_WALLPAPER_BROWSE) {
    // The picker has already taken the file into doc.wallpaperPath; Cancel keeps it.
    if (dialogServices.chooseWallpaper()) dlgSetText(h, SETTINGS_WALLPAPER_PATH, doc.wallpaperPath);
  }
  return 0;
}

int settingsDialog() { return dlgRun(SETTINGS_TEMPLATE, settingsDialogProc) == 1 ? 1 : 0; }
