#include "platform/keymap.h"

#include <Qt>

int scanCodeForLinuxKey(int code) {
  // Codes 1..88 of the Linux input layer are the PC's set-1 scan codes, which
  // is also the numbering of the table (Esc 0x01 .. F12 0x58).
  if (code >= 1 && code <= 88 && code != 84 && code != 85) return code;
  switch (code) {
    case 89: return 0x73;   // Ro (JIS backslash/underscore)
    case 92: return 0x79;   // Henkan (convert)
    case 93: return 0x70;   // Katakana/Hiragana
    case 94: return 0x7B;   // Muhenkan (no convert)
    case 96: return 0x9C;   // keypad Enter
    case 97: return 0x9D;   // right Ctrl
    case 98: return 0xB5;   // keypad /
    case 99: return 0xB7;   // SysRq / Print Screen
    case 100: return 0xB8;  // right Alt
    case 102: return 0xC7;  // Home
    case 103: return 0xC8;  // Up
    case 104: return 0xC9;  // Page Up
    case 105: return 0xCB;  // Left
    case 106: return 0xCD;  // Right
    case 107: return 0xCF;  // End
    case 108: return 0xD0;  // Down
    case 109: return 0xD1;  // Page Down
    case 110: return 0xD2;  // Insert
    case 111: return 0xD3;  // Delete
    case 119: return 0xC5;  // Pause
    case 124: return 0x7D;  // Yen
    case 125: return 0xDB;  // left Windows
    case 126: return 0xDC;  // right Windows
    case 127: return 0xDD;  // Menu
    default: return 0;
  }
}

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
