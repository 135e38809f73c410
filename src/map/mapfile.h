// The bct map file: writer and lenient reader.
#pragma once

constexpr int MAP_FILE_READ_LIMIT = 1048576;  // bytes taken in by one read

// 1 when the file was written and safely put in place, 0 on any failure (the
// previous file at the path is then untouched).
int saveMapFile(const char* path);
// 1 when the file was opened and read (whatever it held), 0 when it could not
// be opened or read; on 0 nothing in the map has changed.
int loadMapFile(const char* path);
// The reader on bytes already in memory; `path` only builds chipSheetPath.
void parseMapBytes(const char* path, const char* data, int len);
