// The attribute dialog: one value from 0 to 999 for the marked cells.
#include <cstdio>

#include "dialogs/control_ids.h"
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "platform/platform.h"

namespace {
constexpr int VALUE_COUNT = 1000;
struct AttributeRun {
  int32_t openOn;   // the value the dialog preselects
  int32_t* choice;  // where OK leaves the value
};

// The typed number: -1 when the field is empty, -2 when it holds anything but
// a whole number from 0 to 999.
int typedValue(DlgHandle* h) {
  char text[16];
  const int n = dlgGetText(h, ATTRIBUTE_TYPED, text, sizeof text);
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

int attributeDialogProc(DlgHandle* h, void* context, int event, int id, int notification) {
  const AttributeRun& run = *static_cast<const AttributeRun*>(context);
  if (event == DLG_INIT) {
    for (int v = 0; v < VALUE_COUNT; ++v) {
      char entry[8];
      std::snprintf(entry, sizeof entry, "%d", v);
      dlgListAdd(h, ATTRIBUTE_LIST, entry);
    }
    dlgListSetCurSel(h, ATTRIBUTE_LIST, run.openOn);  // outside 0..999: nothing chosen
    return 0;
  }
  if (event != DLG_COMMAND) return 0;
  // The list follows what is typed, as far as it is a number of the list.
  if (id == ATTRIBUTE_TYPED && notification == DLGN_EDITCHANGE) {
    if (typedValue(h) >= 0) dlgListSetCurSel(h, ATTRIBUTE_LIST, typedValue(h));
    return 0;
  }
  // A choice in the list empties the field: the list's value is the one.
  if (id == ATTRIBUTE_LIST && notification == DLGN_SELCHANGE) {
    dlgSetText(h, ATTRIBUTE_TYPED, "");
    return 0;
  }
  if (notification != DLGN_CLICKED) return 0;
  if (id == DLG_OK_BUTTON) {
    const int typed = typedValue(h);
    if (typed == -2) {
      dlgMessageBox(h, uiText(texts::ATTRIBUTE_OUT_OF_RANGE), uiText(texts::CAPTION_HUH), BOX_OK | BOX_QUESTION);
      return 0;
    }
    *run.choice = typed >= 0 ? typed : static_cast<int32_t>(dlgGetUInt(h, ATTRIBUTE_LIST));
    dlgEnd(h, 1);
  } else if (id == DLG_CANCEL_BUTTON) {
    dlgEnd(h, 0);
  }
  return 0;
}

int attributeDialog(int32_t initial, int32_t* chosen) {
  AttributeRun run{initial, chosen};
  return dlgRun(shownTemplate(ATTRIBUTE_TEMPLATE), attributeDialogProc, &run) == 1 ? 1 : 0;
}
