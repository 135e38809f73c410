#include "platform/keymap.h"

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
