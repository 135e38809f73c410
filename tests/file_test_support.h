// Small file helpers shared by the tests.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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

// The built bctool, beside the tests' own folder.
inline std::string bctoolPath() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  self[n] = 0;
  return (std::filesystem::path(self).parent_path().parent_path() / "bctool").string();
}

// Runs bctool with `args` (after an optional command `prefix`, e.g. one that
// drops privileges); stderr goes to errFile. The exit code, or -1.
inline int runTool(const std::string& args, const std::filesystem::path& errFile, const std::string& prefix = "") {
  std::ostringstream cmd;
  cmd << prefix << '\'' << bctoolPath() << "' " << args << " 2>'" << errFile.string() << "' >/dev/null";
  int st = std::system(cmd.str().c_str());
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// True when the file holds exactly one line.
inline bool oneLine(const std::filesystem::path& p) {
  std::string e = slurp(p);
  return !e.empty() && e.find('\n') == e.size() - 1;
}
