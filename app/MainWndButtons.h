// The main window's buttons: the one that opens the experiment window, the three that send
// a mixing ratio to the plant controller, and the one that starts and ends a recording.
#pragma once

#include "VEK_CONTROLS/SButton.h"

class MainWnd;

class BtnExperiment : public SButton {
public:
    explicit BtnExperiment(MainWnd& window);
    const char* getClassName() const override { return "BtnExperiment"; }
    void onClicked() override;

private:
    MainWnd& window;
};

// A mix button: its click asks the controller for the ratio first : second.
class MixButton : public SButton {
public:
    MixButton(MainWnd& window, const char* caption, int first, int second);
    void onClicked() override;

private:
    MainWnd& window;
    int first;
    int second;
};

class BtnMischA : public MixButton {
public:
    explicit BtnMischA(MainWnd& window) : MixButton(window, "1:1", 1, 1) {}
    const char* getClassName() const override { return "BtnMischA"; }
};

class BtnMischB : public MixButton {
public:
    explicit BtnMischB(MainWnd& window) : MixButton(window, "2:1", 2, 1) {}
    const char* getClassName() const override { return "BtnMischB"; }
};

class BtnMischC : public MixButton {
public:
    explicit BtnMischC(MainWnd& window) : MixButton(window, "1:2", 1, 2) {}
    const char* getClassName() const override { return "BtnMischC"; }
};

// "Aufzeichnen", and "Aufzeichnung beenden" while a recording runs.
class BtnAufzeichnen : public SButton {
public:
    explicit BtnAufzeichnen(MainWnd& window);
    const char* getClassName() const override { return "BtnAufzeichnen"; }
    void onClicked() override;

private:
    MainWnd& window;
};
