// The editor's shared state, defined once.
#include "editor/editor.h"

FrameState frameState;
Gesture gesture;
EditorSession session;
PreviewState preview;
