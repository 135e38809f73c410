// A profile (INI) file reader and writer over raw Shift_JIS bytes.
//
// Reading works on the whole file held in memory. Section and key names are
// compared byte for byte after trimming blanks, ASCII letters without regard
// to case (the bytes of double-byte characters are never folded). The first
// section and the first key of a given name win. Lines end in CR LF, LF or CR.
#pragma once

#include <cstddef>
#include <cstdint>

struct IniText {
  const char* data;
  size_t len;
};

// The key's value as a number: optional sign, decimal digits. `def` when the
// key is missing or its value empty; 0 when the value does not begin with a
// number. Values beyond 32 bits are held at the nearest end of the range.
int32_t iniReadInt(const IniText& ini, const char* section, const char* key, int32_t def);

// The key's value, blanks around it removed, cut to outSize - 1 bytes without
// splitting a double-byte character; "" when missing. Returns the byte length.
size_t iniReadString(const IniText& ini, const char* section, const char* key, char* out, size_t outSize);

// Builds a profile file in a fixed store. Once the store is full the builder
// marks itself overflowed and takes nothing more.
class IniBuilder {
 public:
  IniBuilder(char* store, size_t capacity) : store_(store), capacity_(capacity) {}
  void section(const char* name);                // "[name]" CR LF
  void line(const char* text);                   // text CR LF
  void lineInt(const char* prefix, int32_t v);   // prefix and "%d", CR LF
  void key(const char* name, const char* value); // "name=value" CR LF
  size_t size() const { return used_; }
  bool overflowed() const { return overflow_; }

 private:
  void put(const char* s, size_t n);
  char* store_;
  size_t capacity_;
  size_t used_ = 0;
  bool overflow_ = false;
};
