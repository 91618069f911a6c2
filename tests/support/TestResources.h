// Frames look up their icons, styles and stored places through the resource manager: a test
// program starts it once, on a fresh folder of its own with the given layout file.
#pragma once

#include "VEK_UTIL/SString.h"

// Returns the program folder; `controlpos` is written to VEK-Resourcen\controlpos.ini the
// first time (null: no resource folder at all). Later calls only return the folder.
const SString& startTestResources(const char* controlpos = "", const char* programName = "Anlage.exe");
