// [SECTION] The command buttons of the toolbar: hover, press and release, and
// the commands they run.
#include "dialogs/dialogs.h"
#include "dialogs/pickers.h"
#include "dialogs/texts.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/history.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "settings/settings.h"

// Index order is the order of the caption cells; CLOSE (12) stands left of
// EXIT (11) on the screen.
const CommandButton commandButtons[COMMAND_COUNT] = {
    {16, 0, 0},   {72, 80, 0},   {128, 160, 0}, {200, 0, 32},  {256, 80, 32},
    {312, 160, 32}, {384, 0, 64}, {440, 80, 64}, {496, 160, 64}, {568, 0, 96},
    {624, 80, 96}, {736, 160, 96}, {680, 0, 128},
};

namespace {


constexpr int ICON_CELL = 48;

enum Command {
  CMD_BMPLOAD = 0, CMD_LOAD, CMD_SAVE, CMD_SIZE, CMD_UNDO, CMD_CLEAR, CMD_POINT, CMD_FREE,
  CMD_ATTRIBUTE, CMD_PREVIEW, CMD_OPTION, CMD_EXIT, CMD_CLOSE,
};

void tellAboutSheet(const char* textUtf8) {
  platformMessageBox(textUtf8, uiText(texts::CAPTION_HUH), BOX_OK | BOX_QUESTION);
}

// LOAD: the map's sheet replaces the one shown; the user hears when there is
// none to show.
void reloadChipSheet() {
  releaseSurface(SLOT_CHIPSHEET);
  if (!pathExists(doc.chipSheetPath))
    tellAboutSheet(uiText(texts::SHEET_MISSING));
  else if (!loadSurface(doc.chipSheetPath, SLOT_CHIPSHEET, KEY_BLACK))
    tellAboutSheet(uiText(texts::SHEET_UNREADABLE));
  fitBrushToSheet();
  watchChipSheet();
}

// BmpLoad: a chosen sheet that cannot be decoded leaves the sheet in use, its
// slot, path and name, as they were.
void loadChosenChipSheet() {
  char oldPath[PATH_STORE], oldName[PATH_STORE];
  sjisCopy(oldPath, sizeof oldPath, doc.chipSheetPath);
  sjisCopy(oldName, sizeof oldName, doc.chipSheetName);
  if (!chooseChipSheetFile()) return;
  if (loadSurface(doc.chipSheetPath, SLOT_CHIPSHEET, KEY_BLACK)) {
    fitBrushToSheet();
    watchChipSheet();
    documentChangedOutsideHistory();  // the map now names this sheet when saved
    return;
  }
  sjisCopy(doc.chipSheetPath, PATH_STORE, oldPath);
  sjisCopy(doc.chipSheetName, PATH_STORE, oldName);
  SurfaceSlot& slot = surfaceSlots[SLOT_CHIPSHEET];
  sjisCopy(slot.name, sizeof slot.name, oldPath);  // what a lost display reloads
  tellAboutSheet(uiText(texts::SHEET_UNREADABLE));
}

// LOAD: unsaved changes are settled first. A file that cannot be read, or
// holds no map, leaves the map, its path and its unsaved state as they were,
// and the user hears so.
void loadChosenMap() {
  if (!settleUnsavedChanges(LEAVE_TO_OPEN)) return;
  char before[PATH_STORE];
  sjisCopy(before, sizeof before, doc.mapPath);
  if (!chooseMapFileToOpen()) return;
  char chosen[PATH_STORE];
  sjisCopy(chosen, sizeof chosen, doc.mapPath);
  sjisCopy(doc.mapPath, PATH_STORE, before);
  if (!isMapFile(chosen) || !loadMapFile(chosen)) {
    platformMessageBox(uiText(texts::LOAD_FAILED), uiText(texts::CAPTION_HUH), BOX_OK | BOX_QUESTION);
    return;
  }
  reloadChipSheet();
}

}  // namespace

void drawCaptionBalloon(int32_t x, int32_t y, int32_t cellX, int32_t cellY) {
  sprites.toolCaption.x = static_cast<float>(x);
  sprites.toolCaption.y = static_cast<float>(y);
  sprites.toolCaption.srcX = cellX;
  sprites.toolCaption.srcY = cellY;
  drawSprite(sprites.toolCaption);
}

void watchChipSheet() {
  platformWatchFile(doc.chipSheetPath);
  session.sheetNotice = SHEET_NOTICE_NONE;
}

int reloadChangedChipSheet() {
  // The sheet in use stays when the new file cannot be decoded (loadSurface
  // keeps the slot's surface); cells, brush and views are left as they are,
  // and cells beyond a smaller sheet show what any position outside it shows.
  if (loadSurface(doc.chipSheetPath, SLOT_CHIPSHEET, KEY_BLACK)) {
    session.sheetNotice = SHEET_NOTICE_NONE;
    return 1;
  }
  if (session.sheetNotice == SHEET_NOTICE_NONE) session.sheetNotice = SHEET_NOTICE_DUE;
  return 0;
}

