// Weak placeholders for the window code's operations that the graphics
// subsystem calls; the real definitions replace them.
#include <QApplication>

#include <chrono>

#include "platform/platform.h"

namespace {
int stubLost = 0, stubFailed = 0;
}

__attribute__((weak)) int platformInit(int argc, char** argv) {
  static int argcStore = 0;
  static char* argvStore[2] = {nullptr, nullptr};
  (void)argc;
  (void)argv;
  static char name[] = "brindlecot";
  argvStore[0] = name;
  argcStore = 1;
  if (!QApplication::instance()) new QApplication(argcStore, argvStore);
  return 1;
}

__attribute__((weak)) uint32_t platformMillis() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

__attribute__((weak)) int platformPresent(const uint16_t*, int, int, int) {
  if (stubLost > 0) {
    --stubLost;
    return PRESENT_LOST;
  }
  if (stubFailed > 0) {
    --stubFailed;
    return PRESENT_FAILED;
  }
  return PRESENT_OK;
}

__attribute__((weak)) void platformSimulatePresentFailures(int lostCount, int failCount) {
  stubLost = lostCount;
  stubFailed = failCount;
}
