// The application shell: entry point, main window procedure, message loop.
#pragma once

#include <cstdint>

// Command ids of the accelerators and the posted commands.
constexpr int CMD_TOGGLE_DEBUG = 1001;  // F4
constexpr int CMD_QUIT_ASK = 40001;     // Esc, EXIT button
constexpr int CMD_REACQUIRE = 40002;    // F8
constexpr int CMD_MINIMISE = 40003;     // F12, CLOSE button

struct AppState {
  int32_t appActive = 0;    // 1 while the application is active
  int32_t cursorShown = 1;  // last visibility given to the system cursor
};
extern AppState appState;

// Idempotent: 1 shows, 0 hides the system cursor; anything else does nothing.
void showSystemCursor(int state);

struct PlatMessage;
void mainWindowProc(const PlatMessage& message);
int translateAccelerator(const PlatMessage& message);
// Drains every waiting message before it runs a frame; returns the exit code
// carried by the quit message.
int runMessageLoop();
// The frame the loop runs while active (updateEditorFrame; tests count frames).
extern void (*appFrameFunction)();
extern uint32_t appShutdownDelayMs;  // the pause before quitting (500 ms)

// The display, then the bitmaps the editor draws from: the three interface
// bitmaps, the wallpaper when it is shown and the chip sheet. A bitmap that
// cannot be loaded leaves its slot empty; only a display that cannot be made
// fails (0).
int startGraphics();

// Runs the whole program; returns the process exit code.
int runApplication(int argc, char** argv);
