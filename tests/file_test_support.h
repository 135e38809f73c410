// Small file helpers shared by the tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The whole file as bytes ("" when it cannot be read).
inline std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
