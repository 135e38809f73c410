// Shared helpers of the graphics tests: small BMP files written byte by byte,
// so that the loader is fed real files of several depths.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace gfxtest {

struct Rgb {
  uint8_t r, g, b;
};

inline void put16(std::string& s, uint32_t v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
inline void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

// Header of a bottom-up BITMAPINFOHEADER file.
inline std::string bmpHeader(int w, int h, int bpp, uint32_t paletteEntries, uint32_t imageBytes) {
  std::string s = "BM";
  uint32_t offset = 14 + 40 + paletteEntries * 4;
  put32(s, offset + imageBytes);
  put32(s, 0);
  put32(s, offset);
  put32(s, 40);
  put32(s, uint32_t(w));
  put32(s, uint32_t(h));
  put16(s, 1);
  put16(s, uint32_t(bpp));
  put32(s, 0);
  put32(s, imageBytes);
  put32(s, 2835);
  put32(s, 2835);
  put32(s, paletteEntries);
  put32(s, 0);
  return s;
}

// pixels[y * w + x], top row first.
inline void writeBmp24(const std::string& path, int w, int h, const std::vector<Rgb>& pixels) {
  int rowBytes = (w * 3 + 3) & ~3;
  std::string s = bmpHeader(w, h, 24, 0, uint32_t(rowBytes * h));
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      const Rgb& p = pixels[size_t(y * w + x)];
      row += char(p.b);
      row += char(p.g);
      row += char(p.r);
    }
    row.resize(size_t(rowBytes), '\0');
    s += row;
  }
  std::ofstream(path, std::ios::binary) << s;
}

// 8-bit palettised; indices[y * w + x], top row first.
inline void writeBmp8(const std::string& path, int w, int h, const std::vector<Rgb>& palette,
                      const std::vector<uint8_t>& indices) {
  int rowBytes = (w + 3) & ~3;
  std::string s = bmpHeader(w, h, 8, uint32_t(palette.size()), uint32_t(rowBytes * h));
  for (const Rgb& p : palette) {
    s += char(p.b);
    s += char(p.g);
    s += char(p.r);
    s += '\0';
  }
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < w; ++x) row += char(indices[size_t(y * w + x)]);
    row.resize(size_t(rowBytes), '\0');
    s += row;
  }
  std::ofstream(path, std::ios::binary) << s;
}

inline void writeSolidBmp(const std::string& path, int w, int h, Rgb c) {
  writeBmp24(path, w, h, std::vector<Rgb>(size_t(w * h), c));
}

}  // namespace gfxtest
