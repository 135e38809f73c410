// The bct map file: its writer and its lenient line reader.
#include "map/mapfile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "map/map.h"
#include "map/numparse.h"
#include "platform/files.h"
#include "platform/sjis.h"

namespace {

// ---------------------------------------------------------------------------
// Writer


void writeKeyLine(SafeFileWriter& w, const char* key, int32_t value) {
  char line[40];
  size_t k = std::strlen(key);
  std::memcpy(line, key, k);
  char* end = putDecimal(line + k, value, 0);
  *end++ = '\r';
  *end++ = '\n';
  w.write(line, static_cast<size_t>(end - line));
}

const char HYPHENS[] = "--------------------------------\r\n";

SafeFileWriter mapWriter;  // 64 KiB of buffer: kept out of the stack
char rowLine[MAP_ROW_LINE_MAX];

// ---------------------------------------------------------------------------
// Reader

uint8_t readBuffer[MAP_FILE_READ_LIMIT];

bool keyIs(const char* key, size_t len, const char* name) {
  if (std::strlen(name) != len) return false;
  for (size_t i = 0; i < len; ++i) {
    char c = key[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != name[i]) return false;
  }
  return true;
}

void readKeyLine(const char* text, const char* end) {
  const char* key = text + 1;
  const char* blank = static_cast<const char*>(std::memchr(key, ' ', static_cast<size_t>(end - key)));
  if (!blank) return;  // a key without a value names nothing
  size_t keyLen = static_cast<size_t>(blank - key);
  const char* value = blank + 1;
  if (keyIs(key, keyLen, "BMP")) {
    // The file holds the name in Shift_JIS or in its escaped form; a name
    // that is neither names no file the program could find.
    size_t n = sjisCutLength(value, static_cast<size_t>(end - value), MAP_SHEET_NAME_MAX);
    if (pathFromStored(value, n, doc.chipSheetName, PATH_STORE) < 0) doc.chipSheetName[0] = 0;
  } else if (keyIs(key, keyLen, "KOMA_X")) {
    setMapCellsX(readMapNumber(value, end));
  } else if (keyIs(key, keyLen, "KOMA_Y")) {
    setMapCellsY(readMapNumber(value, end));
  } else if (keyIs(key, keyLen, "TIP_X")) {
    setChipWidth(readMapNumber(value, end));
  } else if (keyIs(key, keyLen, "TIP_Y")) {
    setChipHeight(readMapNumber(value, end));
  }
}

inline bool isDigit(char ch) { return static_cast<unsigned>(ch - '0') < 10u; }

// The field exactly as the writer puts it: four characters, blanks then at
// least one digit, ended by a comma or the end of the line. Gives the same
// value as readMapNumber; anything else goes the general way.
inline bool readPadded4(const char* p, const char* end, int32_t* out) {
  if (end - p < 4 || (end - p > 4 && p[4] != ',') || !isDigit(p[3])) return false;
  int32_t v = p[3] - '0';
  if (isDigit(p[2])) {
    v += (p[2] - '0') * 10;
    if (isDigit(p[1])) {
      v += (p[1] - '0') * 100;
      if (isDigit(p[0])) {
        v += (p[0] - '0') * 1000;
      } else if (p[0] != ' ') {
        return false;
      }
    } else if (p[1] != ' ' || p[0] != ' ') {
      return false;
    }
  } else if (p[2] != ' ' || p[1] != ' ' || p[0] != ' ') {
    return false;
  }
  *out = v;
  return true;
}

void readRowLine(const char* text, const char* end) {
  const char* colon = static_cast<const char*>(std::memchr(text + 1, ':', static_cast<size_t>(end - text - 1)));
  if (!colon) return;
  int32_t row = readMapNumber(text + 1, colon);
  if (row < 0 || row >= MAP_MAX) return;  // no such row in the planes
  if (colon + 1 >= end) return;
  int32_t* plane;
  switch (colon[1]) {
    case 'X': plane = doc.planeX; break;
    case 'Y': plane = doc.planeY; break;
    case 'A': plane = doc.planeA; break;
    default: return;
  }
  // The byte after the plane letter is the writer's comma; it is passed over.
  const char* p = colon + 3;
  bool fields = p <= end;
  const int cols = doc.mapCellsX;  // always 0..256, held by the size guard
  int c = 0;
  for (; c < cols && fields; ++c) {
    int32_t v;
    if (readPadded4(p, end, &v)) {
      plane[cellIndex(c, row)] = v;
      p += 5;
      if (p > end) fields = false;
      continue;
    }
    const char* stop;
    plane[cellIndex(c, row)] = readMapNumber(p, end, &stop);
    // Trailing text after the digits belongs to the field: find its comma.
    while (stop < end && *stop != ',') ++stop;
    if (stop < end) {
      p = stop + 1;
    } else {
      fields = false;
    }
  }
  for (; c < cols; ++c) plane[cellIndex(c, row)] = 0;
}

// The first `ch` in [from, end), or end.
inline const char* findByte(const char* from, const char* end, char ch) {
  const void* hit = std::memchr(from, ch, static_cast<size_t>(end - from));
  return hit ? static_cast<const char*>(hit) : end;
}

void buildChipSheetPath(const char* path) {
  char before[PATH_STORE];
  sjisCopy(before, sizeof before, doc.chipSheetPath);
  pathBeside(path, doc.chipSheetName, doc.chipSheetPath);
  // A map saved away from its sheet names only the sheet's file; the sheet in
  // use before the read stays when it is that file and none lies beside the map.
  if (doc.chipSheetName[0] && !pathExists(doc.chipSheetPath) && std::strcmp(pathFileName(before), doc.chipSheetName) == 0 &&
      pathExists(before))
    sjisCopy(doc.chipSheetPath, PATH_STORE, before);
}

}  // namespace

