// The operating-system layer the rest of the program calls: the main window
// and its message queue, the cursor, the clock, message boxes, presentation of
// the editor's picture and the keyboard and mouse devices.
//
// Generic code in platform/core/ serves these over one of two window back
// ends, chosen when a program is linked: platform/qt/ (Qt Widgets) or
// platform/headless/ (no window system). Nothing outside platform/ includes a
// Qt header, and no platform header names a Qt type. Test seams are in
// platform/testing.h.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Messages. Window events become these on a queue that the message loop drains.
enum PlatMessageKind {
  MESSAGE_NONE = 0,
  MESSAGE_ACTIVE,        // value 1: the application became active, 0: inactive
  MESSAGE_KEY,           // value the key (KEY_*), modifiers the KEYMOD_* held with it
  MESSAGE_COMMAND,       // value the command id
  MESSAGE_CLOSE,
  MESSAGE_DESTROY,
  MESSAGE_QUIT,          // value the exit code
  MESSAGE_FILE_CHANGED,  // the watched file changed on disk (platformWatchFile)
};

// The keys the accelerator table knows.
constexpr int KEY_ESCAPE = 0x1B;
constexpr int KEY_F4 = 0x73;
constexpr int KEY_F8 = 0x77;
constexpr int KEY_F12 = 0x7B;

// Modifiers held with a key (modifiers of MESSAGE_KEY).
constexpr int KEYMOD_SHIFT = 1;
constexpr int KEYMOD_CTRL = 2;
constexpr int KEYMOD_ALT = 4;

struct PlatMessage {
  int kind;
  intptr_t value;      // what the kind carries (see above), else 0
  intptr_t modifiers;  // KEYMOD_* of a MESSAGE_KEY, else 0
};

using WindowProc = void (*)(const PlatMessage& message);

// Starts the window system (once): the Qt back end creates the application
// object. 1 on success.
int platformInit(int argc, char** argv);
// Called on the main thread, between frames, when the program is about to end
// without quitting: SIGTERM, SIGHUP or a lost display. It has that moment to
// keep the user's work; the program then ends.
void platformSetEmergencyHandler(void (*handler)());

// The language of the texts the window system itself shows (Qt's choosers and
// the answers of its message boxes): Japanese from its own translations, the
// default, or English as Qt is written.
enum PlatformLanguage { PLATFORM_JAPANESE = 0, PLATFORM_ENGLISH = 1 };
void platformSetLanguage(int language);
int platformLanguage();

// The one line (UTF-8) written to stderr when the window system cannot be
// reached at platformInit; the program then ends with status 1.
void platformSetNoDisplayText(const char* utf8);
// The one full-screen top-level window, showing the picture scaled to fit
// (aspect kept, bars round it). 1 on success.
int platformCreateMainWindow(const char* titleUtf8, WindowProc proc);
void platformShowMainWindow();
void platformDestroyMainWindow();  // sends MESSAGE_DESTROY to the procedure
void platformMinimiseMainWindow();
// The main window's title as the desktop shows it (its task bar, its frame).
void platformSetMainWindowTitle(const char* titleUtf8);
int platformMainWindowExists();

// 1 when a message waits (pending window events are turned into messages first).
int platformPeekMessage();
// Takes the next message, waiting for one; returns 0 for MESSAGE_QUIT.
int platformGetMessage(PlatMessage* message);
void platformDispatchMessage(const PlatMessage& message);
// The procedure messages are dispatched to (set by platformCreateMainWindow;
// tests set it without a window).
void platformSetWindowProc(WindowProc proc);
// Blocks until a message arrives, using no processor time.
void platformWaitMessage();
// Waits, handling window-system events, until the display is due for its next
// picture (its refresh rate, 60 Hz where it tells none), as a flip would.
// Returns 1 when the frame is due, 0 when a message arrived first (the frame
// is still due afterwards).
int platformWaitFrame();
// Waits, handling window-system events, until input arrives that the last
// frame has not seen (a key, a button, pointer motion, the window changing
// size), a message is posted, or timeoutMs pass (WAIT_FOREVER: no limit).
// 1 when something arrived, 0 when the time ran out. Either way the frame
// that follows reads what arrived, as after platformWaitFrame.
constexpr uint32_t WAIT_FOREVER = 0xFFFFFFFFu;
int platformWaitForInput(uint32_t timeoutMs);
void platformPostMessage(int kind, intptr_t value, intptr_t modifiers);
void platformPostQuit(int exitCode);
// Empties the queue (tests).
void platformResetMessages();

// Watches one file (a UTF-8 path; empty or null ends the watch): when it
// changes on disk, written in place or replaced by a new file renamed over it,
// MESSAGE_FILE_CHANGED is posted once the writing has settled, and again when the
// application is activated and the file differs from when it was last told.
// The file's folder is watched as well, so a rename does not end the watch.
// Nothing is read or checked by the caller's frames; the headless back end
// watches nothing.
void platformWatchFile(const char* path);

