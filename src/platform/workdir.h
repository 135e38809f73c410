// The process's working directory, as Shift_JIS.
#pragma once

#include <cstddef>

// Length written, or -1 when the directory cannot be read, cannot be held in
// Shift_JIS or does not fit `outSize` bytes (out is then "").
int platformWorkingDir(char* outSjis, size_t outSize);