void writeMapText(SafeFileWriter& w, const MapText& m, char* lineBuffer) {
  w.writeText("BrindlecotVer0.93b\r\n");
  w.writeText(HYPHENS);
  w.writeText("@BMP ");
  // The line holds Shift_JIS: a name it cannot hold goes in escaped, and a
  // name longer than the line allows is not written, since a part of it would
  // name another file. A line end inside the name would let its tail be read
  // as lines of its own.
  char stored[MAP_SHEET_NAME_MAX + 1];
  if (pathToStored(m.chipSheetName, stored, sizeof stored, nullptr) > 0) w.write(stored, std::strcspn(stored, "\r\n"));
  w.writeText("\r\n");
  writeKeyLine(w, "@KOMA_X ", m.cellsX);
  writeKeyLine(w, "@KOMA_Y ", m.cellsY);
  writeKeyLine(w, "@TIP_X ", m.chipWidth);
  writeKeyLine(w, "@TIP_Y ", m.chipHeight);
  if (m.extraHead) w.writeText(m.extraHead);
  w.writeText(HYPHENS);

  const int rows = clampCells(m.cellsY);
  const int cols = clampCells(m.cellsX);
  const char letters[3] = {'X', 'Y', 'A'};
  for (int r = 0; r < rows; ++r) {
    for (int k = 0; k < 3; ++k) {
      char* out = lineBuffer;
      *out++ = '@';
      // "%05d" of a row number below 256
      out[0] = '0';
      out[1] = '0';
      out[2] = static_cast<char>('0' + r / 100);
      out[3] = static_cast<char>('0' + r / 10 % 10);
      out[4] = static_cast<char>('0' + r % 10);
      out += 5;
      *out++ = ':';
      *out++ = letters[k];
      const int32_t* plane = m.planes[k];
      for (int c = 0; c < cols; ++c) {
        *out++ = ',';
        out = putDecimal(out, plane[cellIndex(c, r)], 4);
      }
      *out++ = '\r';
      *out++ = '\n';
      w.write(lineBuffer, static_cast<size_t>(out - lineBuffer));
    }
  }
}

