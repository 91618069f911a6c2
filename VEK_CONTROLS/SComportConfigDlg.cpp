#include "VEK_CONTROLS/SComportConfigDlg.h"

#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_SYSTEM/Cp210x.h"

#include <dbt.h>

namespace {

const int boxAnchor = 0x7000;
const int buttonAnchor = 1;

// The five fields of a settings text: port, baud, parity letter, data bits, stop bits.
SStringList settingsFields(const SComPortSettings& settings) {
    SString rest = settings.toString();
    rest.append(",,,,,");
    SStringList fields;
    for (int i = 0; i < 5; ++i) fields.add(rest.cutFirst(","));
    return fields;
}

// An item's port name: its text up to the first blank.
SString portOf(const SString& item) {
    int blank = item.findChar(' ');
    return blank < 0 ? item : item.left(blank);
}

} // namespace

SComportConfigDlg::SComportConfigDlg() {
    title = "~~idCpcdWndTitle~~COM-Port Einstellung~~COM-Port settings";
    showInfoButton = 0; // its place is the cancel button's
}

void SComportConfigDlg::onPreCreateWindow() {
    SDialog::onPreCreateWindow();
    style |= WS_DLGFRAME;
    double scale = globalApplication.getFontScale();
    rect.width = (int)(310 * scale);
    rect.height = (int)(250 * scale);
    device.setBackgroundColor(parent ? parent->getDevice().getBackgroundColor() : RGB(255, 255, 255));
}

void SComportConfigDlg::onCreate(CREATESTRUCTA* createStruct) {
    SDialog::onCreate(createStruct);
    if (!settings) {
        messageBox("interner Fehler: fehlende Initialisierung von 'SComportConfigDlg::settings'\r\n\r\nDiese Member ist "
                   "nicht optional.",
                   "Fehler", 0x10);
        return;
    }
    globalApplication.addWatch(hwnd, broadcastWindow(), WM_DEVICECHANGE, 0);
    saveButton.setDefault();
    saveButton.createCtrl(this, "~~idSave~~speichern~~save", -100, -30, SControlPositioned::DefaultSize,
                          SControlPositioned::DefaultSize, buttonAnchor);
    saveButton.addToolTip("~~idCpcdTipSave~~speichert die Einstellungen und schlie\337t das Fenster~~saves the "
                          "settings and closes the window");
    eventCalls.add(SEventBinding::make(WM_COMMAND, saveButton.getControlId(), 0, this, &SComportConfigDlg::save));
    cancelButton.createCtrl(this, "~~idCancel~~abbrechen~~cancel", 20, -30, 80, 20, buttonAnchor);
    cancelButton.addToolTip("~~idCpcdTipCancel~~verwirft alle \304nderungen und schlie\337t das Fenster~~discards all "
                            "changes and closes the window");
    createBoxes();
    lockFields();
}

void SComportConfigDlg::createBoxes() {
    SStringList fields = settingsFields(*settings);
    const int D = SControlPositioned::DefaultSize;

    portBox.styleNoEdit();
    portBox.setStyleBits(portBox.getStyleBits() | CBS_SORT | WS_VSCROLL);
    portBox.createCtrl(this, "", 70, 15, 200, 200, boxAnchor);
    portBox.addLabel("~~idPort~~Port~~Port", -60, 2);
    fillPortBox();

    static const char* const rates[] = {"110",   "300",   "600",   "1200",   "2400",   "4800",
                                        "9600",  "14400", "19200", "28800",  "38400",  "56000",
                                        "57600", "115200", "128000", "256000", "500000"};
    baudBox.setStyleBits(baudBox.getStyleBits() | WS_VSCROLL);
    baudBox.createCtrl(this, "", 70, 40, D, D, boxAnchor);
    baudBox.addLabel("~~idBaud~~Baud~~Baud", -60, 2);
    for (const char* rate : rates) baudBox.addString(rate);
    baudBox.setWindowText(fields[1]); // any rate shows, listed or not

    static const char* const parities[] = {"None", "Odd", "Even", "Mark", "Space"};
    parityBox.styleNoEdit();
    parityBox.createCtrl(this, "", 70, 65, D, D, boxAnchor);
    parityBox.addLabel("~~idParity~~Parit\344t~~Parity", -60, 2);
    for (int i = 0; i < 5; ++i) parityBox.addString(parities[i], i);
    char letter = (fields[2] + "N").getAt(0);
    const char* letters = "NOEMS";
    for (int i = 0; i < 5; ++i)
        if (letters[i] == letter) parityBox.setCurSel(i);

    dataBox.styleNoEdit();
    dataBox.createCtrl(this, "", 70, 90, D, D, boxAnchor);
    dataBox.addLabel("~~idDatabits~~Datenbits~~Databits", -60, 2);
    for (int bits = 4; bits <= 8; ++bits) dataBox.addString(SString::formatted("%d", bits), bits);
    dataBox.selectString(fields[3], 0);

    static const char* const stops[] = {"1", "1.5", "2"};
    stopBox.styleNoEdit();
    stopBox.createCtrl(this, "", 70, 115, D, D, boxAnchor);
    stopBox.addLabel("Stopbits", -60, 2);
    for (int i = 0; i < 3; ++i) stopBox.addString(stops[i], i);
    stopBox.selectString(fields[4], 0);

    tobrikBox.getDevice().setColors(SPainter::Keep, device.getBackgroundColor());
    tobrikBox.getDevice().setBackgroundColor(device.getBackgroundColor());
    tobrikBox.createCtrl(this, "~~idCpcdSendTobrikCmd~~send Tobrik commands", 70, 140, 215, 40, boxAnchor);
    tobrikBox.setChecked(settings->tobrikCommands);
}

