// The application shell: entry point, main window procedure, message loop.
#pragma once

#include <cstdint>

struct AppState {
  int32_t appActive = 0;  // 1 while the application is active
};
extern AppState appState;

struct PlatMessage;
void mainWindowProc(const PlatMessage& message);
int translateAccelerator(const PlatMessage& message);
// Drains every waiting message before it runs a frame; returns the exit code
// carried by the quit message.
int runMessageLoop();
// The editor's frame, told whether the application is active.
void runEditorFrame();
// The frame the loop runs while active (runEditorFrame; tests count frames).
extern void (*appFrameFunction)();
extern uint32_t appShutdownDelayMs;  // the pause before quitting (500 ms)

// The display, then the bitmaps the editor draws from: the three interface
// bitmaps, the wallpaper when it is shown and the chip sheet. A bitmap that
// cannot be loaded leaves its slot empty; only a display that cannot be made
// fails (0).
int startGraphics();

// Runs the whole program; returns the process exit code.
int runApplication(int argc, char** argv);
