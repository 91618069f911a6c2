// The portable core's global objects; their order among the GUI's is in SGlobals.h.
#include "VEK_UTIL/SGlobals.h"

#include "VEK_UTIL/SColorMap.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"
#include "VEK_UTIL/SLanguage.h"
#include "VEK_UTIL/SResources.h"

SError globalError VEK_GLOBAL(1);
SLanguage globalLanguage VEK_GLOBAL(2);
SDebug globalDebug VEK_GLOBAL(3);
SResources globalResources VEK_GLOBAL(5);
SColorMap globalColors VEK_GLOBAL(6);
