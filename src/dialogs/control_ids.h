// The controls of each dialog by name, one enum per dialog: the template,
// its procedure and the tests all name a control from here. The numbers are
// the ones the dialogs have always had, and they repeat between dialogs (the
// start-up dialog's 1007 is the open-map button, the attribute dialog's the
// value list), so a control is only ever named with its dialog's prefix.
// OK and Cancel are DLG_OK_BUTTON and DLG_CANCEL_BUTTON in every dialog.
#pragma once

// The information block the start-up and settings dialogs share.
enum ProgramInfoControl : int {
  INFO_VERSION = 1012,
  INFO_PROJECT = 1032,
  INFO_KIND = 1033,
};

enum StartupControl : int {
  STARTUP_CONVERT = 3,
  STARTUP_DEBUG = 1001,
  STARTUP_WALLPAPER_SHOWN = 1002,
  STARTUP_NEW_MAP = 1006,
  STARTUP_OPEN_MAP = 1007,
  STARTUP_CHIP_PATH = 1008,
  STARTUP_CHIP_BROWSE = 1009,
  STARTUP_MAP_PATH = 1010,
  STARTUP_MAP_BROWSE = 1011,
  STARTUP_WALLPAPER_PATH = 1013,
  STARTUP_WALLPAPER_BROWSE = 1014,
};

// The four lists are consecutive: the procedure keeps one opening entry each.
enum MapSizeControl : int {
  MAPSIZE_CELLS_X = 1000,
  MAPSIZE_CELLS_Y = 1001,
  MAPSIZE_CHIP_W = 1002,
  MAPSIZE_CHIP_H = 1003,
  MAPSIZE_PIXELS_X = 1006,
  MAPSIZE_PIXELS_Y = 1007,
};

enum SettingsControl : int {
  SETTINGS_DEBUG = 1001,
  SETTINGS_AUTO_SCROLL = 1002,
  SETTINGS_SHEET_ON_TOP = 1003,
  SETTINGS_SPEED = 1004,
  SETTINGS_WALLPAPER_PATH = 1008,
  SETTINGS_WALLPAPER_BROWSE = 1009,
  SETTINGS_WALLPAPER_SHOWN = 1010,
  SETTINGS_GUIDE_LINES = 1013,
  SETTINGS_DISPLAY_CANVAS = 1014,
  SETTINGS_SHARP_FIT = 1015,
  SETTINGS_LANGUAGE = 1040,
};

enum AttributeControl : int {
  ATTRIBUTE_LIST = 1007,
  ATTRIBUTE_TYPED = 1008,  // the number field beside the list
};
