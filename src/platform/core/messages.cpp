// The message ring, its loop operations, the clock of modal windows and the
// arguments a toolkit application is made with.
#include "platform/core/messages.h"

#include "platform/core/backend.h"
#include "platform/core/modal.h"
#include "platform/core/picture.h"
#include "platform/platform.h"

namespace {

constexpr int QUEUE_SIZE = 256;

// A full ring drops the newest message: the program posts only a handful per
// frame, and a flood of window events must not grow memory.
PlatMessage ring[QUEUE_SIZE];
int ringHead = 0, ringCount = 0;
WindowProc windowProc = nullptr;
bool inputNoted = false;

bool popMessage(PlatMessage* m) {
  if (ringCount == 0) return false;
  *m = ring[ringHead];
  ringHead = (ringHead + 1) % QUEUE_SIZE;
  --ringCount;
  return true;
}

struct ModalTime {
  int depth = 0;
  uint32_t start = 0;
  uint32_t total = 0;
};
ModalTime modalTime;

}  // namespace

void platMessagePush(const PlatMessage& m) {
  if (ringCount == QUEUE_SIZE) return;
  ring[(ringHead + ringCount) % QUEUE_SIZE] = m;
  ++ringCount;
}

int platMessagesWaiting() { return ringCount; }

int platformPeekMessage() {
  backendPumpEvents();
  return ringCount > 0 ? 1 : 0;
}

int platformGetMessage(PlatMessage* m) {
  while (ringCount == 0) platformWaitMessage();
  popMessage(m);
  return m->kind == MESSAGE_QUIT ? 0 : 1;
}

void platformDispatchMessage(const PlatMessage& m) {
  if (windowProc) windowProc(m);
}

void platformSetWindowProc(WindowProc proc) { windowProc = proc; }

void platformWaitMessage() {
  while (ringCount == 0)
    if (!backendWaitEvents()) return;  // nothing could ever arrive
}

void platNoteInput() { inputNoted = true; }

void platInputTaken() { inputNoted = false; }

int platformWaitForInput(uint32_t timeoutMs) {
  const uint32_t start = platformMillis();
  int arrived = 0;
  for (;;) {
    if (ringCount > 0 || inputNoted) {
      arrived = 1;
      break;
    }
    uint32_t left = WAIT_FOREVER;
    if (timeoutMs != WAIT_FOREVER) {
      const uint32_t spent = platformMillis() - start;
      if (spent >= timeoutMs) break;
      left = timeoutMs - spent;
    }
    if (!backendWaitEventsFor(left)) break;  // nothing could ever arrive
  }
  // The frame that follows reads whatever arrived.
  inputNoted = false;
  return arrived;
}

void platformPostMessage(int kind, intptr_t value, intptr_t modifiers) {
  platMessagePush(PlatMessage{kind, value, modifiers});
  backendWakeWaiter();
}

void platformPostQuit(int exitCode) { platformPostMessage(MESSAGE_QUIT, exitCode, 0); }

void platformResetMessages() { ringHead = ringCount = 0; }

void platModalBegin() {
  if (modalTime.depth++ == 0) modalTime.start = platformMillis();
}

void platModalEnd() {
  if (--modalTime.depth == 0) modalTime.total += platformMillis() - modalTime.start;
}

uint32_t platformModalMillis() {
  return modalTime.total + (modalTime.depth > 0 ? platformMillis() - modalTime.start : 0u);
}

int& platAppArgc() {
  static int argc = 1;
  return argc;
}

char** platAppArgv(int argc, char** argv) {
  static char name[] = "brindlecot";
  static char* store[2];
  store[0] = argc > 0 && argv ? argv[0] : name;
  store[1] = nullptr;
  platAppArgc() = 1;
  return store;
}
