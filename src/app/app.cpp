// [SECTION] Start-up, the main window procedure and the message loop.
#include "app/app.h"

#include <cstring>

#include "dialogs/dialogs.h"
#include "dialogs/texts.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "settings/settings.h"

uint32_t appShutdownDelayMs = 500;
void runEditorFrame() { updateEditorFrame(appState.appActive); }
void (*appFrameFunction)() = runEditorFrame;

namespace {

constexpr intptr_t CLOSE_ANSWERED = 1;  // MSG_CLOSE's wParam after the quit question was answered Yes
constexpr const char* FAIL_CAPTION = "ごめんね";

void fatal(const char* textUtf8) { platformMessageBox(textUtf8, FAIL_CAPTION, MB_OK | MB_ICONINFORMATION); }

}  // namespace

int startGraphics() {
  if (!startDisplay(screenW, screenH, 16)) return 0;
  loadSurface("DATA", SLOT_DATA, KEY_BLACK);
  loadSurface("ICON", SLOT_ICON, KEY_BLACK);
  loadSurface("MES", SLOT_MES, KEY_MES);
  if (settings.showWallpaper == 1) loadSurface(doc.wallpaperPath, SLOT_WALLPAPER, KEY_BLACK);
  loadSurface(doc.chipSheetPath, SLOT_CHIPSHEET, KEY_BLACK);
  resetFrameClock();
  return 1;
}

// The accelerator table: Esc, F12, F4 and F8, without modifiers. A key that
// is in the table becomes its command and goes no further; with Shift, Ctrl
// or Alt held it is no accelerator (Ctrl+F4 does not toggle the overlay).
int translateAccelerator(const PlatMessage& m) {
  if (m.kind != MSG_KEYDOWN) return 0;
  if (m.lParam & (KEYMOD_SHIFT | KEYMOD_CTRL | KEYMOD_ALT)) return 0;
  int command = 0;
  switch (m.wParam) {
    case VK_ESCAPE: command = CMD_QUIT_ASK; break;
    case VK_F12: command = CMD_MINIMISE; break;
    case VK_F4: command = CMD_TOGGLE_DEBUG; break;
    case VK_F8: command = CMD_REACQUIRE; break;
    default: return 0;
  }
  mainWindowProc(PlatMessage{MSG_COMMAND, command, 0});
  return 1;
}

void mainWindowProc(const PlatMessage& m) {
  switch (m.kind) {
    case MSG_ACTIVATEAPP:
      appState.appActive = m.wParam != 0 ? 1 : 0;
      acquireInput(appState.appActive);
      // The time away is no frame time: the first frame back measures none,
      // so scrolling does not catch up the seconds spent elsewhere.
      if (appState.appActive == 1) resetFrameClock();
      break;
    case MSG_COMMAND:
      switch (m.wParam) {
        case CMD_TOGGLE_DEBUG:
          settings.showDebugInfo = settings.showDebugInfo == 1 ? 0 : 1;
          break;
        case CMD_QUIT_ASK:
          showSystemCursor(1);
          // Unsaved changes have a question of their own, which already
          // asks whether to quit; without them the plain question stays.
          if (doc.unsaved ? settleUnsavedChanges(LEAVE_TO_QUIT)
                          : platformMessageBox("おわっちゃうよ？", "いいのかな？", MB_YESNO | MB_ICONINFORMATION) == IDYES)
            platformPostMessage(MSG_CLOSE, CLOSE_ANSWERED, 0);
          showSystemCursor(0);
          break;
        case CMD_REACQUIRE:
          acquireInput(appState.appActive);
          break;
        case CMD_MINIMISE:
          platformMinimiseMainWindow();
          break;
        default:
          break;
      }
      break;
    case MSG_CLOSE:
      // The window's close box (or the desktop) asks without a question of
      // its own: unsaved changes are settled first, and Cancel keeps the
      // editor. Then, as by default, the window is destroyed, which brings
      // the destroy message below.
      if (m.wParam != CLOSE_ANSWERED && doc.unsaved) {
        showSystemCursor(1);
        const int go = settleUnsavedChanges(LEAVE_TO_QUIT);
        showSystemCursor(0);
        if (!go) break;
      }
      platformDestroyMainWindow();
      break;
    case MSG_DESTROY:
      stopGraphics();
      storeViewsToSettings();
      saveSettings();
      showSystemCursor(1);
      platformSleep(appShutdownDelayMs);
      platformPostQuit(0);
      break;
    default:
      break;
  }
}

int runMessageLoop() {
  for (;;) {
    if (platformPeekMessage()) {
      PlatMessage m{};
      if (!platformGetMessage(&m)) return static_cast<int>(m.wParam);
      if (translateAccelerator(m)) continue;
      platformDispatchMessage(m);
    } else if (appState.appActive == 1) {
      // Frames follow the display's refresh instead of running as fast as
      // the loop can spin; a message that arrives meanwhile goes first.
      if (platformWaitFrame()) appFrameFunction();
    } else {
      platformWaitMessage();
    }
  }
}

int runApplication(int argc, char** argv) {
  platformSetNoDisplayText(TEXT_NO_DISPLAY);
  if (!platformInit(argc, argv)) return 1;
  // Without a usable working directory nothing can be found or saved
  // reliably, so the program does not start; like every start-up failure it
  // says why and ends with 0.
  int paths = buildProgramPaths();
  if (paths == PROGRAM_DIR_NOT_SJIS) {
    fatal("作業フォルダの名前に Shift_JIS で書けない文字があって使えません。ほかの場所から起動してね。");
    return 0;
  }
  if (paths != 1) {
    fatal("作業フォルダの場所が長すぎて使えません。もっと短い場所から起動してね。");
    return 0;
  }
  removeStaleTempFiles(iniPath);  // what a killed run left beside the settings
  loadSettings();
  if (startupDialog() == 2) return 0;
  enableInputDevices(1, 1);
  if (!platformCreateMainWindow("Brindlecot", mainWindowProc)) {
    fatal("Window作成に失敗しました");
    return 0;
  }
  platformShowMainWindow();
  if (!startInput()) {
    fatal("DirectInputに失敗しました");
    return 0;
  }
  initSprites();
  if (!startGraphics()) {
    fatal("DirectDrawに失敗しました");
    return 0;
  }
  loadViewsFromSettings();
  showSystemCursor(0);
  return runMessageLoop();
}
