// Writes samples/sample.bct: a small village on the sample chip sheet, made
// with the editor's own map code, so that a newcomer's first map is real.
//   make_sample_map OUT.bct
#include <cstdio>

#include "map/map.h"
#include "map/mapfile.h"
#include "platform/sjis.h"

namespace {
// A chip of the 8 x 8 sample sheet by its column and row.
void put(int c, int r, int chipCol, int chipRow) {
  if (c < 0 || c >= doc.mapCellsX || r < 0 || r >= doc.mapCellsY) return;
  doc.planeX[cellIndex(c, r)] = chipCol * doc.chipWidth;
  doc.planeY[cellIndex(c, r)] = chipRow * doc.chipHeight;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_map OUT.bct\n");
    return 1;
  }
  resetMapModel();
  sjisCopy(doc.chipSheetName, sizeof doc.chipSheetName, "chips.bmp");
  // Grass everywhere is chip (0, 0), which a zeroed map already shows.
  for (int c = 0; c < doc.mapCellsX; ++c) {
    for (int r = 19; r <= 22; ++r) put(c, r, 0, 2);  // the river
    put(c, 13, 1, 3);                                // the road
  }
  for (int r = 19; r <= 22; ++r) put(12, r, 1, 5);   // a bridge over the river
  for (int r = 14; r < 19; ++r) put(12, r, 1, 3);    // the road down to it
  for (int c = 3; c <= 6; ++c) put(c, 7, 2, 5);      // a red roof
  for (int c = 3; c <= 6; ++c) put(c, 8, 4, 5);      // house wall with windows
  put(5, 8, 5, 5);                                   // the door
  for (int c = 18; c <= 21; ++c) put(c, 9, 3, 5);    // a blue roof
  for (int c = 18; c <= 21; ++c) put(c, 10, 4, 5);
  put(19, 10, 5, 5);
  for (int c = 0; c < doc.mapCellsX; c += 5) put(c, 2, 0, 4);  // a row of trees
  for (int c = 2; c < doc.mapCellsX; c += 7) put(c, 25, 1, 4); // pines south of the river
  put(9, 5, 7, 5);                                      // a well
  for (int c = 25; c < 33; ++c) put(c, 16, 6, 5);       // a fence
  for (int c = 26; c < 32; ++c)
    for (int r = 17; r <= 18; ++r) put(c, r, 1, 7);     // a field
  put(15, 11, 5, 4);                                    // flowers
  put(16, 11, 5, 4);
  doc.planeA[cellIndex(12, 19)] = 1;  // the bridge cells are walkable: attribute 1
  doc.planeA[cellIndex(12, 20)] = 1;
  doc.planeA[cellIndex(12, 21)] = 1;
  doc.planeA[cellIndex(12, 22)] = 1;
  char out[PATH_STORE];
  if (osPathOf(argv[1], out, sizeof out) < 0 || !saveMapFile(out)) {
    std::fprintf(stderr, "make_sample_map: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
