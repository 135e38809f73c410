// Texts for the user, in one place, so that a second language has one file to
// follow (UTF-8 here: message boxes take UTF-8, the screen's text queue takes
// Shift_JIS through SJIS()). They live with the dialogs, the lowest folder
// that shows text, so the dialogs and the editor above them share them.
#pragma once

namespace texts {
constexpr const char* CAPTION_HUH = "はて？";
constexpr const char* SHEET_MISSING = "ＢＭＰファイルがみつからないよー";
constexpr const char* SHEET_UNREADABLE = "ＢＭＰファイルが読めないよー";
constexpr const char* MAP_SAVE_FAILED = "マップファイル書き込みに失敗。";
// The chip sheet changed on disk into something that cannot be decoded.
constexpr const char* SHEET_CHANGED_UNREADABLE =
    "チップの画像が書きかわったけど、読めないよー。\nいままでのチップをそのまま使うね。";
// The attribute dialog's number field holds no number from 0 to 999.
constexpr const char* ATTRIBUTE_OUT_OF_RANGE = "属性は 0 から 999 までの数で入れてね。";
// The map window's status after a chip replace: the hover position in map
// pixels, then how many cells took the brush's chip.
constexpr const char* REPLACED_STATUS = "[%d,%d] %dマスおきかえたよ";
// The map window's zoom on its title line.
constexpr const char* ZOOM_DOUBLE = "×2";
constexpr const char* ZOOM_ONE = "×1";
constexpr const char* ZOOM_HALF = "×1/2";
constexpr const char* ZOOM_QUARTER = "×1/4";
// The map window's status in attribute mode below 1:1, where the values show
// as colours: the hover position in map pixels and the value there.
constexpr const char* ATTRIBUTE_STATUS = "[%d,%d] 属性%d";
}  // namespace texts
