#include "app/MainWndButtons.h"

#include "app/MainWnd.h"

// Declared with the main window as parent: it creates them at its first show, on the grid
// or where controlpos.ini puts them.
BtnExperiment::BtnExperiment(MainWnd& window) : window(window) {
    setParent(&window);
    title = "Experiment starten";
}

void BtnExperiment::onClicked() { window.openExperiment(); }

MixButton::MixButton(MainWnd& window, const char* caption, int first, int second)
    : window(window), first(first), second(second) {
    setParent(&window);
    title = caption;
}

void MixButton::onClicked() { window.sendMix(first, second); }

BtnAufzeichnen::BtnAufzeichnen(MainWnd& window) : window(window) {
    setParent(&window);
    title = "Aufzeichnen";
}

void BtnAufzeichnen::onClicked() { window.toggleRecording(); }
