// [SECTION] Frame composition: the layers in order, the frame time, the
// present and the rate count.
#include <cstdio>
#include <cstdlib>

#include "gfx/compose.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

// The ring of frame lengths, the newest at timeNext - 1 (modulo its size),
// is a history for looking at pacing from outside the process
// (bench/idle.sh reads it): one store per frame.
FrameTiming frameTiming;

namespace {

struct FrameClock {
  uint32_t (*clock)();
  uint32_t frameStart;
  int32_t frameCounter;
  uint32_t rateStart;  // 0 at program start: the first present ends an interval at once
  uint32_t modalAtStart;  // the platform's modal time when the frame began
};
FrameClock frameClock = {nullptr, 0, 0, 0, 0};

inline uint32_t now() { return frameClock.clock ? frameClock.clock() : platformMillis(); }

// With BRINDLECOT_FRAME_LOG naming a file, one line per second of frames is
// appended to it: the frames, those that changed the window, its paints, the
// longest frame and the frames over 17 ms (a frame missed at 60 Hz). It is how
// pacing is watched from outside without stopping the process; without the
// variable nothing is counted or written.
struct FrameLog {
  bool opened;
  std::FILE* file;
  uint32_t longest, slow;
  PlatPresentCounts last;
};
FrameLog frameLog = {false, nullptr, 0, 0, {0, 0, 0}};

void logFrame(uint32_t frameMs) {
  if (!frameLog.opened) {
    frameLog.opened = true;
    const char* path = std::getenv("BRINDLECOT_FRAME_LOG");
    if (path && *path) frameLog.file = std::fopen(path, "a");
    platformPresentCounts(&frameLog.last);
  }
  if (!frameLog.file) return;
  if (frameMs > frameLog.longest) frameLog.longest = frameMs;
  if (frameMs > 17) ++frameLog.slow;
}

void writeFrameLog(uint32_t elapsedMs) {
  if (!frameLog.file) return;
  PlatPresentCounts c;
  platformPresentCounts(&c);
  std::fprintf(frameLog.file, "ms %u frames %u changed %u paints %u longest %u over17 %u\n", elapsedMs,
               c.frames - frameLog.last.frames, c.changed - frameLog.last.changed, c.paints - frameLog.last.paints,
               frameLog.longest, frameLog.slow);
  std::fflush(frameLog.file);
  frameLog.last = c;
  frameLog.longest = frameLog.slow = 0;
}

}  // namespace

void gfxSetClockForTests(uint32_t (*clock)()) { frameClock.clock = clock; }

void resetFrameClock() {
  frameTiming.seconds = 0.0f;
  frameClock.frameStart = now();
  frameClock.modalAtStart = platformModalMillis();
}

void resetFrameCounters() {
  frameTiming.drawCount = 0;
  frameTiming.framesPerSecond = 0;
  frameClock.frameCounter = 0;
  frameClock.rateStart = 0;
}

void flushAllLayers() {
  composeParts(nullptr, 0);
  emptyQueues();
  presentMissed();  // written outside the present's reckoning
}

void presentFrame() {
  frameTiming.drawCount = 0;
  const PlatRect* parts = nullptr;
  const int partCount = reckonDamage(&parts);
  composeParts(parts, partCount);
  emptyQueues();
  // Unsigned differences stay right across the clock's wrap. A dialog opened
  // in this frame held it while the user answered: that time is not frame
  // time, or a held key or auto-scroll would catch it up in one jump.
  const uint32_t modalMs = platformModalMillis() - frameClock.modalAtStart;
  uint32_t frameMs = now() - frameClock.frameStart;
  frameMs = frameMs > modalMs ? frameMs - modalMs : 0u;
  frameTiming.seconds = static_cast<float>(frameMs) * 0.001f;
  frameClock.frameStart = now();
  frameClock.modalAtStart = platformModalMillis();
  frameTiming.timeLog[frameTiming.timeNext++ % FRAME_TIME_LOG_SIZE] =
      static_cast<uint16_t>(frameMs > 0xFFFFu ? 0xFFFFu : frameMs);
  logFrame(frameMs);
  if (!presentBackBuffer(parts, partCount)) presentMissed();
  ++frameClock.frameCounter;
  uint32_t elapsed = now() - frameClock.rateStart;
  if (elapsed > 1000u) {
    writeFrameLog(elapsed);
    frameTiming.framesPerSecond =
        static_cast<int32_t>(static_cast<uint32_t>(frameClock.frameCounter) * 1000u / elapsed);
    frameClock.rateStart = now();
    frameClock.frameCounter = 0;
  }
}
