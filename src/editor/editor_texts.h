// The texts the editor itself shows on its screen, in UTF-8, kept together so
// that a second language has one place to go. They reach the screen as
// Shift_JIS through SJIS(). (The balloons of the buttons are pictures: their
// texts live with the artwork generator.)
#pragma once

namespace editor_texts {

// The map window's status after a chip replace: the hover position in map
// pixels, then how many cells took the brush's chip.
inline constexpr const char* REPLACED_STATUS = "[%d,%d] %dマスおきかえたよ";

}  // namespace editor_texts
