// Scan codes of the keyboard table from what Qt reports of a key.
#include <Qt>

#include "platform/keymap.h"

namespace {
int scanCodeForQtKey(int key) {
  // Letters and digits by their place on a QWERTY keyboard.
  static const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static const int rowStart[] = {0x10, 0x1E, 0x2C};
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    for (int r = 0; r < 3; ++r)
      for (int i = 0; rows[r][i]; ++i)
        if (rows[r][i] == key) return rowStart[r] + i;
  }
  if (key >= Qt::Key_1 && key <= Qt::Key_9) return 0x02 + (key - Qt::Key_1);
  if (key == Qt::Key_0) return 0x0B;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F10) return 0x3B + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_F11: return 0x57;
    case Qt::Key_F12: return 0x58;
    case Qt::Key_Escape: return 0x01;
    case Qt::Key_Tab: return 0x0F;
    case Qt::Key_Backspace: return 0x0E;
    case Qt::Key_Return: return 0x1C;
    case Qt::Key_Enter: return 0x9C;
    case Qt::Key_Space: return 0x39;
    case Qt::Key_Control: return 0x1D;
    case Qt::Key_Shift: return 0x2A;
    case Qt::Key_Alt: return 0x38;
    case Qt::Key_Up: return 0xC8;
    case Qt::Key_Down: return 0xD0;
    case Qt::Key_Left: return 0xCB;
    case Qt::Key_Right: return 0xCD;
    case Qt::Key_Home: return 0xC7;
    case Qt::Key_End: return 0xCF;
    case Qt::Key_PageUp: return 0xC9;
    case Qt::Key_PageDown: return 0xD1;
    case Qt::Key_Insert: return 0xD2;
    case Qt::Key_Delete: return 0xD3;
    default: return 0;
  }
}
}  // namespace

int scanCodeForKey(uint32_t nativeScanCode, int qtKey, uint32_t) {
  if (nativeScanCode >= 9 && nativeScanCode < 9 + 256) {
    int code = scanCodeForLinuxKey(static_cast<int>(nativeScanCode) - 8);
    if (code) return code;
  }
  return scanCodeForQtKey(qtKey);
}
