#include "VEK_CONTROLS/SPopupMenu.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SGdiObject.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SError.h"

#include <cctype>

namespace {

// "1. Datei" -> "&1. Datei": the number becomes the item's access key.
SString numberPrefix(const SString& text) {
    if (text.length() <= 4 || !std::isdigit((unsigned char)text.getAt(0))) return text;
    int blank = text.findChar(' ');
    if (blank < 2 || text.getAt(blank - 1) != '.') return text;
    SString out("&");
    out.append(text.left(blank)).append(text.from(blank));
    return out;
}

// "Strg + S" -> "Strg+S": the pieces between blanks and plus signs, joined by "+".
SString accelerator(const SString& text) {
    SString spaced(text);
    spaced.replace("+", " ", true);
    SStringList pieces;
    pieces.split(spaced, " ", true);
    SString out;
    for (int i = 0; i < pieces.count(); ++i) {
        SString piece = pieces[i];
        if (piece.trim().isEmpty()) continue;
        if (!out.isEmpty()) out.append("+");
        out.append(piece);
    }
    return out;
}

} // namespace

SPopupMenu::SPopupMenu() : menu(CreatePopupMenu()) {}

// A submenu belongs to the menu it was attached to, which destroys it with itself.
SPopupMenu::~SPopupMenu() {
    if (menu && !submenu) DestroyMenu(menu);
}

void SPopupMenu::onBeforeTrack() {}

SString SPopupMenu::itemText(const char* text) {
    SString all(text ? text : "");
    int tab = all.findChar('\t');
    if (tab < 0) return numberPrefix(all);
    SString label = numberPrefix(all.left(tab));
    return label.append("\t").append(accelerator(all.from(tab + 1)));
}

int SPopupMenu::appendItem(const char* text, int id, UINT flags) {
    SString shown = itemText(text);
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | (flags ? MIIM_STATE : 0u);
    item.fState = flags;
    item.dwTypeData = const_cast<char*>(shown.getBuffer());
    item.cch = (UINT)shown.length();
    return insertItem(item, -1, true, id);
}

int SPopupMenu::appendSeparator() {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    item.fType = MFT_SEPARATOR;
    return insertItem(item, -1, true, 0);
}

int SPopupMenu::appendSubmenu(const char* text, SPopupMenu& sub) {
    if (!sub.menu || sub.submenu) return 0; // a menu can hang below one menu only
    SString shown = itemText(text);
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_SUBMENU;
    item.hSubMenu = sub.menu;
    item.dwTypeData = const_cast<char*>(shown.getBuffer());
    item.cch = (UINT)shown.length();
    int id = insertItem(item, -1, true, 0);
    if (id == 0) return 0;
    sub.submenu = 1;
    sub.backgroundColor = backgroundColor;
    return id;
}

int SPopupMenu::insertItem(MENUITEMINFOA& item, int position, bool byPosition, int id) {
    if (!menu) return 0;
    if (id == 0) id = globalApplication.nextId();
    item.fMask |= MIIM_ID;
    item.wID = (UINT)id;
    UINT where = position < 0 ? (UINT)GetMenuItemCount(menu) : (UINT)position;
    if (!InsertMenuItemA(menu, where, byPosition, &item)) {
        SString text("Fehler beim Einf\374gen eines Men\374punktes. (");
        text.append(SSystem::systemErrorText(GetLastError())).append(")");
        globalError.add(text);
        return 0;
    }
    return id;
}

int SPopupMenu::track(HWND owner, SPoint p) {
    if (!menu) return 0;
    SGdiObject<HBRUSH> brush(CreateSolidBrush(backgroundColor));
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = brush.get();
    SetMenuInfo(menu, &info);
    onBeforeTrack();
    UINT flags = alignFlags | trackFlags | TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_VERPOSANIMATION;
    int id = (int)TrackPopupMenuEx(menu, flags, p.x, p.y, owner, nullptr);
    if (sendCommand && id) SendMessageA(owner, WM_COMMAND, (WPARAM)id, 0);
    // The menu must not keep the brush that is deleted now.
    info.hbrBack = nullptr;
    SetMenuInfo(menu, &info);
    return id;
}

SString SPopupMenu::choose(HWND owner, SPoint p, const char* texts, const char* separator) {
    SStringList items;
    items.split(texts ? texts : "", separator && *separator ? separator : ",");
    SPopupMenu once;
    once.sendCommand = 0; // ids from 1 would reach the owner as its OK and Cancel
    for (int k = 0; k < items.count(); ++k) {
        if (items[k].isEmpty())
            once.appendSeparator();
        else
            once.appendItem(items[k], k + 1);
    }
    int id = once.track(owner, p);
    return id >= 1 && id <= items.count() ? items[id - 1] : SString();
}
