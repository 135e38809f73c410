// bctool's commands that carry maps to and from other programs: tmx, fromtmx
// and png.
#pragma once

// True when argv[1] names one of these commands.
bool isExchangeCommand(const char* name);
// Runs the command; the exit status of the program.
int runExchangeCommand(int argc, char** argv);
// The usage lines of these commands.
extern const char EXCHANGE_USAGE[];
