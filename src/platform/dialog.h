// Modal dialogs built from templates that are plain data.
//
// A template names its controls by id, kind, caption and position in dialog
// units; `dlgRun` turns it into a modal form and drives a procedure with
// it. The procedure reads and writes the controls by id through
// the dlg* operations below. Texts going in and out of controls are Shift_JIS
// (the program's stores); captions in templates are UTF-8.
//
// The window back end shows real forms (Qt widgets; the headless back end has
// none, and dlgRun returns -1 there); an in-memory double of the same controls
// serves test scripts over either (platform/testing.h).
#pragma once

enum DlgControlKind {
  DLG_PUSH = 0,
  DLG_DEFPUSH,
  DLG_RADIO,     // auto radio button: consecutive radios form one group
  DLG_CHECK,     // auto check box
  DLG_EDIT,
  DLG_STATIC,
  DLG_GROUP,
  DLG_ICON,      // the program icon
  DLG_COMBO,     // drop-down list; h is the height of the opened list
  DLG_TRACKBAR,  // horizontal, without tick marks
};

// Edit field styles.
constexpr int DLG_EDIT_BORDER = 1;
constexpr int DLG_EDIT_READONLY = 2;
constexpr int DLG_EDIT_CENTRE = 4;
constexpr int DLG_EDIT_AUTOSCROLL = 8;

constexpr int DLG_NO_ID = -1;  // a control the procedure never addresses

struct DlgControl {
  int id;
  int kind;
  int style;                // DLG_EDIT_* for edit fields, else 0
  const char* captionUtf8;  // "" for none
  int x, y, w, h;           // dialog units
};

enum DlgPlacement { DLG_PLACE_CENTRED = 0, DLG_PLACE_AT_POINTER = 1 };

struct DlgTemplate {
  int resourceId;
  const char* captionUtf8;
  int w, h;  // client size in dialog units
  int placement;
  int systemMenu;  // 1: close box; 0: none (Escape still cancels)
  const char* fontNameUtf8;
  int fontPoints;
  const DlgControl* controls;
  int controlCount;
};

// Events a procedure receives.
enum DlgEvent { DLG_INIT = 0, DLG_COMMAND = 1 };

// Notification codes of DLG_COMMAND.
constexpr int DLGN_CLICKED = 0;     // button pressed (also Escape / close box as id 2)
constexpr int DLGN_SELCHANGE = 1;   // a list entry was chosen
constexpr int DLGN_SETFOCUS = 3;    // a list took the keyboard focus
constexpr int DLGN_DROPDOWN = 7;    // a list was opened
constexpr int DLGN_CLOSEUP = 8;     // a list was closed
constexpr int DLGN_EDITCHANGE = 0x300;

constexpr int DLG_OK_BUTTON = 1;
constexpr int DLG_CANCEL_BUTTON = 2;

struct DlgHandle;
// The procedure's return value is ignored. `context` is the one given
// to dlgRun: what the running dialog opened on and where it leaves its answer.
using DlgProc = int (*)(DlgHandle* h, void* context, int event, int id, int notification);

// Shows the dialog modally (owned by the active window, if any) and returns the
// result passed to dlgEnd. Escape and the close box send DLG_COMMAND for id 2
// when the template has a control 2; without one they do nothing.
int dlgRun(const DlgTemplate& tmpl, DlgProc proc, void* context = nullptr);

// --- Operations on controls. Unknown ids are ignored (reads give 0 / "").
void dlgSetText(DlgHandle* h, int id, const char* sjis);
// Copies the control's text as Shift_JIS into `out` of `outSize` bytes.
// Returns the byte length, or -1 when the text cannot be held in Shift_JIS or
// does not fit (out is then "").
int dlgGetText(DlgHandle* h, int id, char* out, int outSize);
// The same for a field holding a file path, which is UTF-8 in and out; -1
// when the typed name is not valid UTF-8 or does not fit.
void dlgSetPath(DlgHandle* h, int id, const char* path);
int dlgGetPath(DlgHandle* h, int id, char* out, int outSize);
void dlgCheck(DlgHandle* h, int id, int checked);
int dlgIsChecked(DlgHandle* h, int id);
void dlgEnable(DlgHandle* h, int id, int enabled);
int dlgIsEnabled(DlgHandle* h, int id);
void dlgListAdd(DlgHandle* h, int id, const char* sjis);
// An index outside the list leaves nothing chosen (the list shows nothing).
void dlgListSetCurSel(DlgHandle* h, int id, int index);
int dlgListGetCurSel(DlgHandle* h, int id);  // -1 when nothing is chosen
// The unsigned number the control shows (leading digits), 0 when it shows none.
unsigned dlgGetUInt(DlgHandle* h, int id);
void dlgSetUInt(DlgHandle* h, int id, unsigned value);
void dlgTrackbarSetRange(DlgHandle* h, int id, int lo, int hi);
void dlgTrackbarSetPos(DlgHandle* h, int id, int pos);  // clamped into the range
int dlgTrackbarGetPos(DlgHandle* h, int id);
void dlgSetProgramIcon(DlgHandle* h);
void dlgEnd(DlgHandle* h, int result);
// A message box owned by the dialog (UTF-8 texts, platformMessageBox flags).
int dlgMessageBox(DlgHandle* h, const char* textUtf8, const char* captionUtf8, int flags);

// Dialog units to pixels for the dialog font (the Windows rule: x by a quarter
// of the average character width, y by an eighth of the character height).
// Forms, message boxes and choosers opened from now on are drawn `scale`
// times their size (dialog units and fonts), at least 1.
void dlgSetScale(int scale);
int dlgUnitsToPixelsX(int dlu);
int dlgUnitsToPixelsY(int dlu);
