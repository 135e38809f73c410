// [SECTION] Shortcuts and the history's place in a frame.
//
// Left Ctrl and Left Shift are the editor's primary and secondary buttons, and
// also the modifiers of its chords (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z, Ctrl+S). A
// press acts in its own frame, as a button must; when it turns out to be part
// of a chord, what it began is taken back. For that the editor state is set
// aside whenever one of those keys goes down, and put back when the input
// layer says a chord began. Any chord (a key or, later, the wheel with Ctrl)
// gets the same treatment, since the input layer reports them all alike.
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/history.h"
#include "map/map.h"

namespace {

// What the editor looked like before a modifier's press acted.
struct ChordCheckpoint {
  bool armed = false;
  bool stepWasOpen = false;
  Gesture gesture;
  EditorSession session;
  PreviewState preview;
};
ChordCheckpoint checkpoint;

void takeCheckpoint() {
  checkpoint.armed = true;
  checkpoint.stepWasOpen = historyStepOpen() != 0;
  checkpoint.gesture = gesture;
  checkpoint.session = session;
  checkpoint.preview = preview;
}

// The press that began the chord leaves nothing behind: no stamp or stroke
// (the history step it opened is dropped unstored), no pick, no copy, no
// window moved, no button held.
void rollBackChordPress() {
  if (!checkpoint.armed) return;
  checkpoint.armed = false;
  if (!checkpoint.stepWasOpen) discardHistoryStep();
  gesture = checkpoint.gesture;
  session = checkpoint.session;
  preview = checkpoint.preview;
}

}  // namespace

void resetShortcuts() { checkpoint.armed = false; }

void applyFrameShortcuts() {
  // Set aside before the press acts (the frame is composed after this).
  if (inputState.modifierPressed && !checkpoint.armed) takeCheckpoint();
  if (inputState.chordBegan) rollBackChordPress();
  else if (!inputState.modifierHeld) checkpoint.armed = false;
  // The preview knows no commands; its keys stay its own.
  if (session.editorMode != EDITOR_EDITING) return;
  switch (inputState.shortcut) {
    case SHORTCUT_UNDO: undoStep(); break;
    case SHORTCUT_REDO: redoStep(); break;
    case SHORTCUT_SAVE: saveMapAsked(0); break;
    default: break;
  }
}

void endFrameHistoryStep() {
  // A stroke, a drag or a held modifier keeps its step open; once every
  // button is up the action is over and its step is stored.
  if ((inputState.buttonsHeld & (BTN_PRIMARY | BTN_SECONDARY)) == 0) closeHistoryStep();
}

void pressUndoButton() {
  closeHistoryStep();
  // Pressed again at once it takes its own undo back, as the button always did.
  if (session.undoButtonUndid && history.changes == session.undoButtonChanges && redoStep()) {
    session.undoButtonUndid = false;
    return;
  }
  session.undoButtonUndid = undoStep() != 0;
  session.undoButtonChanges = history.changes;
}