void tellDueNotices() {
  if (session.sheetNotice != SHEET_NOTICE_DUE) return;
  // Told once, until a later change of the file decodes again.
  session.sheetNotice = SHEET_NOTICE_TOLD;
  showSystemCursor(1);
  tellAboutSheet(uiText(texts::SHEET_CHANGED_UNREADABLE));
  showSystemCursor(0);
}

int saveMapAsked(int ask) {
  closeHistoryStep();  // the file holds every change made so far
  showSystemCursor(1);
  // A save that fails is told, and the map keeps the file it had.
  const int saved = ask ? saveMapAs() : saveMapInPlace();
  showSystemCursor(0);
  return saved;
}

void declareCommandButtonRegions() {
  for (int i = 0; i < COMMAND_COUNT; ++i)
    offerPointerRegion(TARGET_COMMAND_BUTTON, nullptr, i, commandButtons[i].x, screenMetrics.buttonY,
                       screenMetrics.buttonSize, screenMetrics.buttonSize);
}

void updateCommandButtons() {
  for (int i = 0; i < COMMAND_COUNT; ++i) {
    const CommandButton& b = commandButtons[i];
    if (pointerHovers(TARGET_COMMAND_BUTTON, nullptr, i)) {
      sprites.toolFrame.x = static_cast<float>(b.x);
      sprites.toolFrame.y = static_cast<float>(screenMetrics.buttonY);
      sprites.toolFrame.srcX = 0;
      drawSprite(sprites.toolFrame);
      drawCaptionBalloon(b.x - 16, 0, b.captionX, b.captionY);
      if (inputState.buttonsPressed & BTN_PRIMARY) {
        session.pressedButton = i;
        gesture.kind = GESTURE_BUTTON;
      }
    }
    sprites.toolIcon.x = static_cast<float>(b.x);
    sprites.toolIcon.y = static_cast<float>(screenMetrics.buttonY);
    sprites.toolIcon.srcY = ICON_CELL * i;  // the ICON bitmap's cells, one a button
    drawSprite(sprites.toolIcon);
  }
  if (gesture.kind == GESTURE_BUTTON) {
    const CommandButton& b = commandButtons[session.pressedButton];
    sprites.toolFrame.x = static_cast<float>(b.x);
    sprites.toolFrame.y = static_cast<float>(screenMetrics.buttonY);
    sprites.toolFrame.srcX = 48;
    drawSprite(sprites.toolFrame);
    if (!(inputState.buttonsHeld & BTN_PRIMARY)) {
      // A press released outside its button does nothing.
      if (pointerInside(b.x, screenMetrics.buttonY, screenMetrics.buttonSize, screenMetrics.buttonSize))
        runCommand(session.pressedButton);
      gesture.kind = GESTURE_NONE;
    }
  }
  // A tool of the strip is marked in the strip instead.
  static const int markerX[3] = {384, 440, 496};
  if (session.toolMode >= TOOL_POINT && session.toolMode <= TOOL_ATTRIBUTE) {
    sprites.modeMarker.x = static_cast<float>(markerX[session.toolMode]);
    sprites.modeMarker.y = static_cast<float>(screenMetrics.buttonY);
    drawSprite(sprites.modeMarker);
  }
  updateToolStrip();
}

void runCommand(int index) {
  switch (index) {
    case CMD_BMPLOAD:
      showSystemCursor(1);
      loadChosenChipSheet();
      showSystemCursor(0);
      break;
    case CMD_LOAD:
      showSystemCursor(1);
      loadChosenMap();
      showSystemCursor(0);
      break;
    case CMD_SAVE:
      saveMapAsked(1);
      break;
    case CMD_SIZE:
      showSystemCursor(1);
      askMapSize();
      showSystemCursor(0);
      break;
    case CMD_UNDO:
      pressUndoButton();
      break;
    case CMD_CLEAR:
      clearMap();
      break;
    case CMD_POINT:
      session.toolMode = TOOL_POINT;
      break;
    case CMD_FREE:
      session.toolMode = TOOL_FREE;
      break;
    case CMD_ATTRIBUTE:
      session.toolMode = TOOL_ATTRIBUTE;
      break;
    case CMD_PREVIEW:
      session.editorMode = EDITOR_PREVIEW;
      break;
    case CMD_OPTION:
      showSystemCursor(1);
      settingsDialog();
      releaseSurface(SLOT_WALLPAPER);
      if (settings.showWallpaper == 1) loadSurface(doc.wallpaperPath, SLOT_WALLPAPER, KEY_BLACK);
      showSystemCursor(0);
      break;
    case CMD_EXIT:
      platformPostMessage(MESSAGE_COMMAND, CMD_QUIT_ASK, 0);
      break;
    case CMD_CLOSE:
      platformPostMessage(MESSAGE_COMMAND, CMD_MINIMISE, 0);
      break;
    default:
      break;
  }
}
