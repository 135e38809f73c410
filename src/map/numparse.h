// The numbers of the program's text files: the one reading rule of the map
// files, old and new (leading white space, one optional sign, decimal digits up
// to the first byte that is not one), and the decimal writing of map and
// settings files.
#pragma once

#include <cstdint>

// Reads one optional sign and decimal digits from [p, end), with no white
// space before them (the settings file's values come trimmed). No digits give
// 0. A value beyond the 32-bit range is held at INT32_MAX or INT32_MIN, so
// hostile input has one fixed meaning. *stop (when given) receives the first
// byte not taken.
inline int32_t readDecimal(const char* p, const char* end, const char** stop = nullptr) {
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = (*p == '-');
    ++p;
  }
  // Collected as a magnitude in 64 bits, held just past the int32 range.
  int64_t magnitude = 0;
  while (p < end && static_cast<unsigned>(*p - '0') < 10u) {
    if (magnitude <= INT64_C(2147483648)) magnitude = magnitude * 10 + (*p - '0');
    ++p;
  }
  if (stop) *stop = p;
  if (negative) {
    return magnitude >= INT64_C(2147483648) ? INT32_MIN : static_cast<int32_t>(-magnitude);
  }
  return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

// The map files' rule: leading white space, then readDecimal.
inline int32_t readMapNumber(const char* p, const char* end, const char** stop = nullptr) {
  while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r')) ++p;
  return readDecimal(p, end, stop);
}

// Writes v in decimal, right-aligned in at least `width` characters with
// leading blanks ("%*d" without a locale). Returns the end of what was written.
inline char* putDecimal(char* out, int32_t v, int width) {
  char digits[12];
  int n = 0;
  uint32_t u = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
  do {
    digits[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (v < 0) digits[n++] = '-';
  for (int pad = n; pad < width; ++pad) *out++ = ' ';
  while (n > 0) *out++ = digits[--n];
  return out;
}
