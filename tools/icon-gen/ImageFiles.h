// ImageFiles: writes canvases as Windows icon files (32-bit images with alpha and an AND
// mask, one per size) and as 24-bit bitmaps on an opaque background.
#pragma once

#include "tools/icon-gen/Canvas.h"

#include <string>
#include <vector>

bool writeIcon(const std::string& path, const std::vector<Canvas>& images);
// Pixels with alpha are composited over the background colour first.
bool writeBitmap(const std::string& path, const Canvas& image, Rgba background);
