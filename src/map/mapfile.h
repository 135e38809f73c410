// The bct map file: writer and lenient reader.
#pragma once

#include "map/map.h"

// The longest row line the writer makes: "@00000:X", 256 values of at most 11
// characters, each after a comma, then CR LF.
constexpr int MAP_ROW_LINE_MAX = 8 + MAP_MAX * 12 + 2;
// The longest head: the signature, two hyphen lines, "@BMP " with a 259-byte
// name, and four key lines of 11-character values.
constexpr int MAP_FILE_HEAD_MAX = 20 + 2 * 34 + (5 + MAP_SHEET_NAME_MAX + 2) + 2 * (8 + 11 + 2) + 2 * (7 + 11 + 2);
// Bytes taken in by one read: the largest file the writer can produce, so the
// program reads back every file it writes (2,367,412 bytes).
constexpr int MAP_FILE_READ_LIMIT = MAP_FILE_HEAD_MAX + 3 * MAP_MAX * MAP_ROW_LINE_MAX;

class SafeFileWriter;

// Called by saveMapFile when the chip sheet's name goes into @BMP escaped,
// since Shift_JIS cannot hold it (the program tells the user the first time).
extern void (*onSheetNameEscaped)();
// A map as the file holds it: what saveMapFile takes from the document, or a
// private copy of it (the recovery copy is written from one on its own thread).
struct MapText {
  int32_t cellsX, cellsY, chipWidth, chipHeight;
  const char* chipSheetName;
  const int32_t* planes[3];  // X, Y, A; 256 x 256 each
  const char* extraHead;     // key lines of its own after the sizes (CR LF each), or nullptr
};
// The whole file into an open writer; `rowLine` holds MAP_ROW_LINE_MAX bytes
// (one per thread that writes).
void writeMapText(SafeFileWriter& w, const MapText& m, char* rowLine);

// 1 when the file was written and safely put in place (nothing is unsaved
// any more), 0 on any failure (the previous file at the path is then
// untouched, the unsaved state too).
int saveMapFile(const char* path);
// 1 when the file was opened and read (whatever it held), 0 when it could not
// be opened or read; on 0 nothing in the map has changed.
// A map opened is a document of its own: every plane is cleared before the
// file's cells are read, undo starts afresh, the path becomes doc.mapPath and
// nothing is unsaved.
int loadMapFile(const char* path);
// 1 when the file can be read and holds at least one of the map file's key
// lines; 0 for a file that cannot be read, an empty one or one of other bytes
// (which loadMapFile would read as a blank map). Changes nothing.
int isMapFile(const char* path);
// The reader on bytes already in memory; `path` only builds doc.chipSheetPath.
void parseMapBytes(const char* path, const char* data, int len);
