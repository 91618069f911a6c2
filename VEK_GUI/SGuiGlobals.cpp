// The window core's global objects; their order among the portable core's is in
// VEK_UTIL/SGlobals.h.
#include "VEK_UTIL/SGlobals.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"

SApplicationBasic globalApplicationBasic VEK_GLOBAL(4);
SApplication globalApplication VEK_GLOBAL(7);
