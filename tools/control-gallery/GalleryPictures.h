// The gallery's pictures, drawn by the gallery itself into its resource folder at start, so
// it shows its image control and toolbar images without files of its own.
#pragma once

#include "VEK_UTIL/SString.h"

namespace GalleryPictures {

// Picture names as the resources find them.
constexpr const char* Tank = "galerie-tank.bmp";    // 96 x 64, white is transparent
constexpr const char* New = "galerie-neu.bmp";      // 16 x 16, magenta top left
constexpr const char* Save = "galerie-sichern.bmp"; // 16 x 16, magenta top left
constexpr const char* Info = "vek.bmp";             // 70 x 35, the information button

// Writes every picture that folder does not hold yet; false when one cannot be written.
bool writeMissing(const SString& folder);

} // namespace GalleryPictures
