// The steady millisecond clock, sleeping and the local time.
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/platform.h"

uint32_t platformMillis() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void platformSleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void platformLocalTime(PlatLocalTime* t) {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::time_t now = ts.tv_sec;
  std::tm tm{};
  localtime_r(&now, &tm);
  t->year = tm.tm_year + 1900;
  t->month = tm.tm_mon + 1;
  t->day = tm.tm_mday;
  t->hour = tm.tm_hour;
  t->minute = tm.tm_min;
  t->second = tm.tm_sec;
  t->millisecond = static_cast<int>(ts.tv_nsec / 1000000);
}
