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

// Unsaved changes, files that cannot be read, recovery after an editor that
// ended without quitting.

// Captions.
constexpr const char* CAPTION_ASK = "いいのかな？";

// The mark beside the map window's title, the preview's clock and the main
// window's title while the map has unsaved changes.
constexpr const char* UNSAVED_MARK = "＊";
constexpr const char* WINDOW_TITLE = "Brindlecot";
constexpr const char* WINDOW_TITLE_UNSAVED = "Brindlecot *";

// The name a map without a file goes by in the questions.
constexpr const char* NEW_MAP = "新規マップ";
// Quitting or opening another map over unsaved changes; %s is the map's file
// name or NEW_MAP.
constexpr const char* QUIT_UNSAVED = "「%s」はセーブしてないよ。\nセーブしてからおわる？";
constexpr const char* LOAD_UNSAVED = "「%s」はセーブしてないよ。\nセーブしてからほかのマップをひらく？";
constexpr const char* ANSWER_SAVE_QUIT = "セーブしておわる";
constexpr const char* ANSWER_DISCARD_QUIT = "セーブしないでおわる";
constexpr const char* ANSWER_SAVE_LOAD = "セーブしてからひらく";
constexpr const char* ANSWER_DISCARD_LOAD = "セーブしないでひらく";
constexpr const char* ANSWER_CANCEL = "やめる";

// On stderr when the editor is started without a display it can reach.
constexpr const char* NO_DISPLAY = "Brindlecot: 画面（ディスプレイ）につながらないので起動できません。DISPLAY を確かめてね。";

// At start-up, for each copy left by an editor that ended without quitting:
// %s is the map's file name (or NEW_MAP), then the copy's date and time.
constexpr const char* RECOVERY_OFFER =
    "前回セーブしないまま終わったマップ「%s」がのこっています（%s）。\nもどして続きからはじめる？";
constexpr const char* RECOVERY_TIME = "%d年%d月%d日 %d時%02d分";
constexpr const char* ANSWER_RESTORE = "もどす";
constexpr const char* ANSWER_DISCARD = "すてる";
constexpr const char* RECOVERY_DISCARD_SURE = "ほんとうにすてちゃう？\nすてたマップはもどせないよ。";
constexpr const char* ANSWER_KEEP_FOR_LATER = "のこしておく";
constexpr const char* RECOVERY_FAILED = "のこっていたマップが読めなかったよー";

// Files.
constexpr const char* MAP_UNREADABLE = "マップファイルが読めないよー";
constexpr const char* LOAD_FAILED = "マップファイルが読めないよー\nいまのマップはそのままだよ。";

// The map window's zoom on its title line.
constexpr const char* ZOOM_DOUBLE = "×2";
constexpr const char* ZOOM_ONE = "×1";
constexpr const char* ZOOM_HALF = "×1/2";
constexpr const char* ZOOM_QUARTER = "×1/4";
// The map window's status in attribute mode below 1:1, where the values show
// as colours: the hover position in map pixels and the value there.
constexpr const char* ATTRIBUTE_STATUS = "[%d,%d] 属性%d";
// File names: the system's UTF-8 is kept; a name that is not valid UTF-8 names
// no file the program can use.
constexpr const char* FILE_NAME_UNUSABLE = "そのファイル名はつかえないよー";
constexpr const char* WORKDIR_NOT_UTF8 = "作業フォルダの名前が UTF-8 になっていなくて使えません。ほかの場所から起動してね。";
constexpr const char* WORKDIR_TOO_LONG = "作業フォルダの場所が長すぎて使えません。もっと短い場所から起動してね。";
// A map was saved naming a chip sheet whose name Shift_JIS cannot hold: the
// map file then holds the name escaped, which older programs cannot follow.
constexpr const char* SHEET_NAME_ESCAPED =
    "チップの画像の名前は Shift_JIS で書けないよ。\nマップには utf8: の形で入れておくね。\n"
    "ほかのツールで開くなら、画像の名前を変えてね。";
}  // namespace texts
