// Shift_JIS (code page 932) conversion on glibc iconv.
//
// The program's own texts are Shift_JIS bytes; file paths are kept as the
// system's UTF-8, and become Shift_JIS only inside the files that hold them
// (the settings file, a map's @BMP line). The operating system and Qt speak
// UTF-8 / UTF-16. These helpers are the only place where the encodings meet.
// They never substitute: a character Shift_JIS cannot hold, or a byte sequence
// that is not valid, makes the conversion fail and leaves `out` empty.
#pragma once

#include <cstddef>

// UTF-8 -> Shift_JIS into a zero-terminated store of `outSize` bytes.
// Returns the byte length written (without the terminator), or -1 when the text
// cannot be represented or does not fit (out is then "").
int utf8ToSjis(const char* utf8, char* out, size_t outSize);

// Shift_JIS -> UTF-8 into a zero-terminated store of `outSize` bytes.
// Returns the byte length written, or -1 on an invalid sequence or overflow.
int sjisToUtf8(const char* sjis, char* out, size_t outSize);

// Same with an explicit input length (the input need not be terminated).
int sjisToUtf8N(const char* sjis, size_t len, char* out, size_t outSize);

// Length in bytes of the longest prefix of `s` (of `len` bytes) that is at most
// `limit` bytes and does not end inside a double-byte character.
size_t sjisCutLength(const char* s, size_t len, size_t limit);

// True when `b` is the first byte of a double-byte Shift_JIS character.
inline bool sjisIsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True when `s` is well-formed UTF-8 (no overlong forms, no surrogates).
bool utf8IsValid(const char* s);

// A path as the system takes it: `path` copied into `out` when it is valid
// UTF-8, not empty and fits. Returns the length, or -1 (out is then "").
int osPathOf(const char* path, char* out, size_t outSize);

// A UTF-8 path as a Shift_JIS file holds it. When Shift_JIS holds the text
// exactly (there and back gives the same text) these are its Shift_JIS bytes;
// otherwise the escaped form "utf8:" followed by the UTF-8 bytes, each byte
// outside printable ASCII and every '%' written as %XX. A path that begins
// with "utf8:" itself is escaped too, so that reading never mistakes one for
// the other. Returns the length, or -1 when it does not fit or is not UTF-8.
// `escaped` (may be null) says which form was written.
int pathToStored(const char* utf8, char* out, size_t outSize, bool* escaped);

// The reverse: a path read from a Shift_JIS file back to UTF-8. -1 when the
// bytes are neither valid Shift_JIS nor a well-formed escaped form.
int pathFromStored(const char* stored, size_t len, char* out, size_t outSize);

// Copies `src` into the store `dst` of `dstSize` bytes, cut without splitting a
// double-byte character, always terminated.
void sjisCopy(char* dst, size_t dstSize, const char* src);

// A fixed text of the program, written in UTF-8 in the source and converted to
// Shift_JIS once, on first use. The result lives for the whole run.
//   const char* t = SJIS("ごめんね");
class SjisLiteral {
 public:
  explicit SjisLiteral(const char* utf8);
  const char* c_str() const { return bytes_; }
 private:
  char bytes_[256];
};

#define SJIS(utf8) ([]() -> const char* { static const SjisLiteral lit(utf8); return lit.c_str(); }())
