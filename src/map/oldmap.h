// Map files of the older fixed-header layout, read into the model.
#pragma once

// 1 when the file was opened and its header read, 0 otherwise (nothing changed).
int convertOldMapFile(const char* path);
