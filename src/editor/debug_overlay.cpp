// [SECTION] The F4 debug overlay: what the input read saw and the frame rate,
// as white and pale red lines on layer 3. Shown while settings.showDebugInfo is 1.
#include <cstdio>
#include <cstring>

#include "dialogs/texts.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "platform/sjis.h"
#include "settings/settings.h"

namespace {

constexpr int OVERLAY_LAYER = 3;

// "キーボード:" and "%02x " per key down. Whole entries only: the text store
// holds 127 bytes, so the line stops before an entry that would not fit.
void queueKeyboardLine() {
  char line[TEXT_STORE];
  const char* prefix = uiTextSjis(texts::DEBUG_KEYS);
  size_t n = std::strlen(prefix);
  std::memcpy(line, prefix, n);
  for (int code = 0; code < 256; ++code) {
    if ((inputState.keyState[code] & 0x80) == 0) continue;
    if (n + 3 > TEXT_STORE - 1) break;
    std::snprintf(line + n, sizeof line - n, "%02x ", code);
    n += 3;
  }
  line[n] = 0;
  queueText(212, 0, COLOR_WHITE, line, OVERLAY_LAYER);
}

void queueMouseLines() {
  char line[TEXT_STORE];
  std::snprintf(line, sizeof line, "%.16s[%3d,%3d]", uiTextSjis(texts::DEBUG_MOUSE), inputState.mouseDX,
                inputState.mouseDY);
  queueText(0, 0, COLOR_WHITE, line, OVERLAY_LAYER);
  for (int i = 0; i < 4; ++i)
    queueText(132 + 16 * i, 0, COLOR_WHITE, (inputState.mouseButtonsRead[i] & 0x80) ? SJIS("●") : SJIS("○"),
              OVERLAY_LAYER);
}

}  // namespace

void queueDebugInputLines() {
  if (settings.showDebugInfo != 1) return;
  if (inputState.keyboardReadOk == 1) queueKeyboardLine();
  if (inputState.mouseReadOk == 1) queueMouseLines();
}

void queueDebugRateLine() {
  if (settings.showDebugInfo != 1) return;
  char line[TEXT_STORE];
  std::snprintf(line, sizeof line, "%4dfps:%6.4fms,OBJ:%d", frameTiming.framesPerSecond,
                static_cast<double>(frameTiming.seconds), frameTiming.drawCount);
  queueText(0, screenMetrics.canvasH - 16, COLOR_RATE_RED, line, OVERLAY_LAYER);
}
