// The process's working directory, as Shift_JIS.
#pragma once

#include <cstddef>

enum WorkingDirFailure { WORKDIR_UNREADABLE = -1, WORKDIR_NOT_SJIS = -2, WORKDIR_TOO_LONG = -3 };

// Length written, or a WorkingDirFailure: the directory cannot be read, its
// name holds a character Shift_JIS cannot store, or it does not fit `outSize`
// bytes (out is then "").
int platformWorkingDir(char* outSjis, size_t outSize);
