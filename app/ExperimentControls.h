// The experiment window's own controls: its heading, the six buttons (each runs one action
// of the window) and the two input fields, which start with their own names as text.
#pragma once

#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SEdit.h"
#include "VEK_CONTROLS/SStatic.h"

class ExperimentWnd;

class TxtUeberschrift : public SStatic {
public:
    explicit TxtUeberschrift(SWindow& window);
    const char* getClassName() const override { return "TxtUeberschrift"; }
    void onBeforeCreate() override;
};

// A button of the experiment window: a click runs one of the window's actions.
class ExperimentButton : public SButton {
public:
    using Action = void (ExperimentWnd::*)();
    ExperimentButton(ExperimentWnd& window, const char* caption, Action action);
    void onClicked() override;

private:
    ExperimentWnd& window;
    Action action;
};

class BtnVerbinden : public ExperimentButton {
public:
    explicit BtnVerbinden(ExperimentWnd& window);
    const char* getClassName() const override { return "BtnVerbinden"; }
};

class BtnUpload : public ExperimentButton {
public:
    explicit BtnUpload(ExperimentWnd& window);
    const char* getClassName() const override { return "BtnUpload"; }
};

class BtnStart : public ExperimentButton {
public:
    explicit BtnStart(ExperimentWnd& window);
    const char* getClassName() const override { return "BtnStart"; }
};

class BtnFertig : public ExperimentButton {
public:
    explicit BtnFertig(ExperimentWnd& window);
    const char* getClassName() const override { return "BtnFertig"; }
};

class BtnKamera : public ExperimentButton {
public:
    explicit BtnKamera(ExperimentWnd& window);
    const char* getClassName() const override { return "BtnKamera"; }
};

class BtnEnde : public ExperimentButton {
public:
    explicit BtnEnde(ExperimentWnd& window);
    const char* getClassName() const override { return "BtnEnde"; }
};

// An input field with a label of its own name above it; typing needs no handling.
class ExperimentEdit : public SEdit {
public:
    ExperimentEdit(SWindow& window, const char* caption);
    int onReflectedNotify(int code, NMHDR* header) override;
    void onAfterCreate() override;
    virtual void onChange() {}

private:
    const char* labelText;
};

class EditName : public ExperimentEdit {
public:
    explicit EditName(SWindow& window) : ExperimentEdit(window, "Name") {}
    const char* getClassName() const override { return "EditName"; }
};

class EditMatrikel : public ExperimentEdit {
public:
    explicit EditMatrikel(SWindow& window) : ExperimentEdit(window, "MatrikelNr") {}
    const char* getClassName() const override { return "EditMatrikel"; }
};