void (*onSheetNameEscaped)() = nullptr;

int saveMapFile(const char* path) {
  SafeFileWriter& w = mapWriter;
  if (!w.open(path)) return 0;
  const MapText m{doc.mapCellsX, doc.mapCellsY, doc.chipWidth, doc.chipHeight, doc.chipSheetName,
                  {doc.planeX, doc.planeY, doc.planeA}, nullptr};
  writeMapText(w, m, rowLine);
  if (!w.commit()) return 0;
  // Told once the file holds the escaped name: a save that failed wrote none.
  bool escaped = false;
  char stored[MAP_SHEET_NAME_MAX + 1];
  if (pathToStored(doc.chipSheetName, stored, sizeof stored, &escaped) > 0 && escaped && onSheetNameEscaped)
    onSheetNameEscaped();
  sjisCopy(doc.lastMapPath, PATH_STORE, path);
  documentSaved();
  return 1;
}

int loadMapFile(const char* path) {
  size_t got = 0;
  if (!readFileBytes(path, readBuffer, sizeof readBuffer, &got)) return 0;
  // Nothing of the previous map may survive: not its attributes, not the
  // cells outside a smaller map, not its undo copy.
  clearDocumentPlanes();
  parseMapBytes(path, reinterpret_cast<const char*>(readBuffer), static_cast<int>(got));
  documentOpened(path);
  return 1;
}

int isMapFile(const char* path) {
  size_t got = 0;
  if (!readFileBytes(path, readBuffer, sizeof readBuffer, &got)) return 0;
  const char* p = reinterpret_cast<const char*>(readBuffer);
  const char* const end = p + got;
  static const char* const keys[] = {"KOMA_X", "KOMA_Y", "TIP_X", "TIP_Y", "BMP"};
  for (const char* line = p; line < end;) {
    const char* brk = line;
    while (brk < end && *brk != '\r' && *brk != '\n') ++brk;
    if (brk - line >= 2 && line[0] == '@') {
      const char* blank = static_cast<const char*>(std::memchr(line + 1, ' ', static_cast<size_t>(brk - line - 1)));
      if (blank)
        for (const char* key : keys)
          if (keyIs(line + 1, static_cast<size_t>(blank - line - 1), key)) return 1;
    }
    line = brk + 1;
  }
  return 0;
}

void parseMapBytes(const char* path, const char* data, int len) {
  const char* const dataEnd = data + (len > 0 ? len : 0);
  const char* line = data;
  const bool any = dataEnd > data;
  const char* nextCr = any ? findByte(data, dataEnd, '\r') : dataEnd;
  const char* nextLf = any ? findByte(data, dataEnd, '\n') : dataEnd;
  while (line < dataEnd) {
    // The line runs to its CR or LF; a NUL ends its text early. The next CR
    // and LF are remembered, so a file with only one kind is still read in
    // one pass.
    if (nextCr < line) nextCr = findByte(line, dataEnd, '\r');
    if (nextLf < line) nextLf = findByte(line, dataEnd, '\n');
    const char* brk = nextCr < nextLf ? nextCr : nextLf;
    const char* textEnd = static_cast<const char*>(std::memchr(line, 0, static_cast<size_t>(brk - line)));
    if (!textEnd) textEnd = brk;

    if (textEnd - line >= 2 && line[0] == '@') {
      if (line[1] >= 'A' && line[1] <= 'Z') {
        readKeyLine(line, textEnd);
      } else {
        readRowLine(line, textEnd);
      }
    }

    if (brk >= dataEnd) break;
    line = brk + 1;
    if (*brk == '\r' && line < dataEnd && *line == '\n') ++line;
  }
  buildChipSheetPath(path);
}
