#include "app/ExperimentControls.h"

#include "app/ExperimentWnd.h"

TxtUeberschrift::TxtUeberschrift(SWindow& window) {
    setParent(&window);
    title = "Experiment durchf\374hren";
}

void TxtUeberschrift::onBeforeCreate() {
    SStatic::onBeforeCreate();
    device.setFont("Arial", 26, 0, 0, 900);
}

ExperimentButton::ExperimentButton(ExperimentWnd& window, const char* caption, Action action)
    : window(window), action(action) {
    setParent(&window);
    title = caption;
}

void ExperimentButton::onClicked() { (window.*action)(); }

BtnVerbinden::BtnVerbinden(ExperimentWnd& window) : ExperimentButton(window, "Verbinden", &ExperimentWnd::connect) {}
BtnUpload::BtnUpload(ExperimentWnd& window) : ExperimentButton(window, "Upload", &ExperimentWnd::upload) {}
BtnStart::BtnStart(ExperimentWnd& window) : ExperimentButton(window, "Start", &ExperimentWnd::start) {}
BtnFertig::BtnFertig(ExperimentWnd& window) : ExperimentButton(window, "Beenden", &ExperimentWnd::finish) {}
BtnKamera::BtnKamera(ExperimentWnd& window) : ExperimentButton(window, "Kamera", &ExperimentWnd::openCamera) {}
BtnEnde::BtnEnde(ExperimentWnd& window) : ExperimentButton(window, "schlie\337en", &ExperimentWnd::end) {}

ExperimentEdit::ExperimentEdit(SWindow& window, const char* caption) : labelText(caption) {
    setParent(&window);
    title = caption;
}

int ExperimentEdit::onReflectedNotify(int code, NMHDR*) {
    if (code != EN_CHANGE) return 0;
    onChange();
    return 1;
}

void ExperimentEdit::onAfterCreate() {
    SEdit::onAfterCreate();
    addLabel(labelText, 0, -20, -1, 20);
}