void SComportConfigDlg::lockFields() {
    SStringList names;
    names.split(lockedFields, ",");
    for (int i = 0; i < names.count(); ++i) {
        SString name(names[i]);
        name.trim().toLower();
        SWindow* field = name == "port"        ? (SWindow*)&portBox
                         : name == "baud"      ? (SWindow*)&baudBox
                         : name == "stop"      ? (SWindow*)&stopBox
                         : name == "daten"     ? (SWindow*)&dataBox
                         : name == "pari"      ? (SWindow*)&parityBox
                         : name == "tobrikcmd" ? (SWindow*)&tobrikBox
                                               : nullptr;
        if (field) field->enable(false);
    }
}

// The item of the settings' port is selected, found by its whole port name (COM1 is not
// COM10); without one the first item.
void SComportConfigDlg::fillPortBox() {
    if (!settings || !portBox.isWindow()) return;
    SString wanted = settingsFields(*settings)[0]; // upper case already
    portBox.resetContent();
    SMapStringToString ports;
    Cp210x::getPortList(ports, true);
    for (int i = 0; i < ports.count(); ++i) {
        SString item;
        item.format("%-8s%s", ports.getKeyAt(i).getBuffer(), ports.getValueAt(i).getBuffer());
        portBox.addString(item.trim());
    }
    int select = portBox.getCount() > 0 ? 0 : -1;
    for (int i = 0; i < portBox.getCount(); ++i) {
        SString name = portOf(portBox.getItemText(i));
        if (name.toUpper() == wanted) select = i;
    }
    portBox.setCurSel(select);
}

// Broadcasts reach top-level windows: the application's main window, or else the top of
// the parent's window tree.
HWND SComportConfigDlg::broadcastWindow() const {
    SWindow* main = globalApplication.getMainWindow();
    if (main && main->getHwnd()) return main->getHwnd();
    return parent && parent->getHwnd() ? GetAncestor(parent->getHwnd(), GA_ROOT) : hwnd;
}

int SComportConfigDlg::parseBaud(const SString& typed) {
    SString text(typed);
    text.trim();
    text.replace(".", "", true);
    if (text.isEmpty() || text.length() > 9) return -1;
    for (int i = 0; i < text.length(); ++i)
        if (text.getAt(i) < '0' || text.getAt(i) > '9') return -1;
    int baud = text.toNumber();
    return baud < SComPortSettings::minBaud || baud > SComPortSettings::maxBaud ? -1 : baud;
}

int SComportConfigDlg::selectedData(SComboBox& box, int current) {
    int index = box.getCurSel();
    return index < 0 ? current : (int)box.getItemData(index);
}

void SComportConfigDlg::save() {
    if (!settings) return;
    int baud = parseBaud(baudBox.getWindowText());
    if (baud < 0) {
        messageBox("Fehlerhafte Baud-Angabe.\r\n\r\nBitte korrigieren Sie den Eintrag.", "Fehler", 0x10);
        return;
    }
    int chosen = portBox.getCurSel();
    settings->port = chosen >= 0 ? portOf(portBox.getItemText(chosen)) : SString();
    settings->baud = baud;
    settings->parity = selectedData(parityBox, settings->parity);
    settings->dataBits = selectedData(dataBox, settings->dataBits);
    settings->stopBits = selectedData(stopBox, settings->stopBits);
    settings->tobrikCommands = tobrikBox.isChecked();
    globalApplication.removeWatches(hwnd, WM_DEVICECHANGE);
    endDialog(1);
}

int SComportConfigDlg::onCancel() {
    globalApplication.removeWatches(hwnd, WM_DEVICECHANGE);
    return 1;
}

void SComportConfigDlg::onWatchedMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LPARAM userValue) {
    const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    bool portEvent = (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && header &&
                     header->dbch_devicetype == DBT_DEVTYP_PORT;
    if (msg == WM_DEVICECHANGE && portEvent)
        fillPortBox();
    else
        SDialog::onWatchedMessage(h, msg, wParam, lParam, userValue);
}
