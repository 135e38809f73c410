#include "platform/sjis.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>

namespace {

// The two converters are opened once per thread and kept: opening one
// allocates, and every text of every frame goes through here. A converter
// keeps state, so a thread that writes files beside the frame's has its own.
iconv_t converter(bool toSjis) {
  static thread_local iconv_t toSjisCd = (iconv_t)-1, fromSjisCd = (iconv_t)-1;
  iconv_t& cd = toSjis ? toSjisCd : fromSjisCd;
  if (cd == (iconv_t)-1) cd = toSjis ? iconv_open("CP932", "UTF-8") : iconv_open("UTF-8", "CP932");
  return cd;
}

int convert(bool toSjis, const char* in, size_t inLen, char* out, size_t outSize) {
  if (outSize == 0) return -1;
  out[0] = 0;
  iconv_t cd = converter(toSjis);
  if (cd == (iconv_t)-1) return -1;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  char* inPtr = const_cast<char*>(in);
  size_t inLeft = inLen;
  char* outPtr = out;
  size_t outLeft = outSize - 1;  // room for the terminator
  size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (r != (size_t)-1) r = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  // iconv counts irreversible conversions in r; CP932 maps some characters
  // one way only (e.g. fullwidth tilde variants). Those are refused too, so a
  // name never changes between what the user typed and what is stored.
  if (r == (size_t)-1 || r != 0 || inLeft != 0) {
    out[0] = 0;
    return -1;
  }
  *outPtr = 0;
  return static_cast<int>(outPtr - out);
}

}  // namespace

int utf8ToSjis(const char* utf8, char* out, size_t outSize) {
  return convert(true, utf8, std::strlen(utf8), out, outSize);
}

int sjisToUtf8(const char* sjis, char* out, size_t outSize) {
  return convert(false, sjis, std::strlen(sjis), out, outSize);
}

int sjisToUtf8N(const char* sjis, size_t len, char* out, size_t outSize) {
  return convert(false, sjis, len, out, outSize);
}

bool utf8IsValid(const char* s) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  while (*p) {
    unsigned c = *p;
    int more = 0;
    unsigned min = 0;
    if (c < 0x80) {
      ++p;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      more = 1, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3, min = 0x10000;
    } else {
      return false;
    }
    unsigned code = c & (0x3Fu >> more);
    for (int i = 1; i <= more; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (p[i] & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    p += more + 1;
  }
  return true;
}

int osPathOf(const char* path, char* out, size_t outSize) {
  if (outSize == 0) return -1;
  out[0] = 0;
  if (!path || !path[0] || !utf8IsValid(path)) return -1;
  size_t n = std::strlen(path);
  if (n + 1 > outSize) return -1;
  std::memcpy(out, path, n + 1);
  return static_cast<int>(n);
}

namespace {

constexpr char ESCAPE_MARK[] = "utf8:";
constexpr size_t ESCAPE_MARK_LEN = sizeof ESCAPE_MARK - 1;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

int pathToStored(const char* utf8, char* out, size_t outSize, bool* escaped) {
  if (escaped) *escaped = false;
  if (outSize == 0) return -1;
  out[0] = 0;
  if (!utf8IsValid(utf8)) return -1;
  if (std::strncmp(utf8, ESCAPE_MARK, ESCAPE_MARK_LEN) != 0) {
    // Room for any Shift_JIS form of this text: never longer than its UTF-8.
    static thread_local char sjis[8192];
    static thread_local char back[8192];
    int n = convert(true, utf8, std::strlen(utf8), sjis, sizeof sjis);
    if (n >= 0 && convert(false, sjis, static_cast<size_t>(n), back, sizeof back) >= 0 && std::strcmp(back, utf8) == 0) {
      if (static_cast<size_t>(n) + 1 > outSize) return -1;
      std::memcpy(out, sjis, static_cast<size_t>(n) + 1);
      return n;
    }
  }
  static const char HEX[] = "0123456789ABCDEF";
  size_t o = 0;
  auto put = [&](char c) {
    if (o + 1 < outSize) out[o] = c;
    ++o;
  };
  for (const char* m = ESCAPE_MARK; *m; ++m) put(*m);
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
    if (*p < 0x20 || *p >= 0x7F || *p == '%') {
      put('%');
      put(HEX[*p >> 4]);
      put(HEX[*p & 15]);
    } else {
      put(static_cast<char>(*p));
    }
  }
  if (o + 1 > outSize) {
    out[0] = 0;
    return -1;
  }
  out[o] = 0;
  if (escaped) *escaped = true;
  return static_cast<int>(o);
}

int pathFromStored(const char* stored, size_t len, char* out, size_t outSize) {
  if (outSize == 0) return -1;
  out[0] = 0;
  if (len < ESCAPE_MARK_LEN || std::strncmp(stored, ESCAPE_MARK, ESCAPE_MARK_LEN) != 0)
    return convert(false, stored, len, out, outSize);
  size_t o = 0;
  for (size_t i = ESCAPE_MARK_LEN; i < len; ++i) {
    char c = stored[i];
    if (c == '%') {
      int hi = i + 2 < len ? hexValue(stored[i + 1]) : -1;
      int lo = hi >= 0 ? hexValue(stored[i + 2]) : -1;
      if (lo < 0) break;
      c = static_cast<char>(hi * 16 + lo);
      i += 2;
    }
    if (c == 0 || o + 1 >= outSize) break;
    out[o++] = c;
    if (i + 1 == len) {
      out[o] = 0;
      if (utf8IsValid(out)) return static_cast<int>(o);
    }
  }
  out[0] = 0;
  return -1;
}

size_t sjisCutLength(const char* s, size_t len, size_t limit) {
  size_t i = 0;
  while (i < len) {
    size_t step = (sjisIsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < len) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

void sjisCopy(char* dst, size_t dstSize, const char* src) {
  if (dstSize == 0) return;
  size_t n = sjisCutLength(src, std::strlen(src), dstSize - 1);
  std::memcpy(dst, src, n);
  dst[n] = 0;
}

SjisLiteral::SjisLiteral(const char* utf8) {
  if (utf8ToSjis(utf8, bytes_, sizeof bytes_) < 0) {
    // A fixed text that cannot be converted is a programming error; stop at
    // once rather than show mangled text.
    std::fprintf(stderr, "internal error: fixed text not representable in Shift_JIS: %s\n", utf8);
    std::abort();
  }
}
