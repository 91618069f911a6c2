#include "tools/control-gallery/GalleryFrame.h"

#include "VEK_UTIL/SResources.h"
#include "tools/control-gallery/GalleryPictures.h"

#include <commctrl.h>

void RaisedButton::onBeforeCreate() {
    SButton::onBeforeCreate();
    // face, light edge, dark edge, text
    normalColors.clear();
    normalColors.addFromText("#e4e4e4,#ffffff,#606060,#000000");
    mouseOverColors.clear();
    mouseOverColors.addFromText("#f4f4f4,#ffffff,#606060,#000000");
}

GalleryProgress::GalleryProgress() {
    className = PROGRESS_CLASSA;
    iccClasses = ICC_PROGRESS_CLASS;
    style = WS_CHILD | WS_VISIBLE;
}

void GalleryProgress::onAfterCreate() {
    SControlLoaded::onAfterCreate();
    sendMessage(PBM_SETPOS, 60, 0);
}

GalleryFrame::GalleryFrame() {
    title = Title;
    rect = SRect{-1, -1, 720, 560};
    style = WS_OVERLAPPEDWINDOW;
}

void GalleryFrame::onCreate(CREATESTRUCTA* createStruct) {
    SFrameWindow::onCreate(createStruct);
    GalleryPictures::writeMissing(SString(globalResources.getAppDir()).append("\\VEK-Resourcen"));
    createBars();
    const int top = getInnerRect().y + 40; // a margin below the bars
    createButtons(top);
    createTextControls(top);
    createPictureControls(top);
}

template <class Control>
void GalleryFrame::place(Control& control, const char* text, int x, int y, int width, int height) {
    control.createCtrl(this, text, x, y, width, height);
    placed.push_back(&control);
}

void GalleryFrame::createBars() {
    createCoolbar();
    fillMenus();
    if (menubar.createToolbar(this)) {
        fileMenuId = menubar.addMenu("Datei", fileMenu);
        menubar.addMenu("Ansicht", viewMenu);
        coolbar.addBand(menubar);
    }
    toolbar.addButton("Neu", GalleryPictures::New);
    toolbar.addButton("Sichern", GalleryPictures::Save);
    toolbar.addButton("Hilfe");
    createStatusBar();
    statusBar.setParts("220,440");
    statusBar.setText(0, "Bereit");
    statusBar.setText(1, "Control-Galerie");
    statusBar.setText(2, "drei Teile");
    showScrollBars(true, true); // before the document sizes, which would show the frame's own bars
    scroll.setDocumentWidth(1000);
    scroll.setDocumentHeight(900);
}

void GalleryFrame::fillMenus() {
    fileMenu.appendItem("1. Neu\tStrg + N");
    fileMenu.appendItem("2. \326ffnen...\tStrg + O");
    fileMenu.appendSeparator();
    fileMenu.appendItem("Beenden\tAlt + F4", IDCANCEL);
    viewMenu.appendItem("Statusleiste", 0, MFS_CHECKED);
    viewMenu.appendItem("Werkzeugleiste", 0, MFS_CHECKED);
}

void GalleryFrame::createButtons(int top) {
    save.setDefault();
    place(save, "Speichern", 20, top, 120, 30);
    place(raised, "Erhaben", 20, top + 40, 120, 30);
    place(locked, "Gesperrt", 20, top + 80, 120, 30);
    locked.enable(false);
    logFile.createCtrl(this, "protokoll.txt", 20, top + 160, 160, 22);
    placed.push_back(&logFile);
    logging.addDependent(&logFile, 0);
    place(logging, "Protokoll schreiben", 20, top + 130, 170, 22);
    place(note, "Ein statischer Text", 20, top + 200, 170, 20);
}

void GalleryFrame::createTextControls(int top) {
    place(name, "Anlage 1", 280, top, 170, 22);
    name.addLabel("Name:", -70, 2, 65, 20);
    place(valve, "", 280, top + 40, 170, 150);
    valve.addLabel("Ventil:", -70, 2, 65, 20);
    for (const char* item : {"Ventil 1", "Ventil 2", "Ventil 3"}) valve.addString(item);
    valve.setCurSel(1);
    speed.styleNoEdit();
    place(speed, "", 280, top + 80, 170, 150);
    speed.addLabel("Tempo:", -70, 2, 65, 20);
    for (const char* item : {"langsam", "normal", "schnell"}) speed.addString(item);
    speed.setCurSel(0);
    place(log, "", 210, top + 120, 240, 110);
    log.append("F\374llstand 42 %\r\nVentil 2 offen\r\nR\374hrer an\r\n");
}

void GalleryFrame::createPictureControls(int top) {
    place(picture, "", 480, top, 180, 100);
    picture.setImage(GalleryPictures::Tank);
    picture.setTransparentColor(0xFFFFFF);
    picture.setAlignment(SImageControl::AlignHCenter | SImageControl::AlignVCenter);
    picture.setClickable(true);
    place(group, "", 480, top + 120, 180, 110);
    groupTitle.createCtrl(this, "Gruppe", 0, 0, 10, 10, 0);
    groupValue.createCtrl(this, "12,5", 0, 0, 10, 10, 0);
    groupApply.createCtrl(this, "\334bernehmen", 0, 0, 10, 10, 0);
    SRect titleRect{10, 8, 160, 20}, valueRect{10, 36, 70, 22}, applyRect{90, 34, 80, 26};
    group.addChild(&groupTitle, &titleRect);
    group.addChild(&groupValue, &valueRect);
    group.addChild(&groupApply, &applyRect);
    group.layoutChildren();
    place(progress, "", 20, top + 250, 640, 18);
}

// Every command shows in the status bar; "Beenden" closes the gallery.
void GalleryFrame::onCommand(int id, HWND control, int notifyCode) {
    SFrameWindow::onCommand(id, control, notifyCode);
    if (id == IDCANCEL && !control) {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return;
    }
    if (statusBar.getHwnd()) statusBar.setText(0, SString::formatted("Befehl %d", id));
}
