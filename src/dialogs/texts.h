// Texts for the user, in one place and in both languages: each row names a
// text, then gives it in Japanese (the program's own language and its
// default) and in English. They live with the dialogs, the lowest folder that
// shows text, so the dialogs and the editor above them share them.
//
// uiText(id) gives the chosen language's text in UTF-8 (message boxes, window
// titles, choosers); uiTextSjis(id) the same in Shift_JIS for the screen's text
// queue, converted once for the whole table when first asked, so a frame that
// draws a text only reads a pointer.
#pragma once

struct DlgTemplate;

// clang-format off
#define BRINDLE_TEXTS(X) \
  /* Captions of message boxes. */ \
  X(CAPTION_HUH, "はて？", "Hmm?") \
  X(CAPTION_ASK, "いいのかな？", "Are you sure?") \
  X(CAPTION_SORRY, "ごめんね", "Sorry") \
  /* Chip sheets and map files. */ \
  X(SHEET_MISSING, "ＢＭＰファイルがみつからないよー", "Can't find the BMP file!") \
  X(SHEET_UNREADABLE, "ＢＭＰファイルが読めないよー", "Can't read the BMP file!") \
  X(SHEET_NOT_THERE, "ＢＭＰファイルがないよー", "There's no BMP file there!") \
  /* The chip sheet changed on disk into something that cannot be decoded. */ \
  X(SHEET_CHANGED_UNREADABLE, "チップの画像が書きかわったけど、読めないよー。\nいままでのチップをそのまま使うね。", \
    "The chip picture changed, but it can't be read.\nI'll keep using the chips I have.") \
  X(WALLPAPER_MISSING, "壁紙がみあたらないよー", "Can't find the wallpaper!") \
  X(MAP_NOT_THERE, "マップファイルがないよー", "There's no map file there!") \
  X(MAP_UNREADABLE, "マップファイルが読めないよー", "Can't read the map file!") \
  X(LOAD_FAILED, "マップファイルが読めないよー\nいまのマップはそのままだよ。", \
    "Can't read the map file!\nThe map you have stays as it is.") \
  X(MAP_OPEN_FAILED, "マップファイル開けませんでした。", "Couldn't open the map file.") \
  X(MAP_SAVE_FAILED, "マップファイル書き込みに失敗。", "Couldn't write the map file.") \
  X(NAME_UNUSABLE, "そのファイル名はつかえないよー", "That file name can't be used!") \
  /* A map was saved naming a chip sheet whose name Shift_JIS cannot hold: \
     the map file holds the name escaped, which other programs cannot follow. */ \
  X(SHEET_NAME_ESCAPED, "チップの画像の名前は Shift_JIS で書けないよ。\nマップには utf8: の形で入れておくね。\n" \
    "ほかのツールで開くなら、画像の名前を変えてね。", \
    "The chip picture's name can't be written in Shift_JIS.\nThe map holds it in the utf8: form.\n" \
    "Rename the picture to open the map in other tools.") \
  /* The file choosers: title, then the filter's label. */ \
  X(PICK_SHEET, "ＢＭＰファイル？", "Which BMP file?") \
  X(PICK_SHEET_FILTER, "ＢＭＰファイル[*.bmp]", "BMP files") \
  X(PICK_MAP, "マップファイル？", "Which map file?") \
  X(PICK_MAP_SAVE, "どれにセーブする？", "Save it where?") \
  X(PICK_MAP_FILTER, "マップファイル[*.bct]", "Map files") \
  /* The dialogs' own complaints. */ \
  X(ATTRIBUTE_OUT_OF_RANGE, "属性は 0 から 999 までの数で入れてね。", "Type an attribute from 0 to 999.") \
  X(CHOOSE_CHIP_SIZE, "チップサイズをえらんでね", "Pick a chip size.") \
  /* The map window's status after a chip replace: the hover position in map \
     pixels, then how many cells took the brush's chip. */ \
  X(REPLACED_STATUS, "[%d,%d] %dマスおきかえたよ", "[%d,%d] replaced %d cells") \
  /* The map window's status in attribute mode below 1:1: the hover \
     position in map pixels and the value there. */ \
  X(ATTRIBUTE_STATUS, "[%d,%d] 属性%d", "[%d,%d] attr %d") \
  /* The map window's zoom on its title line. */ \
  X(ZOOM_DOUBLE, "×2", "x2") \
  X(ZOOM_ONE, "×1", "x1") \
  X(ZOOM_HALF, "×1/2", "x1/2") \
  X(ZOOM_QUARTER, "×1/4", "x1/4") \
  /* The clock at the bottom right: year, month, day, hour, minute, second. */ \
  X(CLOCK, "%4d年%2d月%2d日%2d時%2d分%2d秒", "%4d-%02d-%02d %02d:%02d:%02d") \
  /* The F4 overlay's labels of the keys down and of the mouse's motion. */ \
  X(DEBUG_KEYS, "キーボード:", "keys:") \
  X(DEBUG_MOUSE, "まうす:", "mouse:") \
  /* The mark beside the map window's title, the preview's clock and the \
     main window's title while the map has unsaved changes. */ \
  X(UNSAVED_MARK, "＊", "*") \
  X(WINDOW_TITLE, "Brindlecot", "Brindlecot") \
  X(WINDOW_TITLE_UNSAVED, "Brindlecot *", "Brindlecot *") \
  /* The name a map without a file goes by in the questions. */ \
  X(NEW_MAP, "新規マップ", "new map") \
  /* Quitting or opening another map over unsaved changes; %s is the map's \
     file name or NEW_MAP. */ \
  X(QUIT_SURE, "おわっちゃうよ？", "Quit now?") \
  X(QUIT_UNSAVED, "「%s」はセーブしてないよ。\nセーブしてからおわる？", "\"%s\" isn't saved yet.\nSave it before you quit?") \
  X(LOAD_UNSAVED, "「%s」はセーブしてないよ。\nセーブしてからほかのマップをひらく？", \
    "\"%s\" isn't saved yet.\nSave it before opening another map?") \
  X(ANSWER_SAVE_QUIT, "セーブしておわる", "Save and quit") \
  X(ANSWER_DISCARD_QUIT, "セーブしないでおわる", "Quit without saving") \
  X(ANSWER_SAVE_LOAD, "セーブしてからひらく", "Save, then open") \
  X(ANSWER_DISCARD_LOAD, "セーブしないでひらく", "Open without saving") \
  X(ANSWER_CANCEL, "やめる", "Cancel") \
  /* At start-up, for each copy left by an editor that ended without \
     quitting: %s is the map's file name (or NEW_MAP), then the copy's date \
     and time (year, month, day, hour, minute). */ \
  X(RECOVERY_OFFER, "前回セーブしないまま終わったマップ「%s」がのこっています（%s）。\nもどして続きからはじめる？", \
    "The map \"%s\" was left unsaved last time (%s).\nBring it back and carry on?") \
  X(RECOVERY_TIME, "%d年%d月%d日 %d時%02d分", "%d-%02d-%02d %d:%02d") \
  X(ANSWER_RESTORE, "もどす", "Bring it back") \
  X(ANSWER_DISCARD, "すてる", "Throw it away") \
  X(RECOVERY_DISCARD_SURE, "ほんとうにすてちゃう？\nすてたマップはもどせないよ。", \
    "Really throw it away?\nA thrown-away map can't come back.") \
  X(ANSWER_KEEP_FOR_LATER, "のこしておく", "Keep it for later") \
  X(RECOVERY_FAILED, "のこっていたマップが読めなかったよー", "Couldn't read the map that was left!") \
  /* Start-up failures; the program ends after each. */ \
  X(NO_DISPLAY, "Brindlecot: 画面（ディスプレイ）につながらないので起動できません。DISPLAY を確かめてね。", \
    "Brindlecot: can't reach a display, so I can't start. Please check DISPLAY.") \
  X(WORKDIR_NOT_UTF8, "作業フォルダの名前が UTF-8 になっていなくて使えません。ほかの場所から起動してね。", \
    "The working folder's name isn't UTF-8, so I can't use it. Please start me from another folder.") \
  X(WORKDIR_TOO_LONG, "作業フォルダの場所が長すぎて使えません。もっと短い場所から起動してね。", \
    "The working folder's path is too long. Please start me from a shorter one.") \
  X(WINDOW_FAILED, "Window作成に失敗しました", "Couldn't make the window.") \
  X(INPUT_FAILED, "DirectInputに失敗しました", "Couldn't start the keyboard and mouse.") \
  X(GRAPHICS_FAILED, "DirectDrawに失敗しました", "Couldn't start the screen.") \
  /* The dialogs' titles and captions, found by their Japanese text when a \
     dialog opens in English. */ \
  X(DLG_CANCEL, "ｷｬﾝｾﾙ", "Cancel") \
  X(DLG_NEW_MAP, "新規作成", "New map") \
  X(DLG_OPEN_FILE, "ファイルを開く", "Open a file") \
  X(DLG_BROWSE, "参照", "Pick") \
  X(DLG_WALLPAPER, "壁紙表示", "Wallpaper") \
  X(DLG_DEBUG, "デバッグ情報", "Debug info") \
  X(DLG_OPTIONS, "せってい", "Options") \
  X(DLG_MAP_FILE, "マップファイル", "Map file") \
  X(DLG_PICTURE_FILE, "画像ファイル", "Chip picture") \
  X(DLG_CONVERT, "過去ファイルコンバート", "Convert an old map") \
  X(DLG_MAP_SIZE, "マップサイズ", "Map size") \
  X(DLG_CHIP_SIZE, "チップサイズ", "Chip size") \
  X(DLG_CHIP_COUNT, "チップ数", "Chips") \
  X(DLG_WIDE_X, "Ｘ：", "X:") \
  X(DLG_Y, "Y：", "Y:") \
  X(DLG_SIZE, "大きさ", "Pixels") \
  X(DLG_SETTINGS, "小手先の設定", "Settings") \
  X(DLG_GUIDE_LINES, "ガイドライン表示", "Guide lines") \
  X(DLG_SHEET_ON_TOP, "ＢＭＰを常に手前に", "BMP always in front") \
  X(DLG_AUTO_SCROLL, "オートスクロール", "Auto scroll") \
  X(DLG_SCROLL_SPEED, "スクロールスピード", "Scroll speed") \
  X(DLG_SLOW, "遅め", "Slow") \
  X(DLG_FAST, "早め", "Fast") \
  X(DLG_NORMAL, "標準", "Normal") \
  /* The picture options: a canvas as large as the display (from the next \
     start), and the fitted picture's sharp scaling. */ \
  X(DLG_DISPLAY_CANVAS, "画面いっぱい（次回から）", "Fill the screen (next start)") \
  X(DLG_SHARP_FIT, "くっきり拡大", "Sharp scaling") \
  X(DLG_ATTRIBUTE, "属性を入力してね。", "Type an attribute.") \
  /* The settings dialog's language list; each language by its own name. */ \
  X(DLG_LANGUAGE, "ことば", "Language") \
  X(LANGUAGE_AUTO, "おまかせ", "Automatic") \
  X(LANGUAGE_JA, "日本語", "日本語") \
  X(LANGUAGE_EN, "English", "English") \
  X(CAPTION_NOTE, "おしらせ", "Note") \
  X(LANGUAGE_NEXT_START, "ことばは次に起動したときからかわるよ。", "The new language shows from the next start.")
