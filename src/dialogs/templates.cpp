// The dialog templates as data. Positions and sizes are dialog units.
#include "dialogs/templates.h"

#include "dialogs/control_ids.h"

namespace {

constexpr const char* DIALOG_FONT = "ＭＳ Ｐゴシック";
constexpr int RO_CENTRED = DLG_EDIT_READONLY | DLG_EDIT_CENTRE;
constexpr int PATH_FIELD = DLG_EDIT_BORDER | DLG_EDIT_AUTOSCROLL;

const DlgControl startupControls[] = {
    {DLG_OK_BUTTON, DLG_DEFPUSH, 0, "OK", 170, 159, 40, 14},
    {DLG_CANCEL_BUTTON, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 170, 175, 40, 14},
    {STARTUP_NEW_MAP, DLG_RADIO, 0, "新規作成", 10, 14, 43, 10},
    {STARTUP_OPEN_MAP, DLG_RADIO, 0, "ファイルを開く", 10, 24, 50, 10},
    {STARTUP_MAP_PATH, DLG_EDIT, PATH_FIELD, "", 10, 35, 165, 12},
    {STARTUP_MAP_BROWSE, DLG_PUSH, 0, "参照", 180, 34, 25, 13},
    {STARTUP_CHIP_PATH, DLG_EDIT, DLG_EDIT_BORDER, "", 10, 67, 165, 12},
    {STARTUP_CHIP_BROWSE, DLG_PUSH, 0, "参照", 180, 67, 25, 13},
    {STARTUP_WALLPAPER_SHOWN, DLG_CHECK, 0, "壁紙表示", 10, 101, 40, 10},
    {STARTUP_WALLPAPER_PATH, DLG_EDIT, DLG_EDIT_BORDER, "", 50, 100, 125, 12},
    {STARTUP_WALLPAPER_BROWSE, DLG_PUSH, 0, "参照", 180, 100, 25, 13},
    {STARTUP_DEBUG, DLG_CHECK, 0, "デバッグ情報", 10, 115, 55, 10},
    {INFO_PROJECT, DLG_EDIT, RO_CENTRED, "", 10, 166, 110, 10},
    {INFO_KIND, DLG_EDIT, RO_CENTRED, "", 10, 176, 110, 10},
    {DLG_NO_ID, DLG_GROUP, 0, "せってい", 5, 90, 205, 40},
    {DLG_NO_ID, DLG_ICON, 0, "", 10, 140, 20, 20},
    {DLG_NO_ID, DLG_GROUP, 0, "", 5, 130, 120, 60},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot2D", 35, 140, 42, 8},
    {INFO_VERSION, DLG_STATIC, 0, "", 80, 140, 37, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot developers", 35, 150, 86, 8},
    {DLG_NO_ID, DLG_GROUP, 0, "マップファイル", 5, 5, 205, 45},
    {DLG_NO_ID, DLG_GROUP, 0, "画像ファイル", 5, 55, 205, 30},
    {STARTUP_CONVERT, DLG_PUSH, 0, "過去ファイルコンバート", 130, 135, 80, 15},
};

const DlgControl mapSizeControls[] = {
    {DLG_OK_BUTTON, DLG_DEFPUSH, 0, "OK", 40, 75, 50, 14},
    {DLG_CANCEL_BUTTON, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 105, 75, 50, 14},
    {MAPSIZE_CELLS_X, DLG_COMBO, 0, "", 25, 20, 35, 188},
    {MAPSIZE_CELLS_Y, DLG_COMBO, 0, "", 25, 40, 35, 189},
    {MAPSIZE_CHIP_W, DLG_COMBO, 0, "", 95, 20, 35, 84},
    {MAPSIZE_CHIP_H, DLG_COMBO, 0, "", 95, 40, 35, 86},
    {DLG_NO_ID, DLG_GROUP, 0, "チップサイズ", 75, 5, 66, 55},
    {DLG_NO_ID, DLG_GROUP, 0, "チップ数", 4, 5, 66, 55},
    {DLG_NO_ID, DLG_STATIC, 0, "Ｘ：", 13, 22, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Y：", 13, 42, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Ｘ：", 83, 22, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Y：", 83, 42, 9, 8},
    {DLG_NO_ID, DLG_GROUP, 0, "大きさ", 144, 5, 52, 55},
    {MAPSIZE_PIXELS_X, DLG_STATIC, 0, "640", 165, 23, 25, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Ｘ：", 152, 23, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Y：", 152, 38, 9, 8},
    {MAPSIZE_PIXELS_Y, DLG_STATIC, 0, "480", 165, 38, 25, 8},
};

const DlgControl settingsControls[] = {
    {DLG_OK_BUTTON, DLG_DEFPUSH, 0, "OK", 155, 136, 45, 14},
    {DLG_CANCEL_BUTTON, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 155, 151, 45, 14},
    {SETTINGS_GUIDE_LINES, DLG_CHECK, 0, "ガイドライン表示", 5, 10, 63, 10},
    {SETTINGS_SHEET_ON_TOP, DLG_CHECK, 0, "ＢＭＰを常に手前に", 5, 20, 71, 10},
    {SETTINGS_AUTO_SCROLL, DLG_CHECK, 0, "オートスクロール", 5, 30, 65, 10},
    {SETTINGS_DEBUG, DLG_CHECK, 0, "デバッグ情報", 5, 45, 55, 10},
    {SETTINGS_DISPLAY_CANVAS, DLG_CHECK, 0, "画面いっぱい（次回から）", 85, 57, 115, 10},
    {SETTINGS_SHARP_FIT, DLG_CHECK, 0, "くっきり拡大", 85, 67, 60, 10},
    {SETTINGS_WALLPAPER_SHOWN, DLG_CHECK, 0, "壁紙表示", 5, 80, 43, 10},
    {SETTINGS_SPEED, DLG_TRACKBAR, 0, "", 85, 15, 110, 13},
    {SETTINGS_WALLPAPER_PATH, DLG_EDIT, PATH_FIELD, "", 15, 91, 155, 12},
    {SETTINGS_WALLPAPER_BROWSE, DLG_PUSH, 0, "参照", 175, 91, 25, 13},
    {INFO_PROJECT, DLG_EDIT, RO_CENTRED, "", 10, 142, 110, 10},
    {INFO_KIND, DLG_EDIT, RO_CENTRED, "", 10, 152, 110, 10},
    {DLG_NO_ID, DLG_ICON, 0, "", 10, 116, 18, 21},
    {DLG_NO_ID, DLG_GROUP, 0, "", 5, 106, 120, 60},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot2D", 35, 116, 42, 8},
    {INFO_VERSION, DLG_STATIC, 0, "", 80, 116, 37, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot developers", 35, 126, 86, 8},
    {DLG_NO_ID, DLG_GROUP, 0, "スクロールスピード", 80, 5, 120, 35},
    {DLG_NO_ID, DLG_STATIC, 0, "遅め", 85, 29, 15, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "早め", 180, 29, 15, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "標準", 133, 29, 15, 10},
    {DLG_NO_ID, DLG_STATIC, 0, "ことば", 85, 46, 36, 8},
    {SETTINGS_LANGUAGE, DLG_COMBO, 0, "", 122, 44, 78, 50},
};

// The number field comes first, so that it has the keyboard when the dialog
// opens: typing 1 then 2 chooses 12, Return confirms.
const DlgControl attributeControls[] = {
    {ATTRIBUTE_TYPED, DLG_EDIT, DLG_EDIT_BORDER | DLG_EDIT_CENTRE, "", 5, 10, 22, 13},
    {DLG_OK_BUTTON, DLG_DEFPUSH, 0, "OK", 5, 30, 35, 15},
    {DLG_CANCEL_BUTTON, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 45, 30, 35, 15},
    {ATTRIBUTE_LIST, DLG_COMBO, 0, "", 30, 10, 30, 194},
};

template <int N>
constexpr int count(const DlgControl (&)[N]) { return N; }

}  // namespace

const DlgTemplate STARTUP_TEMPLATE = {105, "Brindlecot2D", 215, 195, DLG_PLACE_CENTRED, 1,
                                      DIALOG_FONT, 9, startupControls, count(startupControls)};
const DlgTemplate MAP_SIZE_TEMPLATE = {102, "マップサイズ", 199, 93, DLG_PLACE_AT_POINTER, 0,
                                       DIALOG_FONT, 9, mapSizeControls, count(mapSizeControls)};
const DlgTemplate SETTINGS_TEMPLATE = {110, "小手先の設定", 203, 171, DLG_PLACE_AT_POINTER, 1,
                                       DIALOG_FONT, 9, settingsControls, count(settingsControls)};
const DlgTemplate ATTRIBUTE_TEMPLATE = {112, "属性を入力してね。", 83, 49, DLG_PLACE_AT_POINTER, 1,
                                        DIALOG_FONT, 9, attributeControls, count(attributeControls)};
