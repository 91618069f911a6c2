// SControlPredefined: a control over a predefined platform class ("BUTTON", "EDIT", "STATIC",
// "COMBOBOX", the common controls). After creation its window is subclassed: messages reach
// the library's handlers first, and what they leave goes to the class's own procedure
// (SWindow::callDefaultProc). The first control of a class stores that procedure for all.
#pragma once

#include "VEK_CONTROLS/SControlPositioned.h"

class SControlPredefined : public SControlPositioned {
public:
    SControlPredefined() = default;
    ~SControlPredefined() override;
    const char* getClassName() const override { return "SControlPredefined"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    LRESULT callDefaultProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onAfterCreate() override;

    // The platform procedure of a class as stored by its first control; nullptr before.
    static WNDPROC classProcedure(const char* platformClass);
    bool isSubclassed() const { return subclassed; }

protected:
    // The platform has painted its control; onPaint may draw over it.
    void paintOver();
    // Whether there is anything to draw over the platform's paint: a background image, or a
    // class with an onPaint of its own.
    bool drawsOverPlatform() { return backgroundImage.isLoaded() || hasOwnPaint(); }

private:
    static LRESULT CALLBACK subclassProcedure(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
    static WNDPROC storeClassProcedure(HWND h, const char* platformClass);
    void unsubclass();

    WNDPROC original = nullptr;
    bool subclassed = false;
};
