// What the gallery suites share: the resource manager started once over a folder of the
// suite's own, which holds the gallery's controlpos.ini and pictures, and a shown gallery.
#pragma once

#include "VEK_UTIL/SString.h"

class GalleryFrame;

// The folder the gallery takes as its program folder (VEK-Resourcen inside).
const SString& galleryFolder();
// Created, shown in front and painted.
bool openGallery(GalleryFrame& frame);
