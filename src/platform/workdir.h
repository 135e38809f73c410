// The process's working directory, as the system's UTF-8.
#pragma once

#include <cstddef>

enum WorkingDirFailure { WORKDIR_UNREADABLE = -1, WORKDIR_NOT_UTF8 = -2, WORKDIR_TOO_LONG = -3 };

// Length written, or a WorkingDirFailure: the directory cannot be read, its
// name is not valid UTF-8, or it does not fit `outSize`
// bytes (out is then "").
int platformWorkingDir(char* outPath, size_t outSize);
