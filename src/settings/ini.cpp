#include "settings/ini.h"
#include "map/numparse.h"

#include <cstring>

#include "platform/sjis.h"

namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

void trim(const char** b, const char** e) {
  while (*b < *e && isBlank(**b)) ++*b;
  while (*e > *b && isBlank((*e)[-1])) --*e;
}

inline char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Byte-exact, ASCII letters folded outside double-byte characters (a trail
// byte may lie in the letter range and must stay as it is).
bool sameName(const char* a, size_t alen, const char* b) {
  size_t blen = std::strlen(b);
  if (alen != blen) return false;
  for (size_t i = 0; i < alen; ++i) {
    if (sjisIsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < alen) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

// Calls back for each line: [b, e) without its line end.
template <typename Fn>
void forEachLine(const IniText& ini, Fn fn) {
  const char* p = ini.data;
  const char* end = ini.data + ini.len;
  while (p < end) {
    const char* e = p;
    while (e < end && *e != '\r' && *e != '\n') ++e;
    if (!fn(p, e)) return;
    if (e >= end) return;
    p = e + 1;
    if (*e == '\r' && p < end && *p == '\n') ++p;
  }
}

// Finds the value of section/key; 1 and [*vb, *ve) trimmed when found.
int findValue(const IniText& ini, const char* section, const char* key, const char** vb, const char** ve) {
  if (!ini.data) return 0;
  bool inSection = false;
  bool sectionSeen = false;
  int found = 0;
  forEachLine(ini, [&](const char* b, const char* e) {
    trim(&b, &e);
    if (b < e && *b == '[') {
      if (sectionSeen) return false;  // only the first section of that name counts
      const char* close = static_cast<const char*>(std::memchr(b, ']', static_cast<size_t>(e - b)));
      if (!close) close = e;
      const char* nb = b + 1;
      const char* ne = close;
      trim(&nb, &ne);
      inSection = sameName(nb, static_cast<size_t>(ne - nb), section);
      sectionSeen = inSection;
      return true;
    }
    if (!inSection) return true;
    const char* eq = static_cast<const char*>(std::memchr(b, '=', static_cast<size_t>(e - b)));
    if (!eq) return true;
    const char* kb = b;
    const char* ke = eq;
    trim(&kb, &ke);
    if (!sameName(kb, static_cast<size_t>(ke - kb), key)) return true;
    const char* xb = eq + 1;
    const char* xe = e;
    trim(&xb, &xe);
    *vb = xb;
    *ve = xe;
    found = 1;
    return false;
  });
  return found;
}

}  // namespace

int32_t iniReadInt(const IniText& ini, const char* section, const char* key, int32_t def) {
  const char* b;
  const char* e;
  if (!findValue(ini, section, key, &b, &e) || b == e) return def;
  return readDecimal(b, e);
}

size_t iniReadString(const IniText& ini, const char* section, const char* key, char* out, size_t outSize) {
  if (outSize == 0) return 0;
  out[0] = 0;
  const char* b;
  const char* e;
  if (!findValue(ini, section, key, &b, &e)) return 0;
  size_t n = sjisCutLength(b, static_cast<size_t>(e - b), outSize - 1);
  std::memcpy(out, b, n);
  out[n] = 0;
  return n;
}

void IniBuilder::put(const char* s, size_t n) {
  if (overflow_) return;
  if (n > capacity_ - used_) {
    overflow_ = true;
    return;
  }
  std::memcpy(store_ + used_, s, n);
  used_ += n;
}

void IniBuilder::section(const char* name) {
  put("[", 1);
  put(name, std::strlen(name));
  put("]\r\n", 3);
}

void IniBuilder::line(const char* text) {
  put(text, std::strlen(text));
  put("\r\n", 2);
}

void IniBuilder::lineInt(const char* prefix, int32_t v) {
  char text[12];
  char* end = putDecimal(text, v, 0);
  put(prefix, std::strlen(prefix));
  put(text, static_cast<size_t>(end - text));
  put("\r\n", 2);
}

void IniBuilder::key(const char* name, const char* value) {
  put(name, std::strlen(name));
  put("=", 1);
  // A line end inside a value would start a line of its own; the value ends there.
  size_t n = std::strcspn(value, "\r\n");
  put(value, n);
  put("\r\n", 2);
}
