// What the dialogs share: the version text, the information block, the
// complaint box, path fields and the table of document services.
#include "dialogs/control_ids.h"
#include "dialogs/dialogs.h"

#include "dialogs/pickers.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "map/oldmap.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/surface.h"

const char* const PROGRAM_VERSION = "Ver0.93b";

SystemCursor systemCursor;

void showSystemCursor(int state) {
  if (state == 1) {
    if (systemCursor.shown == 1) return;
    platformSetCursorVisible(1);
    systemCursor.shown = 1;
  } else if (state == 0) {
    if (systemCursor.shown == 0) return;
    platformSetCursorVisible(0);
    systemCursor.shown = 0;
  }
}

namespace {

int isBitmapFile(const char* path) {
  uint8_t head[14];
  size_t got = 0;
  uint64_t size = 0;
  return readFileBytes(path, head, sizeof head, &got, &size) && bitmapHeadWhole(head, got, size) ? 1 : 0;
}

const DialogServices realServices = {
    loadMapFile,         saveMapFile,         convertOldMapFile,   chooseMapFileToOpen,
    chooseMapFileToSave, chooseChipSheetFile, chooseWallpaperFile, pathExists,
    isMapFile,           isBitmapFile,
};
}  // namespace

DialogServices dialogServices = realServices;

void resetDialogServices() { dialogServices = realServices; }

void fillProgramInformation(DlgHandle* h) {
  dlgSetText(h, INFO_PROJECT, SJIS("Brindlecot project"));
  dlgSetText(h, INFO_KIND, SJIS("tile map editor"));
  dlgSetText(h, INFO_VERSION, PROGRAM_VERSION);
}

void dialogComplain(DlgHandle* h, const char* textUtf8) {
  dlgMessageBox(h, textUtf8, uiText(texts::CAPTION_HUH), BOX_OK | BOX_QUESTION);
}

int readPathField(DlgHandle* h, int id, char* out) {
  if (dlgGetPath(h, id, out, PATH_STORE) >= 0) return 1;
  // A path the program could not store whole would name another file.
  dialogComplain(h, uiText(texts::NAME_UNUSABLE));
  return 0;
}
