// bctool's commands that carry maps to and from other programs: tmx, fromtmx
// and png.
#pragma once

#include <cstddef>
#include <string>

// True when argv[1] names one of these commands.
bool isExchangeCommand(const char* name);
// Runs the command; the exit status of the program.
int runExchangeCommand(int argc, char** argv);
// The usage lines of these commands.
extern const char EXCHANGE_USAGE[];

// `what` (e.g. "cannot write out.bct") with the reason the system gave for the
// failure just seen, when it gave one: "cannot write out.bct: No space left on device".
std::string withSystemCause(const std::string& what);
// 1 when the file can be opened and read; otherwise errno tells why.
int fileReadable(const char* path);
// A path from the command line into `out`; false, after saying why, when it
// is not valid UTF-8 or does not fit.
bool takePath(const char* utf8, char* out, size_t size);
