// The attribute dialog: one value from 0 to 999 for the marked cells.
#include <cstdio>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "platform/platform.h"

namespace {
constexpr int ID_VALUE = 1007;
constexpr int ID_TYPED = 1008;  // the number field beside the list
constexpr int VALUE_COUNT = 1000;
int32_t openOn;         // the value the running dialog preselects
int32_t* choice;        // where OK leaves the value
// The typed number: -1 when the field is empty, -2 when it holds anything but
// a whole number from 0 to 999.
int typedValue(DlgHandle* h) {
  char text[16];
  const int n = dlgGetText(h, ID_TYPED, text, sizeof text);
  if (n == 0) return -1;
  if (n < 0 || n > 3) return -2;
  int v = 0;
  for (int i = 0; i < n; ++i) {
    if (text[i] < '0' || text[i] > '9') return -2;
    v = v * 10 + (text[i] - '0');
  }
  return v;
}

}  // namespace

int attributeDialogProc(DlgHandle* h, int event, int id, int notification) {
  if (event == DLG_INIT) {
    for (int v = 0; v < VALUE_COUNT; ++v) {
      char entry[8];
      std::snprintf(entry, sizeof entry, "%d", v);
      dlgListAdd(h, ID_VALUE, entry);
    }
    dlgListSetCurSel(h, ID_VALUE, openOn);  // outside 0..999: nothing chosen
    return 0;
  }
  if (event != DLG_COMMAND) return 0;
  // The list follows what is typed, as far as it is a number of the list.
  if (id == ID_TYPED && notification == DLGN_EDITCHANGE) {
    if (typedValue(h) >= 0) dlgListSetCurSel(h, ID_VALUE, typedValue(h));
    return 0;
  }
  // A choice in the list empties the field: the list's value is the one.
  if (id == ID_VALUE && notification == DLGN_SELCHANGE) {
    dlgSetText(h, ID_TYPED, "");
    return 0;
  }
  if (notification != DLGN_CLICKED) return 0;
  if (id == DLG_IDOK) {
    const int typed = typedValue(h);
    if (typed == -2) {
      dlgMessageBox(h, uiText(texts::ATTRIBUTE_OUT_OF_RANGE), uiText(texts::CAPTION_HUH), MB_OK | MB_ICONQUESTION);
      return 0;
    }
    *choice = typed >= 0 ? typed : static_cast<int32_t>(dlgGetUInt(h, ID_VALUE));
    dlgEnd(h, 1);
  } else if (id == DLG_IDCANCEL) {
    dlgEnd(h, 0);
  }
  return 0;
}

int attributeDialog(int32_t initial, int32_t* chosen) {
  openOn = initial;
  choice = chosen;
  return dlgRun(shownTemplate(ATTRIBUTE_TEMPLATE), attributeDialogProc) == 1 ? 1 : 0;
}