// clang-format on

namespace texts {
enum Id : int {
#define BRINDLE_TEXT_ID(id, ja, en) id,
  BRINDLE_TEXTS(BRINDLE_TEXT_ID)
#undef BRINDLE_TEXT_ID
      COUNT
};
}  // namespace texts

enum TextLanguage { TEXT_JAPANESE = 0, TEXT_ENGLISH = 1 };

// The language every text is shown in, chosen once at start-up (Japanese
// until then). Also tells the platform, for Qt's own texts.
void setTextLanguage(int language);
int textLanguage();

const char* uiText(texts::Id id);      // UTF-8
const char* uiTextSjis(texts::Id id);  // Shift_JIS

// The template as the chosen language shows it: the template itself in
// Japanese; in English a copy, kept for the run, whose title and captions are
// the table's English texts.
const DlgTemplate& shownTemplate(const DlgTemplate& japanese);

// The language from what the user said, strongest first: the --lang option
// ("ja" or "en"; null when not given), the settings file's choice ("ja",
// "en", or "" to follow the environment), then LC_ALL when it is set and not
// empty, else LANG: English when that begins with "en". Anything else,
// "C" and "C.UTF-8" included, is Japanese.
int chooseTextLanguage(const char* option, const char* fromFile, const char* lcAll, const char* lang);