// The picture the window shows: 800 x 600 unless set otherwise, at most
// PICTURE_MAX_W x PICTURE_MAX_H (a larger size is cut to it). Set before the
// first present; the window keeps it for the run.
constexpr int PICTURE_MAX_W = 2560;
constexpr int PICTURE_MAX_H = 1600;
void platformSetPictureSize(int width, int height);
// How a picture enlarged by a scale that is not whole is shown: 0 nearest
// neighbour (the start value), 1 sharp: whole pixels with only the fraction
// at each picture pixel's edges blended, so every line carries the same ink.
void platformSetSharpFit(int on);
// The size of the display the window opens on, in device pixels (the headless
// back end: 800 x 600 unless a test sets it).
void platformDisplaySize(int32_t* width, int32_t* height);

// ---------------------------------------------------------------------------
// Cursor, in pixels of the picture.
void platformCursorPos(int32_t* x, int32_t* y);
void platformSetCursorVisible(int visible);
// While on, the hidden pointer is held at the window centre after every mouse
// read, so relative motion keeps arriving at the screen edges (the preview).
void platformSetRelativeMouse(int on);

// ---------------------------------------------------------------------------
// Time.
uint32_t platformMillis();  // steady clock, wraps at 2^32
// Milliseconds spent so far inside modal windows (dialogs, boxes, choosers),
// on the same clock: time the user spent answering is no frame time.
uint32_t platformModalMillis();
void platformSleep(uint32_t ms);
struct PlatLocalTime {
  int year, month, day, hour, minute, second;
  int millisecond;  // into the second, for waking when it turns
};
void platformLocalTime(PlatLocalTime* t);

// ---------------------------------------------------------------------------
// Presentation of the back buffer (RGB565, pitch in pixels).
enum PresentResult { PRESENT_OK = 0, PRESENT_LOST = 1, PRESENT_FAILED = 2 };
// A rectangle of picture pixels, right and bottom exclusive.
struct PlatRect {
  int32_t left, top, right, bottom;
};
// With parts given, the caller vouches that the picture is the one last
// presented outside them, and only they are compared with the window's
// picture; without (null or a count of 0) the whole picture is.
int platformPresent(const uint16_t* pixels, int width, int height, int pitch, const PlatRect* parts = nullptr,
                    int partCount = 0);
// What the window was given since start: frames handed in, those that
// changed its picture, and the paint events that drew them (several changed
// frames may share one paint).
struct PlatPresentCounts {
  uint32_t frames, changed, paints;
};
void platformPresentCounts(PlatPresentCounts* counts);

// ---------------------------------------------------------------------------
// Message boxes. Texts are UTF-8 (the program's fixed texts).
// A box's flags are its buttons or-ed with its icon; it returns the answer.
constexpr int BOX_OK = 0x0;
constexpr int BOX_YES_NO_CANCEL = 0x3;  // Return answers Yes, Esc Cancel
constexpr int BOX_YES_NO = 0x4;
constexpr int BOX_BUTTONS = 0xF;        // the buttons' part of the flags
constexpr int BOX_QUESTION = 0x20;
constexpr int BOX_INFORMATION = 0x40;
constexpr int ANSWERED_OK = 1;
constexpr int ANSWERED_CANCEL = 2;
constexpr int ANSWERED_YES = 6;
constexpr int ANSWERED_NO = 7;

int platformMessageBox(const char* textUtf8, const char* captionUtf8, int flags);
// The same with the answers' own words on its buttons (Yes, No and, for
// BOX_YES_NO_CANCEL, Cancel; nullptr keeps the plain word).
struct MessageBoxAnswers {
  const char* yesUtf8;
  const char* noUtf8;
  const char* cancelUtf8;
};
int platformMessageBoxWith(const char* textUtf8, const char* captionUtf8, int flags, const MessageBoxAnswers& answers);

// ---------------------------------------------------------------------------
// Keyboard and mouse devices: a key-down table by DirectInput scan code and the
// mouse's relative motion and four buttons. After focus loss a device reports
// DEV_INPUTLOST until it is acquired again.
enum DeviceStatus { DEV_OK = 0, DEV_ALREADY = 1, DEV_INPUTLOST = 2, DEV_FAILED = 3 };
enum DeviceId { DEVICE_KEYBOARD = 0, DEVICE_MOUSE = 1 };

struct PlatMouseState {
  int32_t x, y, wheel;       // relative motion since the last read
  uint8_t buttons[4];        // bit 7 set = down
};

int platformDeviceCreate(int device);  // 1 on success
int platformDeviceAcquire(int device);  // DEV_OK, DEV_ALREADY or DEV_FAILED
void platformDeviceUnacquire(int device);
int platformKeyboardRead(uint8_t keys[256]);       // DEV_OK or DEV_INPUTLOST
int platformMouseRead(PlatMouseState* state);      // DEV_OK or DEV_INPUTLOST
