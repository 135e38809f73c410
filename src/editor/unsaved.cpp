// [SECTION] Unsaved changes: the mark on the screen and in the window's title,
// the question asked before the map is left, and the saves it leads to.
#include <cstdio>

#include "dialogs/dialogs.h"
#include "dialogs/pickers.h"
#include "dialogs/texts.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/sjis.h"

namespace {

int32_t titleShowsUnsaved = -1;  // what the main window's title says, -1 before the first frame

int saveFailed() {
  platformMessageBox(uiText(texts::MAP_SAVE_FAILED), uiText(texts::CAPTION_HUH), BOX_OK | BOX_QUESTION);
  return 0;
}

}  // namespace

void drawUnsavedMark(int32_t x, int32_t y, int layer) {
  if (doc.unsaved) queueText(x, y, COLOR_WHITE, uiTextSjis(texts::UNSAVED_MARK), layer);
}

void showUnsavedInWindowTitle() {
  const int32_t unsaved = doc.unsaved ? 1 : 0;
  if (unsaved == titleShowsUnsaved) return;  // the toolkit is told only of a change
  titleShowsUnsaved = unsaved;
  platformSetMainWindowTitle(unsaved ? uiText(texts::WINDOW_TITLE_UNSAVED) : uiText(texts::WINDOW_TITLE));
}

void resetUnsavedTitle() { titleShowsUnsaved = -1; }

int saveMapAs() {
  char before[PATH_STORE];
  sjisCopy(before, sizeof before, doc.mapPath);
  if (!chooseMapFileToSave()) return 0;
  if (saveMapFile(doc.mapPath)) return 1;
  // The map is not in the chosen file: it keeps the name it had, so that the
  // next save does not take the unwritten name for its own.
  sjisCopy(doc.mapPath, PATH_STORE, before);
  return saveFailed();
}

int saveMapInPlace() {
  if (!doc.mapPath[0]) return saveMapAs();
  return saveMapFile(doc.mapPath) ? 1 : saveFailed();
}

int settleUnsavedChanges(int leaving) {
  if (!doc.unsaved) return 1;
  char name[PATH_STORE * 2];
  if (doc.mapPath[0] == 0 || osPathOf(pathFileName(doc.mapPath), name, sizeof name) < 0)
    std::snprintf(name, sizeof name, "%s", uiText(texts::NEW_MAP));
  char text[PATH_STORE * 3];
  std::snprintf(text, sizeof text, leaving == LEAVE_TO_QUIT ? uiText(texts::QUIT_UNSAVED) : uiText(texts::LOAD_UNSAVED),
                name);
  const MessageBoxAnswers answers =
      leaving == LEAVE_TO_QUIT ? MessageBoxAnswers{uiText(texts::ANSWER_SAVE_QUIT), uiText(texts::ANSWER_DISCARD_QUIT),
                                                   uiText(texts::ANSWER_CANCEL)}
                               : MessageBoxAnswers{uiText(texts::ANSWER_SAVE_LOAD), uiText(texts::ANSWER_DISCARD_LOAD),
                                                   uiText(texts::ANSWER_CANCEL)};
  switch (platformMessageBoxWith(text, uiText(texts::CAPTION_ASK), BOX_YES_NO_CANCEL | BOX_QUESTION, answers)) {
    case ANSWERED_YES:
      return saveMapInPlace();  // a cancelled or failed save leaves the user where they were
    case ANSWERED_NO:
      return 1;
    default:
      return 0;
  }
}
