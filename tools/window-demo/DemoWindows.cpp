#include "tools/window-demo/DemoWindows.h"

#include "VEK_GUI/SToolTip.h"

DemoLabel::DemoLabel() {
    style = WS_CHILD | WS_VISIBLE;
    rect = SRect{460, 40, 120, 60};
}

void DemoLabel::onPaint(SDevice& device) {
    SRect all = getClientRect();
    device.fillRectangle(all, DemoLabelColor);
    device.setColors(0x000000, (COLORREF)-1);
    device.drawText(all, "rechts verankert", "vhw");
}

DemoFrame::DemoFrame() {
    title = "Fenster-Demo";
    rect = SRect{-1, -1, 640, 400};
    style = WS_OVERLAPPEDWINDOW | WS_VSCROLL;
    showInfoButton = 0;
}

void DemoFrame::onCreate(CREATESTRUCTA* createStruct) {
    SFrameWindow::onCreate(createStruct);
    label.create(this);
    label.getAnchor().setMode(SAnchor::Automatic);
    label.getAnchor().classify(getClientRect(), label.getWindowRect());
    label.getAnchor().record(label.getWindowRect(), getClientSize());
    addToolTip("Ein gemalter Bereich, der sich rollen l\344sst.", "Fenster-Demo", 1, 250);
}

void DemoFrame::onSize(int type, int width, int height) {
    SFrameWindow::onSize(type, width, height);
    if (!scroll.isVerticalShown() && hwnd) {
        scroll.showBarVert(true);
        scroll.setDocumentHeight(1200);
    }
}

void DemoFrame::onPaint(SDevice& device) {
    SRect box = boxRect();
    device.rectangle(box, 0x000000, DemoBoxColor);
    SRect text = textRect();
    device.setFont("Arial", 14, -2, -2, 700);
    device.setColors(0x000000, (COLORREF)-1);
    device.drawText(text, "Anlage: Fenster-Demo", "l");
    for (int i = 0; i < 10; ++i) {
        SRect row{40, 260 + i * 90, 200, 40};
        device.rectangle(row, 0x404040, 0xF0F0F0);
        SString label;
        label.format("Zeile %d", i + 1);
        device.drawText(row, label, "vh");
    }
}

DemoDialog::DemoDialog() {
    title = "Demo-Dialog";
    rect = SRect{-1, -1, 320, 160};
    style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    showInfoButton = 0;
}

void DemoDialog::onCreate(CREATESTRUCTA* createStruct) {
    SDialog::onCreate(createStruct);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 60, 80, 80, 26, hwnd,
                    (HMENU)IDOK, instance, nullptr);
    CreateWindowExA(0, "BUTTON", "Abbrechen", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 170, 80, 80, 26, hwnd,
                    (HMENU)IDCANCEL, instance, nullptr);
}

void DemoDialog::onPaint(SDevice& device) {
    SRect text{20, 20, 280, 40};
    device.setColors(0x000000, (COLORREF)-1);
    device.drawText(text, "Weiter mit OK, zur\374ck mit Abbrechen.", "w");
}
