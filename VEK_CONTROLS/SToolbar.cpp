#include "VEK_CONTROLS/SToolbar.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_UTIL/SError.h"

#include <string>

// The menu bar's request to open a button's menu.
static constexpr UINT kOpenMenu = 0x7E9;

SToolbar::SToolbar() {
    className = TOOLBARCLASSNAMEA;
    style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_LIST | TBSTYLE_FLAT | CCS_NODIVIDER |
            CCS_NORESIZE;
    positionable = 0;
}

bool SToolbar::createToolbar(SWindow* parentWindow) {
    if (!parentWindow) {
        globalError.show("createToolbar(..) muss ein g\374ltigen pParent \374bergeben bekommen.", 0, "Fehler !", 0x10);
        return false;
    }
    if (created) {
        globalError.show("createToolbar(..) Die Toolbar wurde bereits erzeugt.", 0, "Fehler !", 0x10);
        return false;
    }
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    onPreCreateWindow();
    parent = parentWindow;
    created = 1;
    hwnd = CreateToolbarEx(parentWindow->getHwnd(), style, (UINT)controlId, 0, nullptr, 0, nullptr, 0, 50,
                           buttonHeight - 2, bitmapWidth, bitmapHeight, sizeof(TBBUTTON));
    device.setHwnd(hwnd);
    if (!hwnd) return false;
    imageList.create(bitmapWidth, bitmapHeight);
    sendMessage(TB_SETIMAGELIST, 0, (LPARAM)imageList.getHandle());
    sendMessage(TB_SETEXTENDEDSTYLE, 0, (LPARAM)extendedStyle);
    COLORSCHEME colours{sizeof(COLORSCHEME), 0xFFFFFF, 0x781414};
    sendMessage(CCM_SETCOLORSCHEME, 0, (LPARAM)&colours);
    applyFontToControl();
    onAfterCreate();
    return true;
}

void SToolbar::onAfterCreate() {
    SControlPredefined::onAfterCreate();
    addToolTip("", "", 0, toolTipWidth, toolTipMode == 2);
    if (getToolTip()) sendMessage(TB_SETTOOLTIPS, (WPARAM)getToolTip()->getHwnd(), 0);
}

int SToolbar::addButton(const char* text, const char* imageName, int id, BYTE buttonStyle, DWORD_PTR data) {
    if (!hwnd) return 0;
    int image = I_IMAGENONE;
    if (imageName && *imageName) {
        image = imageList.add(imageName);
        if (image < 0) return 0; // a button without its picture is left out
    }
    if (id == 0) id = globalApplication.nextId();
    // The list of strings ends with two zero bytes; an empty text would end it at once.
    SString label(text ? text : "");
    if (label.isEmpty()) label.setRaw(" ");
    std::string strings(label.getBuffer(), (size_t)label.length());
    strings.push_back('\0'); // with the terminator of c_str: two zero bytes
    int stringIndex = (int)sendMessage(TB_ADDSTRINGA, 0, (LPARAM)strings.c_str());
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = id;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = buttonStyle;
    button.dwData = data;
    button.iString = stringIndex;
    if (!sendMessage(TB_ADDBUTTONSA, 1, (LPARAM)&button)) return 0;
    sendMessage(TB_AUTOSIZE, 0, 0);
    return id;
}

void SToolbar::setToolTipText(int id, const char* text) { toolTips.set(id, SString(text ? text : "")); }

bool SToolbar::setButtonState(int id, BYTE state) {
    return sendMessage(TB_SETSTATE, (WPARAM)id, MAKELPARAM(state, 0)) != 0;
}

int SToolbar::buttonAt(SPoint p) {
    if (!hwnd) return 0;
    POINT point{p.x, p.y};
    int index = (int)sendMessage(TB_HITTEST, 0, (LPARAM)&point);
    if (index < 0) return 0;
    TBBUTTON button{};
    if (!sendMessage(TB_GETBUTTON, (WPARAM)index, (LPARAM)&button)) return 0;
    return button.idCommand;
}

SRect SToolbar::getButtonRect(int id) {
    RECT r{0, 0, 0, 0};
    sendMessage(TB_GETRECT, (WPARAM)id, (LPARAM)&r);
    return SRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void SToolbar::onMouseMove(int keys, int x, int y) {
    SControlPredefined::onMouseMove(keys, x, y);
    mousePosition = SPoint{x, y};
}

const char* SToolbar::getToolTipText() {
    int id = buttonAt(mousePosition);
    toolTipAnswer = toolTips.contains(id) ? toolTips.get(id) : SString(DefaultToolTip);
    return toolTipAnswer.getBuffer();
}

void SToolbar::postOpenMenu(int id) {
    if (hwnd) PostMessageA(hwnd, kOpenMenu, (WPARAM)id, 0);
}
