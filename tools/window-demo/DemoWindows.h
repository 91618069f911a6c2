// The window demo: a frame with a scrolled painted area, a tooltip and a child anchored to
// its right edge, and a dialog with OK and Cancel. Also used by the capture test.
#pragma once

#include "VEK_GUI/SDialog.h"
#include "VEK_GUI/SFrameWindow.h"

// Colours the capture test looks for.
enum : COLORREF {
    DemoBoxColor = 0x00E05030,   // the filled rectangle
    DemoLabelColor = 0x0030C0F0, // the anchored child
};

class DemoLabel : public SWindow {
public:
    DemoLabel();
    const char* getClassName() const override { return "DemoLabel"; }
    void onPaint(SDevice& device) override;
};

class DemoFrame : public SFrameWindow {
public:
    DemoFrame();
    const char* getClassName() const override { return "DemoFrame"; }
    void onCreate(CREATESTRUCTA* createStruct) override;
    void onPaint(SDevice& device) override;
    void onSize(int type, int width, int height) override;

    DemoLabel& getLabel() { return label; }
    static SRect boxRect() { return SRect{40, 40, 220, 120}; }
    static SRect textRect() { return SRect{40, 180, 300, 30}; }

private:
    DemoLabel label;
};

class DemoDialog : public SDialog {
public:
    DemoDialog();
    const char* getClassName() const override { return "DemoDialog"; }
    void onCreate(CREATESTRUCTA* createStruct) override;
    void onPaint(SDevice& device) override;
    int onOK() override { return 1; }
    int onCancel() override { return 1; }
};
