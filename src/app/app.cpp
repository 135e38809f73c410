// [SECTION] Start-up, the main window procedure and the message loop.
#include "app/app.h"

#include <algorithm>
#include <cstring>

#include "dialogs/dialogs.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "settings/settings.h"

uint32_t appShutdownDelayMs = 500;
int runEditorFrame() {
  updateEditorFrame(appState.appActive);
  return editorPictureSteady();
}
int (*appFrameFunction)() = runEditorFrame;

DeadlineSource appDeadlineSources[DEADLINE_SLOTS] = {editorMillisToClockTick};

uint32_t appMillisToNextDeadline() {
  uint32_t earliest = NO_DEADLINE;
  for (DeadlineSource source : appDeadlineSources)
    if (source) earliest = std::min(earliest, source());
  return earliest;
}

namespace {

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
  watchChipSheet();
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
          if (platformMessageBox("おわっちゃうよ？", "いいのかな？", MB_YESNO | MB_ICONINFORMATION) == IDYES)
            platformPostMessage(MSG_CLOSE, 0, 0);
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
    case MSG_FILE_CHANGED:
      // The chip sheet was saved anew. While another program is in front no
      // frame runs, so one is drawn here to show the new sheet at once.
      if (reloadChangedChipSheet() && appState.appActive != 1 && platformMainWindowExists()) appFrameFunction();
      break;
    case MSG_CLOSE:
      // The default handling of a close: the window is destroyed, which
      // brings the destroy message below.
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
  // Set while the last frame's picture would be the next one's too.
  bool steady = false;
  for (;;) {
    if (platformPeekMessage()) {
      PlatMessage m{};
      steady = false;  // whatever a message changes shows in the next frame
      if (!platformGetMessage(&m)) return static_cast<int>(m.wParam);
      if (translateAccelerator(m)) continue;
      platformDispatchMessage(m);
    } else if (appState.appActive == 1) {
      if (steady) {
        // Nothing can change the picture until input arrives or something
        // comes due: wait for that instead of running frames that show the
        // same. The time asleep is no frame time, as after switching back,
        // and what woke the loop shows at once, not a frame period later.
        platformWaitForInput(appMillisToNextDeadline());
        resetFrameClock();
        steady = false;
        if (platformPeekMessage()) continue;  // a message goes first
      } else if (!platformWaitFrame()) {
        // Frames follow the display's refresh instead of running as fast
        // as the loop can spin; a message that arrives meanwhile goes first.
        continue;
      }
      steady = appFrameFunction() != 0;
    } else {
      platformWaitMessage();
    }
  }
}

int runApplication(int argc, char** argv) {
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
