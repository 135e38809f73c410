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
// The editor's frame, told whether the application is active; 1 when the
// picture it presented stays until input arrives or a deadline comes.
int runEditorFrame();
// The frame the loop runs while active (runEditorFrame; tests count frames).
// While it answers 1 the loop waits instead of running frames: for input, a
// message, or the earliest deadline.
extern int (*appFrameFunction)();

// Whatever comes due by itself while the loop waits: each source answers the
// milliseconds until it is due, or NO_DEADLINE. The clock's next second is
// one; a subsystem that sets itself a time puts its source in a free slot.
constexpr uint32_t NO_DEADLINE = 0xFFFFFFFFu;
using DeadlineSource = uint32_t (*)();
constexpr int DEADLINE_SLOTS = 8;
extern DeadlineSource appDeadlineSources[DEADLINE_SLOTS];
// The milliseconds until the earliest source is due (NO_DEADLINE: none).
uint32_t appMillisToNextDeadline();
extern uint32_t appShutdownDelayMs;  // the pause before quitting (500 ms)

// The display, then the bitmaps the editor draws from: the three interface
// bitmaps, the wallpaper when it is shown and the chip sheet. A bitmap that
// cannot be loaded leaves its slot empty; only a display that cannot be made
// fails (0).
int startGraphics();

// Runs the whole program; returns the process exit code.
int runApplication(int argc, char** argv);
