// The dialog templates as data. Positions and sizes are dialog units.
#include "dialogs/templates.h"

namespace {

constexpr const char* DIALOG_FONT = "ＭＳ Ｐゴシック";
constexpr int RO_CENTRED = DLG_EDIT_READONLY | DLG_EDIT_CENTRE;
constexpr int PATH_FIELD = DLG_EDIT_BORDER | DLG_EDIT_AUTOSCROLL;

const DlgControl startupControls[] = {
    {1, DLG_DEFPUSH, 0, "OK", 170, 159, 40, 14},
    {2, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 170, 175, 40, 14},
    {1006, DLG_RADIO, 0, "新規作成", 10, 14, 43, 10},
    {1007, DLG_RADIO, 0, "ファイルを開く", 10, 24, 50, 10},
    {1010, DLG_EDIT, PATH_FIELD, "", 10, 35, 165, 12},
    {1011, DLG_PUSH, 0, "参照", 180, 34, 25, 13},
    {1008, DLG_EDIT, DLG_EDIT_BORDER, "", 10, 67, 165, 12},
    {1009, DLG_PUSH, 0, "参照", 180, 67, 25, 13},
    {1002, DLG_CHECK, 0, "壁紙表示", 10, 101, 40, 10},
    {1013, DLG_EDIT, DLG_EDIT_BORDER, "", 50, 100, 125, 12},
    {1014, DLG_PUSH, 0, "参照", 180, 100, 25, 13},
    {1001, DLG_CHECK, 0, "デバッグ情報", 10, 115, 55, 10},
    {1032, DLG_EDIT, RO_CENTRED, "", 10, 166, 110, 10},
    {1033, DLG_EDIT, RO_CENTRED, "", 10, 176, 110, 10},
    {DLG_NO_ID, DLG_GROUP, 0, "せってい", 5, 90, 205, 40},
    {DLG_NO_ID, DLG_ICON, 0, "", 10, 140, 20, 20},
    {DLG_NO_ID, DLG_GROUP, 0, "", 5, 130, 120, 60},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot2D", 35, 140, 42, 8},
    {1012, DLG_STATIC, 0, "", 80, 140, 37, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot developers", 35, 150, 86, 8},
    {DLG_NO_ID, DLG_GROUP, 0, "マップファイル", 5, 5, 205, 45},
    {DLG_NO_ID, DLG_GROUP, 0, "画像ファイル", 5, 55, 205, 30},
    {3, DLG_PUSH, 0, "過去ファイルコンバート", 130, 135, 80, 15},
};

const DlgControl mapSizeControls[] = {
    {1, DLG_DEFPUSH, 0, "OK", 40, 75, 50, 14},
    {2, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 105, 75, 50, 14},
    {1000, DLG_COMBO, 0, "", 25, 20, 35, 188},
    {1001, DLG_COMBO, 0, "", 25, 40, 35, 189},
    {1002, DLG_COMBO, 0, "", 95, 20, 35, 84},
    {1003, DLG_COMBO, 0, "", 95, 40, 35, 86},
    {DLG_NO_ID, DLG_GROUP, 0, "チップサイズ", 75, 5, 66, 55},
    {DLG_NO_ID, DLG_GROUP, 0, "チップ数", 4, 5, 66, 55},
    {DLG_NO_ID, DLG_STATIC, 0, "Ｘ：", 13, 22, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Y：", 13, 42, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Ｘ：", 83, 22, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Y：", 83, 42, 9, 8},
    {DLG_NO_ID, DLG_GROUP, 0, "大きさ", 144, 5, 52, 55},
    {1006, DLG_STATIC, 0, "640", 165, 23, 25, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Ｘ：", 152, 23, 9, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Y：", 152, 38, 9, 8},
    {1007, DLG_STATIC, 0, "480", 165, 38, 25, 8},
};

const DlgControl settingsControls[] = {
    {1, DLG_DEFPUSH, 0, "OK", 155, 110, 45, 14},
    {2, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 155, 125, 45, 14},
    {1013, DLG_CHECK, 0, "ガイドライン表示", 5, 10, 63, 10},
    {1003, DLG_CHECK, 0, "ＢＭＰを常に手前に", 5, 20, 71, 10},
    {1002, DLG_CHECK, 0, "オートスクロール", 5, 30, 65, 10},
    {1001, DLG_CHECK, 0, "デバッグ情報", 5, 45, 55, 10},
    {1010, DLG_CHECK, 0, "壁紙表示", 5, 55, 43, 10},
    {1004, DLG_TRACKBAR, 0, "", 85, 15, 110, 13},
    {1008, DLG_EDIT, PATH_FIELD, "", 15, 65, 155, 12},
    {1009, DLG_PUSH, 0, "参照", 175, 65, 25, 13},
    {1032, DLG_EDIT, RO_CENTRED, "", 10, 116, 110, 10},
    {1033, DLG_EDIT, RO_CENTRED, "", 10, 126, 110, 10},
    {DLG_NO_ID, DLG_ICON, 0, "", 10, 90, 18, 21},
    {DLG_NO_ID, DLG_GROUP, 0, "", 5, 80, 120, 60},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot2D", 35, 90, 42, 8},
    {1012, DLG_STATIC, 0, "", 80, 90, 37, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "Brindlecot developers", 35, 100, 86, 8},
    {DLG_NO_ID, DLG_GROUP, 0, "スクロールスピード", 80, 5, 120, 35},
    {DLG_NO_ID, DLG_STATIC, 0, "遅め", 85, 29, 15, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "早め", 180, 29, 15, 8},
    {DLG_NO_ID, DLG_STATIC, 0, "標準", 133, 29, 15, 10},
    {DLG_NO_ID, DLG_STATIC, 0, "ことば", 85, 46, 36, 8},
    {1040, DLG_COMBO, 0, "", 122, 44, 78, 50},
};

// The number field comes first, so that it has the keyboard when the dialog
// opens: typing 1 then 2 chooses 12, Return confirms.
const DlgControl attributeControls[] = {
    {1008, DLG_EDIT, DLG_EDIT_BORDER | DLG_EDIT_CENTRE, "", 5, 10, 22, 13},
    {1, DLG_DEFPUSH, 0, "OK", 5, 30, 35, 15},
    {2, DLG_PUSH, 0, "ｷｬﾝｾﾙ", 45, 30, 35, 15},
    {1007, DLG_COMBO, 0, "", 30, 10, 30, 194},
};

template <int N>
constexpr int count(const DlgControl (&)[N]) { return N; }

}  // namespace

const DlgTemplate STARTUP_TEMPLATE = {105, "Brindlecot2D", 215, 195, DLG_PLACE_CENTRED, 1,
                                      DIALOG_FONT, 9, startupControls, count(startupControls)};
const DlgTemplate MAP_SIZE_TEMPLATE = {102, "マップサイズ", 199, 93, DLG_PLACE_AT_POINTER, 0,
                                       DIALOG_FONT, 9, mapSizeControls, count(mapSizeControls)};
const DlgTemplate SETTINGS_TEMPLATE = {110, "小手先の設定", 203, 145, DLG_PLACE_AT_POINTER, 1,
                                       DIALOG_FONT, 9, settingsControls, count(settingsControls)};
const DlgTemplate ATTRIBUTE_TEMPLATE = {112, "属性を入力してね。", 83, 49, DLG_PLACE_AT_POINTER, 1,
                                        DIALOG_FONT, 9, attributeControls, count(attributeControls)};
