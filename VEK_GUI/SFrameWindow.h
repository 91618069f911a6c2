// SFrameWindow: a top-level frame: stored placement, icons, automatic creation of declared
// controls, the layouter's entry points, the frame drag and the messages frames reflect to
// their controls, and the bars it carries: coolbar with toolbar, menu bar, status bar,
// scroll bars and the information button.
#pragma once

#include "VEK_CONTROLS/SCoolbar.h"
#include "VEK_CONTROLS/SImageControl.h"
#include "VEK_CONTROLS/SMenubar.h"
#include "VEK_CONTROLS/SScrollBar.h"
#include "VEK_CONTROLS/SStatusBar.h"
#include "VEK_CONTROLS/SToolbar.h"
#include "VEK_GUI/SGdiObject.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_UTIL/SFileIni.h"

class SFrameWindow : public SWindow {
public:
    SFrameWindow();
    ~SFrameWindow() override;
    const char* getClassName() const override { return "SFrameWindow"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    void onMouseMove(int keys, int x, int y) override;
    int onClose() override;
    void onPreCreateWindow() override;

    virtual void startPositioning();
    virtual void stopPositioning();
    virtual void onReceiveByte(unsigned char byte);
    virtual bool onStatusBarClick(int part);
    virtual bool onStatusBarRClick(int part);
    virtual bool onStatusBarDblClk(int part);

    // The information button's menu: 80 start and 112 stop the layouter, 63 shows the
    // hint on binding resources, 119 opens the library's web page.
    enum InfoMenu { InfoPositioning = 80, InfoPositioningActive = 112, InfoAbout = 63, InfoWebPage = 119 };
    virtual void onInfoCommand(int id);
    static const char* infoButtonToolTip(bool developmentMode);
    static const char* webPageAddress() { return "https://www.vekora-library.de/"; }

    void setSavePlacement(bool on) { savePlacement = on ? 1 : 0; }
    void setDragFlags(DWORD flags) { dragFlags = flags; }
    void setShowInfoButton(bool on) { showInfoButton = on ? 1 : 0; }
    bool isPositioning() const { return positioningActive != 0; }

    // Bars, made on demand. The coolbar holds the toolbar; the bars' space is kept out of the
    // inner rectangle (getInnerRect), which is what the application lays out.
    bool createCoolbar();
    bool createStatusBar();
    void showScrollBars(bool horizontal, bool vertical);
    void layoutBars();
    SCoolbar& getCoolbar() { return coolbar; }
    SToolbar& getToolbar() { return toolbar; }
    SMenubar& getMenubar() { return menubar; }
    SStatusBar& getStatusBar() { return statusBar; }
    SScrollBar& getHScrollBar() { return hScrollBar; }
    SScrollBar& getVScrollBar() { return vScrollBar; }
    SImageControl& getInfoButton() { return infoButton; }
    const SRect& getBarInsets() const { return barInsets; }

    // The next free place of the pending-control grid: columns from 20 in steps of 100 up to
    // 700, then the next row 40 lower (rows from 20).
    static SPoint nextGridPosition(int& column, int& row);

protected:
    void createPendingControls();
    void storePlacement();
    bool setPlacementValue(SFileIni& ini);
    void readPlacement();
    void loadIcons();
    void showIcons();
    void handlePosChanged(const WINDOWPOS* position);
    void handleSize();
    void firstShow();
    static bool developmentMode();

    SString bigIconName;
    SString smallIconName;
    int savePlacement = 0;
    DWORD dragFlags = 0;
    int showInfoButton = 1;
    SIconHandle smallIcon;
    SIconHandle bigIcon;

private:
    bool sizingLoop = false;      // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE
    SSize laidOutSize{-1, -1};    // the client size the children were last laid out for
    bool dragging = false;
    bool inDrag = false;
    POINT dragStart{0, 0};
    POINT windowStart{0, 0};
    POINT lastPointer{0, 0};

protected:
    void createInfoButton();
    // The information button's click: the web page, or in development mode its menu.
    void openInfoMenu();

    SMenubar menubar;
    SCoolbar coolbar;
    SToolbar toolbar;
    SImageControl infoButton;
    SScrollBar hScrollBar{false};
    SScrollBar vScrollBar{true};
    SStatusBar statusBar;
};
