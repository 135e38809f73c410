// PNG encoding of pictures for files: a rendered surface, or a bitmap file
// converted with its own colours.
#pragma once

#include <string>

#include "platform/surface.h"

// The surface as a PNG (each 5- or 6-bit channel widened to 8 bits by
// repeating its top bits). 1 on success.
int platEncodePng(const PlatSurface* surface, std::string* png);

// The image file at the UTF-8 path, re-encoded as a PNG with its own,
// untruncated colours. 1 on success, 0 when it cannot be read or is larger
// than a surface may be.
int platImageFileToPng(const char* path, std::string* png);
