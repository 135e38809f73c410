// Shared pieces of the fuzz targets: a scratch file per process and a seeded
// generator for the model's prior state.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

inline std::string scratchPath(const char* tag) {
  return std::string("/dev/shm/brindle-fuzz-") + tag + "-" + std::to_string(::getpid());
}

inline bool writeScratch(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

struct Lcg {
  uint32_t s;
  uint32_t next() { return s = s * 1664525u + 1013904223u; }
};
