// [SECTION] Start-up, the main window procedure and the message loop.
#include "app/app.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "dialogs/dialogs.h"
#include "dialogs/texts.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "map/recovery.h"
#include "platform/files.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "settings/settings.h"

uint32_t appShutdownDelayMs = 500;
namespace {
// The recovery copy's next write as a deadline of the resting loop.
uint32_t millisToRecoveryWrite() {
  const uint32_t due = recoveryDeadline();
  if (due == 0) return NO_DEADLINE;
  const int32_t left = static_cast<int32_t>(due - platformMillis());
  return left <= 0 ? 0u : static_cast<uint32_t>(left);
}
}  // namespace

int runEditorFrame() {
  updateEditorFrame(appState.appActive);
  recoveryTick(platformMillis());
  return editorPictureSteady();
}
int (*appFrameFunction)() = runEditorFrame;

DeadlineSource appDeadlineSources[DEADLINE_SLOTS] = {editorMillisToClockTick, millisToRecoveryWrite};

uint32_t appMillisToNextDeadline() {
  uint32_t earliest = NO_DEADLINE;
  for (DeadlineSource source : appDeadlineSources)
    if (source) earliest = std::min(earliest, source());
  return earliest;
}

namespace {

constexpr intptr_t CLOSE_ANSWERED = 1;  // MESSAGE_CLOSE's value after the quit question was answered Yes
void fatal(texts::Id id) { platformMessageBox(uiText(id), uiText(texts::CAPTION_SORRY), BOX_OK | BOX_INFORMATION); }

// A map saved with its sheet's name escaped is told about once a run: older
// programs and other tools cannot follow that name.
void tellSheetNameEscaped() {
  static bool told = false;
  if (told) return;
  told = true;
  platformMessageBox(uiText(texts::SHEET_NAME_ESCAPED), uiText(texts::CAPTION_HUH), BOX_OK | BOX_INFORMATION);
}

// The question for one copy left behind: restore (Return), or discard after
// a second question whose No keeps it for a later start.
enum RecoveryAnswer { RECOVERY_RESTORE, RECOVERY_DISCARD, RECOVERY_KEEP };
RecoveryAnswer askAboutCopy(const RecoveryCopy& c) {
  char name[PATH_STORE * 2];
  if (c.mapPath[0] == 0 || osPathOf(pathFileName(c.mapPath), name, sizeof name) < 0)
    std::snprintf(name, sizeof name, "%s", uiText(texts::NEW_MAP));
  char when[64] = "";
  const std::time_t t = static_cast<std::time_t>(c.mtime);
  if (const std::tm* tm = std::localtime(&t))
    std::snprintf(when, sizeof when, uiText(texts::RECOVERY_TIME), tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday,
                  tm->tm_hour, tm->tm_min);
  char text[PATH_STORE * 3];
  std::snprintf(text, sizeof text, uiText(texts::RECOVERY_OFFER), name, when);
  if (platformMessageBoxWith(
          text, uiText(texts::CAPTION_ASK), BOX_YES_NO | BOX_QUESTION,
          MessageBoxAnswers{uiText(texts::ANSWER_RESTORE), uiText(texts::ANSWER_DISCARD), nullptr}) == ANSWERED_YES)
    return RECOVERY_RESTORE;
  if (platformMessageBoxWith(
          uiText(texts::RECOVERY_DISCARD_SURE), uiText(texts::CAPTION_ASK), BOX_YES_NO | BOX_QUESTION,
          MessageBoxAnswers{uiText(texts::ANSWER_DISCARD), uiText(texts::ANSWER_KEEP_FOR_LATER), nullptr}) ==
      ANSWERED_YES)
    return RECOVERY_DISCARD;
  return RECOVERY_KEEP;
}

// Every copy whose editor is gone, newest first, until one is restored. 1
// when the document is a restored copy.
int offerRecoveryCopies(const char* folder) {
  static RecoveryCopy copies[RECOVERY_OFFER_MAX];
  const int n = findRecoveryCopies(folder, copies, RECOVERY_OFFER_MAX);
  int restored = 0;
  for (int i = 0; i < n; ++i) {
    if (restored) {
      releaseRecoveryCopy(copies[i]);
      continue;
    }
    switch (askAboutCopy(copies[i])) {
      case RECOVERY_RESTORE:
        restored = restoreRecoveryCopy(copies[i]);
        if (!restored) {
          platformMessageBox(uiText(texts::RECOVERY_FAILED), uiText(texts::CAPTION_HUH), BOX_OK | BOX_QUESTION);
          releaseRecoveryCopy(copies[i]);
        }
        break;
      case RECOVERY_DISCARD:
        discardRecoveryCopy(copies[i]);
        break;
      default:
        releaseRecoveryCopy(copies[i]);
        break;
    }
  }
  return restored;
}

void keepWorkAtTheLastMoment() { recoveryLastMoment(); }

// The value of --lang ("--lang en" or "--lang=en"), or null when not given.
const char* languageOption(int argc, char** argv) {
  const char* value = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc)
      value = argv[++i];
    else if (std::strncmp(argv[i], "--lang=", 7) == 0)
      value = argv[i] + 7;
  }
  return value;
}

void chooseLanguage(const char* option, const char* fromFile) {
  setTextLanguage(chooseTextLanguage(option, fromFile, std::getenv("LC_ALL"), std::getenv("LANG")));
}

// The canvas is chosen once, from the display the run starts on: a display
// that changes size later keeps it, fitted as the classic picture is.
void measureCanvas() {
  int32_t displayW = 0, displayH = 0;
  platformDisplaySize(&displayW, &displayH);
  screenMetrics = measureScreen(displayW, displayH, settings.displayCanvas);
  platformSetPictureSize(screenMetrics.canvasW, screenMetrics.canvasH);
  platformSetSharpFit(settings.sharpFit);
  dlgSetScale(screenMetrics.dialogScale);
}

}  // namespace

