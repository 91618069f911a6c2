#include "VEK_CONTROLS/SControlLoaded.h"

#include <commctrl.h>

void SControlLoaded::onPreCreateWindow() {
    SControlPredefined::onPreCreateWindow();
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), iccClasses};
    InitCommonControlsEx(&init);
}
