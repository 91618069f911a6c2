// The library's global objects, in the one order in which they are built (and destroyed
// in reverse). C++ orders globals only within one source file, so they all live here; the
// priority puts them before every global of the application (its main window).
#include "VEK_UTIL/SColorMap.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"
#include "VEK_UTIL/SLanguage.h"
#include "VEK_UTIL/SResources.h"

#ifdef _WIN32
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#endif

#define VEK_GLOBAL(order) __attribute__((init_priority(1000 + (order))))

SError globalError VEK_GLOBAL(1);
SLanguage globalLanguage VEK_GLOBAL(2);
SDebug globalDebug VEK_GLOBAL(3);
#ifdef _WIN32
SApplicationBasic globalApplicationBasic VEK_GLOBAL(4);
#endif
SResources globalResources VEK_GLOBAL(5);
SColorMap globalColors VEK_GLOBAL(6);
#ifdef _WIN32
SApplication globalApplication VEK_GLOBAL(7);
#endif
