// The control gallery: one frame with one of every control of the library (styled buttons,
// a check box with a dependent edit, statics, labels, edits, combo boxes, an image control,
// a container, a loaded common control) under a coolbar with menu bar and toolbar, above a
// status bar, with scroll bars and the information button. Also used by its tests and its
// benchmark.
#pragma once

#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SCheckBox.h"
#include "VEK_CONTROLS/SComboBox.h"
#include "VEK_CONTROLS/SControlContainer.h"
#include "VEK_CONTROLS/SControlLoaded.h"
#include "VEK_CONTROLS/SEdit.h"
#include "VEK_CONTROLS/SEditMultiline.h"
#include "VEK_CONTROLS/SImageControl.h"
#include "VEK_CONTROLS/SPopupMenu.h"
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_GUI/SFrameWindow.h"

#include <vector>

// A button in the raised form: its light and dark edges differ.
class RaisedButton : public SButton {
public:
    const char* getClassName() const override { return "RaisedButton"; }
    void onBeforeCreate() override;
};

// A progress bar: a common control the library loads by its class.
class GalleryProgress : public SControlLoaded {
public:
    GalleryProgress();
    const char* getClassName() const override { return "GalleryProgress"; }
    void onAfterCreate() override;
};

class GalleryFrame : public SFrameWindow {
public:
    GalleryFrame();
    const char* getClassName() const override { return "ControlGallery"; }
    void onCreate(CREATESTRUCTA* createStruct) override;
    void onCommand(int id, HWND control, int notifyCode) override;

    // The controls the frame places itself (not the bars, labels or container children).
    const std::vector<SControlPositioned*>& getPlacedControls() const { return placed; }
    SButton& getRaisedButton() { return raised; }
    int getFileMenuId() const { return fileMenuId; }

    static constexpr const char* Title = "Control-Galerie";

private:
    void createBars();
    void createButtons(int top);
    void createTextControls(int top);
    void createPictureControls(int top);
    void fillMenus();
    template <class Control>
    void place(Control& control, const char* text, int x, int y, int width, int height);

    std::vector<SControlPositioned*> placed;
    SPopupMenu fileMenu, viewMenu;
    int fileMenuId = 0;
    SButton save, locked;
    RaisedButton raised;
    SCheckBox logging;
    SEdit logFile;
    SStatic note;
    SEdit name;
    SComboBox valve, speed;
    SEditMultiline log;
    SImageControl picture;
    SControlContainer group;
    SStatic groupTitle;
    SEdit groupValue;
    SButton groupApply;
    GalleryProgress progress;
};
