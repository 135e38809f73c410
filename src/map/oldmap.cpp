// Map files of the older layout: a 96-byte text header, then a grid of
// 16-bit little-endian chip positions, four bytes per cell.
#include "map/oldmap.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "map/map.h"
#include "map/numparse.h"
#include "platform/files.h"
#include "platform/sjis.h"

namespace {

constexpr int OLD_HEADER = 96;
constexpr int OLD_FIELD_MAX = 9999;  // four decimal characters
// The farthest byte a header can make us need: the last cell of row 255 and
// column 255 in a grid 9,999 cells wide. Pages never touched cost nothing.
constexpr size_t OLD_READ_LIMIT =
    OLD_HEADER + 4 * (static_cast<size_t>(OLD_FIELD_MAX) * (MAP_MAX - 1) + MAP_MAX);

uint8_t oldBuffer[OLD_READ_LIMIT];

struct OldHeader {
  char sheet[PATH_STORE];
  int32_t tipX, tipY, komaX, komaY;
};

// The line starting at `from`, up to its CR; the next line starts after the
// CR LF. 0 when the line does not end inside the header bytes.
int headerLine(const uint8_t* h, size_t len, size_t from, size_t* lineEnd, size_t* next) {
  for (size_t i = from; i + 1 < len; ++i) {
    if (h[i] == '\r') {
      if (h[i + 1] != '\n') return 0;
      *lineEnd = i;
      *next = i + 2;
      return 1;
    }
  }
  return 0;
}

int32_t field4(const uint8_t* line, size_t col) {
  const char* p = reinterpret_cast<const char*>(line + col);
  return readMapNumber(p, p + 4);
}

int readHeader(const uint8_t* h, size_t len, OldHeader* out) {
  size_t end1, start2, end2, start3, end3, after3;
  if (!headerLine(h, len, 0, &end1, &start2)) return 0;
  if (!headerLine(h, len, start2, &end2, &start3)) return 0;
  if (!headerLine(h, len, start3, &end3, &after3)) return 0;
  if (end3 - start3 < 21) return 0;  // the record's last field ends at column 20

  size_t n = end2 - start2;  // below 96, fits the store
  std::memcpy(out->sheet, h + start2, n);
  out->sheet[n] = 0;
  const uint8_t* rec = h + start3;
  out->tipX = field4(rec, 2);
  out->tipY = field4(rec, 7);
  out->komaX = field4(rec, 12);
  out->komaY = field4(rec, 17);
  return 1;
}

// The file name of a header's sheet path: after the last '\\' (the separator
// of the system the older files come from; a double-byte character's second
// byte is never taken for one) or '/'.
const char* sheetFileName(const char* sheet) {
  const char* name = sheet;
  for (const char* p = sheet; *p; ++p) {
    if (sjisIsLeadByte(static_cast<unsigned char>(*p)) && p[1]) {
      ++p;
    } else if (*p == '\\' || *p == '/') {
      name = p + 1;
    }
  }
  return name;
}

}  // namespace

int convertOldMapFile(const char* path) {
  size_t got = 0;
  uint64_t fileSize = 0;
  if (!readFileBytes(path, oldBuffer, OLD_HEADER, &got)) return 0;
  OldHeader head{};
  if (!readHeader(oldBuffer, got, &head)) return 0;

  // The file's own width is the grid's stride; only the part that fits the
  // planes is taken in, so the cells stay where the file put them.
  const size_t stride = head.komaX > 0 ? static_cast<size_t>(head.komaX) : 0;
  const int cols = clampCells(head.komaX);
  const int rows = clampCells(head.komaY);
  size_t need = OLD_HEADER;
  if (cols > 0 && rows > 0) need += 4 * (stride * static_cast<size_t>(rows - 1) + static_cast<size_t>(cols));
  if (!readFileBytes(path, oldBuffer, need, &got, &fileSize)) return 0;
  // A file that ends before its header's grid does is damaged: nothing is taken.
  const uint64_t grid = OLD_HEADER + 4 * uint64_t(stride) * uint64_t(head.komaY > 0 ? head.komaY : 0);
  if (got < need || fileSize < grid) return 0;
  // The header is read again with the grid; it must still be the same one.
  OldHeader again{};
  if (!readHeader(oldBuffer, got < OLD_HEADER ? got : OLD_HEADER, &again) ||
      std::memcmp(&head, &again, sizeof head) != 0) {
    return 0;
  }

  // The map file names its sheet by file name, looked for beside the map; the
  // path in force is the header's when it names a file here, else beside the
  // older file.
  // A converted map starts from clean planes like every opened one; it is
  // not on disk in this program's format yet, so it counts as unsaved.
  clearDocumentPlanes();
  documentChanged();
  // The header holds Shift_JIS; the program keeps the system's UTF-8. A name
  // that does not convert names no file here.
  static char sheet[PATH_STORE], name[PATH_STORE];
  if (sjisToUtf8(head.sheet, sheet, sizeof sheet) < 0) sheet[0] = 0;
  if (sjisToUtf8(sheetFileName(head.sheet), name, sizeof name) < 0) name[0] = 0;
  if (pathExists(sheet)) {
    sjisCopy(doc.chipSheetPath, PATH_STORE, sheet);
  } else {
    pathBeside(path, name, doc.chipSheetPath);
  }
  sjisCopy(doc.chipSheetName, PATH_STORE, name);
  setChipWidth(head.tipX);
  setChipHeight(head.tipY);
  setMapCells(head.komaX, head.komaY);

  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      size_t at = OLD_HEADER + 4 * (stride * static_cast<size_t>(r) + static_cast<size_t>(c));
      if (at + 2 <= got) doc.planeX[cellIndex(c, r)] = oldBuffer[at] | (oldBuffer[at + 1] << 8);
      if (at + 4 <= got) doc.planeY[cellIndex(c, r)] = oldBuffer[at + 2] | (oldBuffer[at + 3] << 8);
    }
  }
  return 1;
}
