// The attribute dialog: one value from 0 to 999 for the marked cells.
#include <cstdio>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"

namespace {
constexpr int ID_VALUE = 1007;
constexpr int VALUE_COUNT = 1000;
int32_t openOn;         // the value the running dialog preselects
int32_t* choice;        // where OK leaves the value
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
  if (event != DLG_COMMAND || notification != DLGN_CLICKED) return 0;
  if (id == DLG_IDOK) {
    *choice = static_cast<int32_t>(dlgGetUInt(h, ID_VALUE));
    dlgEnd(h, 1);
  } else if (id == DLG_IDCANCEL) {
    dlgEnd(h, 0);
  }
  return 0;
}

int attributeDialog(int32_t initial, int32_t* chosen) {
  openOn = initial;
  choice = chosen;
  return dlgRun(ATTRIBUTE_TEMPLATE, attributeDialogProc) == 1 ? 1 : 0;
}
