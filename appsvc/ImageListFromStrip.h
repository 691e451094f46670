#pragma once

#include "appsvc/Win32Api.h"

#include <commctrl.h>

// Builds a masked 32-bit image list from a horizontal strip of images: each image is as high as the
// strip and as wide as that height rounded up to an even number, magenta (0xFF00FF) is the mask
// colour. Takes ownership of `strip` and deletes it. Null when the strip is null or has no height, or
// when the list cannot be made or filled.
HIMAGELIST ImageListFromStrip(HBITMAP strip);
