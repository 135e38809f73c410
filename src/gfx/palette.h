// Every colour the program draws with, in one place. Colours are GDI colours,
// 0x00BBGGRR, as the queues and the colour keys take them.
#pragma once

#include <cstdint>

constexpr uint32_t COLOR_WHITE = 0xFFFFFF;        // texts, the hover box under the brush
constexpr uint32_t COLOR_TEXT_SHADOW = 0x000000;  // drawn one pixel down and right of every text
constexpr uint32_t COLOR_PINK = 0xFF7FFF;         // a rectangle being dragged, the attribute outline
constexpr uint32_t COLOR_LIGHT_CYAN = 0xFFFF7F;   // the picked block on the chip sheet
constexpr uint32_t COLOR_GUIDE_GREY = 0x808080;   // the map window's guide lines
constexpr uint32_t COLOR_RATE_RED = 0x7F7FFF;     // the F4 overlay's frame-rate line

// Colour keys: a source pixel that converts to the key's raw value is not copied.
constexpr uint32_t KEY_BLACK = 0x000000;
constexpr uint32_t KEY_MES = 0x007F00;  // red 0, green 127, blue 0