int startGraphics() {
  if (!startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16)) return 0;
  loadSurface("DATA", SLOT_DATA, KEY_BLACK);
  // The command button with a word on it and the caption balloons come in
  // both languages.
  const bool english = textLanguage() == TEXT_ENGLISH;
  loadSurface(english ? "ICON_EN" : "ICON", SLOT_ICON, KEY_BLACK);
  loadSurface(english ? "MES_EN" : "MES", SLOT_MES, KEY_MES);
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
  if (m.kind != MESSAGE_KEY) return 0;
  if (m.modifiers & (KEYMOD_SHIFT | KEYMOD_CTRL | KEYMOD_ALT)) return 0;
  int command = 0;
  switch (m.value) {
    case KEY_ESCAPE: command = CMD_QUIT_ASK; break;
    case KEY_F12: command = CMD_MINIMISE; break;
    case KEY_F4: command = CMD_TOGGLE_DEBUG; break;
    case KEY_F8: command = CMD_REACQUIRE; break;
    default: return 0;
  }
  mainWindowProc(PlatMessage{MESSAGE_COMMAND, command, 0});
  return 1;
}

void mainWindowProc(const PlatMessage& m) {
  switch (m.kind) {
    case MESSAGE_ACTIVE:
      appState.appActive = m.value != 0 ? 1 : 0;
      acquireInput(appState.appActive);
      // The time away is no frame time: the first frame back measures none,
      // so scrolling does not catch up the seconds spent elsewhere.
      if (appState.appActive == 1) resetFrameClock();
      // Inactive, the loop runs no frames until it is back: a copy still due
      // is written now rather than whenever the user returns.
      if (appState.appActive == 0 && recoveryDeadline() != 0) recoveryWriteNow();
      break;
    case MESSAGE_COMMAND:
      switch (m.value) {
        case CMD_TOGGLE_DEBUG:
          settings.showDebugInfo = settings.showDebugInfo == 1 ? 0 : 1;
          break;
        case CMD_QUIT_ASK:
          showSystemCursor(1);
          // Unsaved changes have a question of their own, which already
          // asks whether to quit; without them the plain question stays.
          if (doc.unsaved ? settleUnsavedChanges(LEAVE_TO_QUIT)
                          : platformMessageBox(uiText(texts::QUIT_SURE), uiText(texts::CAPTION_ASK),
                                               BOX_YES_NO | BOX_INFORMATION) == ANSWERED_YES)
            platformPostMessage(MESSAGE_CLOSE, CLOSE_ANSWERED, 0);
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
    case MESSAGE_FILE_CHANGED:
      // The chip sheet was saved anew. While another program is in front no
      // frame runs, so one is drawn here to show the new sheet at once.
      if (reloadChangedChipSheet() && appState.appActive != 1 && platformMainWindowExists()) appFrameFunction();
      break;
    case MESSAGE_CLOSE:
      // The window's close box (or the desktop) asks without a question of
      // its own: unsaved changes are settled first, and Cancel keeps the
      // editor. Then, as by default, the window is destroyed, which brings
      // the destroy message below.
      if (m.value != CLOSE_ANSWERED && doc.unsaved) {
        showSystemCursor(1);
        const int go = settleUnsavedChanges(LEAVE_TO_QUIT);
        showSystemCursor(0);
        if (!go) break;
      }
      platformDestroyMainWindow();
      break;
    case MESSAGE_DESTROY:
      recoveryStop();  // a normal quit: the work was saved or let go
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
      if (!platformGetMessage(&m)) return static_cast<int>(m.value);
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
  // Until the settings are read, the option and the environment choose.
  const char* option = languageOption(argc, argv);
  chooseLanguage(option, nullptr);
  platformSetNoDisplayText(uiText(texts::NO_DISPLAY));
  if (!platformInit(argc, argv)) return 1;
  // Without a usable working directory nothing can be found or saved
  // reliably, so the program does not start; like every start-up failure it
  // says why and ends with 0.
  int paths = buildProgramPaths();
  if (paths == PROGRAM_DIR_NOT_UTF8) {
    fatal(texts::WORKDIR_NOT_UTF8);
    return 0;
  }
  if (paths != 1) {
    fatal(texts::WORKDIR_TOO_LONG);
    return 0;
  }
  onSheetNameEscaped = tellSheetNameEscaped;
  removeStaleTempFiles(iniPath);  // what a killed run left beside the settings
  loadSettings();
  chooseLanguage(option, settings.language);
  measureCanvas();
  // Work an earlier editor could not save comes first; a restored map skips
  // the start-up dialog.
  char folder[PATH_STORE];
  int restored = 0;
  if (recoveryFolder(folder, sizeof folder) && recoveryStart(folder)) {
    platformSetEmergencyHandler(keepWorkAtTheLastMoment);
    restored = offerRecoveryCopies(folder);
  }
  if (!restored && startupDialog() == 2) {
    recoveryStop();
    return 0;
  }
  enableInputDevices(1, 1);
  if (!platformCreateMainWindow("Brindlecot", mainWindowProc)) {
    fatal(texts::WINDOW_FAILED);
    return 0;
  }
  platformShowMainWindow();
  if (!startInput()) {
    fatal(texts::INPUT_FAILED);
    return 0;
  }
  initSprites();
  if (!startGraphics()) {
    fatal(texts::GRAPHICS_FAILED);
    return 0;
  }
  loadViewsFromSettings();
  showSystemCursor(0);
  return runMessageLoop();
}
