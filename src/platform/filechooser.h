// Open and save file choosers. Texts are UTF-8; the file names going in and
// out are Shift_JIS.
#pragma once

#include <cstddef>

struct FileChooserSetup {
  int save;                     // 0 open (the file must exist), 1 save (asks before replacing)
  const char* titleUtf8;
  const char* filterLabelUtf8;  // shown as "label (pattern)"
  const char* patternUtf8;      // e.g. "*.bmp"
  const char* defaultSuffix;    // added to a name typed without one, e.g. "bmp"
};

// Opens the chooser on `startSjis` (the current value, may be empty).
// 1 chosen (outSjis holds the full path), 0 cancelled, -1 the chosen name
// cannot be held in Shift_JIS or in outSize bytes (outSjis is then "").
int platformChooseFile(const FileChooserSetup& setup, const char* startSjis, char* outSjis, size_t outSize);
