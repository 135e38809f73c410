// Open and save file choosers. Texts are UTF-8; the file names going in and
// out are UTF-8 paths, refused when not valid UTF-8.
#pragma once

#include <cstddef>

struct FileChooserSetup {
  int save;                     // 0 open (the file must exist), 1 save (asks before replacing)
  const char* titleUtf8;
  const char* filterLabelUtf8;  // shown as "label (pattern)"
  const char* patternUtf8;      // e.g. "*.bmp"
  const char* defaultSuffix;    // added to a name typed without one, e.g. "bmp"
};

// Opens the chooser on `start` (the current value, may be empty).
// 1 chosen (outPath holds the full path), 0 cancelled, -1 the chosen name
// is not valid UTF-8 or does not fit outSize bytes (outPath is then "").
int platformChooseFile(const FileChooserSetup& setup, const char* start, char* outPath, size_t outSize);
