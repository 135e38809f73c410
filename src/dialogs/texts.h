// The texts of the program's questions and reports about the user's work:
// unsaved changes, files that cannot be read, recovery after an editor that
// ended without quitting. UTF-8 here; what is drawn on the screen goes through
// SJIS(). Kept together so that a second language is one more table.
#pragma once

// Captions.
constexpr const char* TEXT_CAPTION_ASK = "いいのかな？";
constexpr const char* TEXT_CAPTION_HUH = "はて？";

// The mark beside the map window's title, the preview's clock and the main
// window's title while the map has unsaved changes.
constexpr const char* TEXT_UNSAVED_MARK = "＊";
constexpr const char* TEXT_WINDOW_TITLE = "Brindlecot";
constexpr const char* TEXT_WINDOW_TITLE_UNSAVED = "Brindlecot *";

// The name a map without a file goes by in the questions.
constexpr const char* TEXT_NEW_MAP = "新規マップ";
// Quitting or opening another map over unsaved changes; %s is the map's file
// name or TEXT_NEW_MAP.
constexpr const char* TEXT_QUIT_UNSAVED = "「%s」はセーブしてないよ。\nセーブしてからおわる？";
constexpr const char* TEXT_LOAD_UNSAVED = "「%s」はセーブしてないよ。\nセーブしてからほかのマップをひらく？";
constexpr const char* TEXT_ANSWER_SAVE_QUIT = "セーブしておわる";
constexpr const char* TEXT_ANSWER_DISCARD_QUIT = "セーブしないでおわる";
constexpr const char* TEXT_ANSWER_SAVE_LOAD = "セーブしてからひらく";
constexpr const char* TEXT_ANSWER_DISCARD_LOAD = "セーブしないでひらく";
constexpr const char* TEXT_ANSWER_CANCEL = "やめる";

// On stderr when the editor is started without a display it can reach.
constexpr const char* TEXT_NO_DISPLAY = "Brindlecot: 画面（ディスプレイ）につながらないので起動できません。DISPLAY を確かめてね。";

// At start-up, for each copy left by an editor that ended without quitting:
// %s is the map's file name (or TEXT_NEW_MAP), then the copy's date and time.
constexpr const char* TEXT_RECOVERY_OFFER =
    "前回セーブしないまま終わったマップ「%s」がのこっています（%s）。\nもどして続きからはじめる？";
constexpr const char* TEXT_RECOVERY_TIME = "%d年%d月%d日 %d時%02d分";
constexpr const char* TEXT_ANSWER_RESTORE = "もどす";
constexpr const char* TEXT_ANSWER_DISCARD = "すてる";
constexpr const char* TEXT_RECOVERY_DISCARD_SURE = "ほんとうにすてちゃう？\nすてたマップはもどせないよ。";
constexpr const char* TEXT_ANSWER_KEEP_FOR_LATER = "のこしておく";
constexpr const char* TEXT_RECOVERY_FAILED = "のこっていたマップが読めなかったよー";

// Files.
constexpr const char* TEXT_MAP_UNREADABLE = "マップファイルが読めないよー";
constexpr const char* TEXT_LOAD_FAILED = "マップファイルが読めないよー\nいまのマップはそのままだよ。";
constexpr const char* TEXT_SHEET_UNREADABLE = "ＢＭＰファイルが読めないよー";
constexpr const char* TEXT_SAVE_FAILED = "マップファイル書き込みに失敗。";
