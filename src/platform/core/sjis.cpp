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
