// Scan codes of the keyboard table (the DirectInput numbering the editor's
// buttons are defined in) from the codes a window system reports.
#pragma once

#include <cstdint>

// Qt back end: on X11 the native scan code is the X key code (Linux input
// code + 8), which tells left and right Ctrl and Shift apart; elsewhere the
// Qt key is mapped. 0 when the key has no place in the table.
int scanCodeForKey(uint32_t nativeScanCode, int qtKey, uint32_t nativeVirtualKey);
// The Linux input code of a key to its scan code; 0 when unknown.
int scanCodeForLinuxKey(int code);
