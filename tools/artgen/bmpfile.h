// Windows BMP encoding for the artwork generator: 8-bit palettised and
// 24-bit true-colour files, bottom-up rows padded to four bytes. Plain C++
// so that the tests can check the encoder without a toolkit.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace artgen {

struct Rgb {
  uint8_t r, g, b;
  auto operator<=>(const Rgb&) const = default;
};

// The value a colour takes in the editor's 16-bit back buffer (RGB565 by
// truncation). Two colours with the same value are indistinguishable there,
// which is what decides whether a pixel falls under a colour key.
inline uint16_t rgb565(Rgb c) {
  return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

inline void putLe16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void putLe32(std::vector<uint8_t>& out, uint32_t v) {
  putLe16(out, v & 0xFFFF);
  putLe16(out, v >> 16);
}

inline size_t bmpRowStride(int width, int bitsPerPixel) {
  return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes).
inline void putBmpHeaders(std::vector<uint8_t>& out, int width, int height, int bitsPerPixel,
                          uint32_t paletteEntries) {
  const uint32_t pixelOffset = 14 + 40 + paletteEntries * 4;
  const uint32_t imageSize = static_cast<uint32_t>(bmpRowStride(width, bitsPerPixel) * height);
  out.push_back('B');
  out.push_back('M');
  putLe32(out, pixelOffset + imageSize);
  putLe32(out, 0);  // two reserved words
  putLe32(out, pixelOffset);
  putLe32(out, 40);
  putLe32(out, static_cast<uint32_t>(width));
  putLe32(out, static_cast<uint32_t>(height));  // positive: bottom-up
  putLe16(out, 1);                              // planes
  putLe16(out, static_cast<uint32_t>(bitsPerPixel));
  putLe32(out, 0);  // BI_RGB, no compression
  putLe32(out, imageSize);
  putLe32(out, 2835);  // 72 dpi
  putLe32(out, 2835);
  putLe32(out, paletteEntries);
  putLe32(out, 0);  // all colours important
}

// An 8-bit file with a full 256-entry palette; entries past the given ones
// are written as black. `indices` holds width * height bytes, top row first.
inline std::vector<uint8_t> encodeBmp8(int width, int height, const std::vector<uint8_t>& indices,
                                       const std::vector<Rgb>& palette) {
  std::vector<uint8_t> out;
  if (width <= 0 || height <= 0 || indices.size() != static_cast<size_t>(width) * height ||
      palette.size() > 256)
    return out;
  putBmpHeaders(out, width, height, 8, 256);
  for (size_t i = 0; i < 256; ++i) {
    const Rgb c = i < palette.size() ? palette[i] : Rgb{0, 0, 0};
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  const size_t stride = bmpRowStride(width, 8);
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* row = indices.data() + static_cast<size_t>(y) * width;
    out.insert(out.end(), row, row + width);
    out.insert(out.end(), stride - width, 0);
  }
  return out;
}

// A 24-bit file; `pixels` holds width * height colours, top row first.
inline std::vector<uint8_t> encodeBmp24(int width, int height, const std::vector<Rgb>& pixels) {
  std::vector<uint8_t> out;
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) return out;
  putBmpHeaders(out, width, height, 24, 0);
  const size_t stride = bmpRowStride(width, 24);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixels[static_cast<size_t>(y) * width + x];
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    out.insert(out.end(), stride - static_cast<size_t>(width) * 3, 0);
  }
  return out;
}

// Writes beside the target and renames over it, so an interrupted run never
// leaves a truncated bitmap in the tree.
inline bool writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return false;
  const std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace artgen
