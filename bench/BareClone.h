// A bare Win32 copy of a window's descendants, to measure the library's windows against:
// the same platform classes (BUTTON, STATIC, EDIT, COMBOBOX, the common controls) with the
// same styles, places, texts, fonts and contents, made with CreateWindowEx by a program that
// has nothing of the library; a window of one of the library's own classes becomes a plain
// window of a bare class. A bare top-level window answers WM_DRAWITEM of owner-drawn buttons
// as plainly as Win32 allows (a raised edge and the text).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace winbench {

inline LRESULT CALLBACK bareTopProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        char text[64] = "";
        GetWindowTextA(item->hwndItem, text, sizeof text);
        RECT r = item->rcItem;
        DrawEdge(item->hDC, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        SetBkMode(item->hDC, TRANSPARENT);
        DrawTextA(item->hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, w, l);
}

// The two bare classes (registered once; a second registration is refused harmlessly).
inline void registerBareClasses() {
    WNDCLASSA c{};
    c.hInstance = GetModuleHandleA(nullptr);
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.lpfnWndProc = bareTopProcedure;
    c.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    c.lpszClassName = "BenchBareTop";
    RegisterClassA(&c);
    c.lpfnWndProc = DefWindowProcA;
    c.lpszClassName = "BenchBareChild";
    RegisterClassA(&c);
}

// A bare top-level window of an outer size, shown without taking the activation.
inline HWND createBareTop(const char* title, int x, int y, int width, int height, DWORD style) {
    registerBareClasses();
    HWND h = CreateWindowExA(0, "BenchBareTop", title, style, x, y, width, height, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    UpdateWindow(h);
    return h;
}

class BareBlueprint {
public:
    // Every visible descendant of top, parents before their children; the parts a platform
    // control makes itself (a combo box's edit and list) come with the copy of the control.
    // A window whose class runs libraryProcedure is one of the library's own.
    BareBlueprint(HWND top, WNDPROC libraryProcedure) : library(libraryProcedure) { record(top, -1); }
    ~BareBlueprint() {
        for (Node& n : nodes)
            if (n.images) ImageList_Destroy(n.images);
    }
    BareBlueprint(const BareBlueprint&) = delete;
    BareBlueprint& operator=(const BareBlueprint&) = delete;

    int count() const { return (int)nodes.size(); }

    // Makes the copy inside `to`; the windows go with it.
    void build(HWND to) const {
        registerBareClasses();
        std::vector<HWND> made;
        for (const Node& n : nodes) {
            HWND parent = n.parent < 0 ? to : made[(size_t)n.parent];
            HWND h = CreateWindowExA(n.exStyle, n.library ? "BenchBareChild" : n.className.c_str(), n.text.c_str(),
                                     n.style & ~WS_VISIBLE, n.rect.left, n.rect.top, n.rect.right - n.rect.left,
                                     n.rect.bottom - n.rect.top, parent, (HMENU)(INT_PTR)n.id, GetModuleHandleA(nullptr),
                                     nullptr);
            made.push_back(h);
            if (!h) continue;
            if (n.font) SendMessageA(h, WM_SETFONT, (WPARAM)n.font, FALSE);
            fill(h, n);
        }
        for (size_t i = 0; i < nodes.size(); ++i) bandsOf(made, i);
        for (size_t i = 0; i < nodes.size(); ++i) {
            const Node& n = nodes[i];
            if (!made[i]) continue;
            // Where the copy stands, whatever the control made of its creation rectangle.
            SetWindowPos(made[i], nullptr, n.rect.left, n.rect.top, n.rect.right - n.rect.left,
                         n.rect.bottom - n.rect.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }

private:
    struct Band {
        int child; // node index
        REBARBANDINFOA info;
    };
    struct Node {
        std::string className, text;
        DWORD style = 0, exStyle = 0;
        RECT rect{};
        int id = 0;
        HFONT font = nullptr;
        int parent = -1;
        bool library = false;
        std::vector<std::string> items; // combo box items, tool buttons, status bar parts
        std::vector<int> parts;
        int selected = -1;
        LRESULT position = 0;
        SCROLLINFO scroll{};
        HIMAGELIST images = nullptr;
        std::vector<Band> bands;
    };


    void record(HWND parent, int parentIndex) {
        for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            if (!(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) continue;
            Node n;
            char name[64] = "";
            GetClassNameA(h, name, sizeof name);
            n.className = name;
            n.library = GetClassLongPtrA(h, GCLP_WNDPROC) == (ULONG_PTR)library;
            const int length = GetWindowTextLengthA(h);
            n.text.resize((size_t)length + 1);
            GetWindowTextA(h, n.text.data(), length + 1);
            n.text.resize((size_t)length);
            n.style = (DWORD)GetWindowLongA(h, GWL_STYLE);
            n.exStyle = (DWORD)GetWindowLongA(h, GWL_EXSTYLE);
            n.id = (int)GetWindowLongPtrA(h, GWLP_ID);
            GetWindowRect(h, &n.rect);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&n.rect), 2);
            n.parent = parentIndex;
            if (!n.library) {
                n.font = (HFONT)SendMessageA(h, WM_GETFONT, 0, 0);
                contents(h, n);
            }
            nodes.push_back(std::move(n));
            const int index = (int)nodes.size() - 1;
            if (_stricmp(name, WC_COMBOBOXA) != 0) record(h, index);
            if (!_stricmp(name, REBARCLASSNAMEA)) bandsFrom(h, index);
        }
    }

    static std::string itemText(HWND h, UINT lengthMessage, UINT textMessage, WPARAM item) {
        const LRESULT length = SendMessageA(h, lengthMessage, item, 0);
        std::string text((size_t)(length > 0 ? length : 0) + 1, '\0');
        if (length > 0) SendMessageA(h, textMessage, item, (LPARAM)text.data());
        text.resize(std::strlen(text.c_str()));
        return text;
    }

    static void contents(HWND h, Node& n) {
        const std::string& c = n.className;
        if (!_stricmp(c.c_str(), WC_COMBOBOXA)) {
            for (int i = 0; i < (int)SendMessageA(h, CB_GETCOUNT, 0, 0); ++i)
                n.items.push_back(itemText(h, CB_GETLBTEXTLEN, CB_GETLBTEXT, (WPARAM)i));
            n.selected = (int)SendMessageA(h, CB_GETCURSEL, 0, 0);
        } else if (!_stricmp(c.c_str(), PROGRESS_CLASSA)) {
            n.position = SendMessageA(h, PBM_GETPOS, 0, 0);
        } else if (!_stricmp(c.c_str(), WC_SCROLLBARA)) {
            n.scroll.cbSize = sizeof n.scroll;
            n.scroll.fMask = SIF_ALL;
            GetScrollInfo(h, SB_CTL, &n.scroll);
        } else if (!_stricmp(c.c_str(), STATUSCLASSNAMEA)) {
            const int count = (int)SendMessageA(h, SB_GETPARTS, 0, 0);
            n.parts.resize((size_t)(count > 0 ? count : 0));
            if (count > 0) SendMessageA(h, SB_GETPARTS, (WPARAM)count, (LPARAM)n.parts.data());
            for (int i = 0; i < count; ++i) n.items.push_back(itemText(h, SB_GETTEXTLENGTHA, SB_GETTEXTA, (WPARAM)i));
        } else if (!_stricmp(c.c_str(), TOOLBARCLASSNAMEA)) {
            if (HIMAGELIST list = (HIMAGELIST)SendMessageA(h, TB_GETIMAGELIST, 0, 0)) n.images = ImageList_Duplicate(list);
            for (int i = 0; i < (int)SendMessageA(h, TB_BUTTONCOUNT, 0, 0); ++i) {
                TBBUTTON b{};
                SendMessageA(h, TB_GETBUTTON, (WPARAM)i, (LPARAM)&b);
                char text[128] = "";
                SendMessageA(h, TB_GETBUTTONTEXTA, (WPARAM)b.idCommand, (LPARAM)text);
                n.items.push_back(text);
                n.parts.push_back(b.iBitmap);
            }
        }
    }

    void bandsFrom(HWND rebar, int index) {
        const int count = (int)SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            Band band{-1, {}};
            band.info.cbSize = sizeof band.info;
            band.info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE | RBBIM_IDEALSIZE;
            SendMessageA(rebar, RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&band.info);
            for (size_t n = 0; n < nodes.size(); ++n)
                if (nodes[n].parent == index && band.info.hwndChild && nodes[n].id == GetDlgCtrlID(band.info.hwndChild))
                    band.child = (int)n;
            band.info.hwndChild = nullptr;
            nodes[(size_t)index].bands.push_back(band);
        }
    }

    void bandsOf(const std::vector<HWND>& made, size_t i) const {
        for (const Band& band : nodes[i].bands) {
            if (!made[i] || band.child < 0 || !made[(size_t)band.child]) continue;
            REBARBANDINFOA info = band.info;
            info.hwndChild = made[(size_t)band.child];
            SendMessageA(made[i], RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&info);
        }
    }

    static void fill(HWND h, const Node& n) {
        const char* c = n.className.c_str();
        if (!_stricmp(c, WC_COMBOBOXA)) {
            for (const std::string& item : n.items) SendMessageA(h, CB_ADDSTRING, 0, (LPARAM)item.c_str());
            SendMessageA(h, CB_SETCURSEL, (WPARAM)n.selected, 0);
        } else if (!_stricmp(c, PROGRESS_CLASSA)) {
            SendMessageA(h, PBM_SETPOS, (WPARAM)n.position, 0);
        } else if (!_stricmp(c, WC_SCROLLBARA)) {
            SCROLLINFO s = n.scroll;
            SetScrollInfo(h, SB_CTL, &s, FALSE);
        } else if (!_stricmp(c, STATUSCLASSNAMEA)) {
            if (!n.parts.empty()) SendMessageA(h, SB_SETPARTS, (WPARAM)n.parts.size(), (LPARAM)n.parts.data());
            for (size_t i = 0; i < n.items.size(); ++i) SendMessageA(h, SB_SETTEXTA, (WPARAM)i, (LPARAM)n.items[i].c_str());
        } else if (!_stricmp(c, TOOLBARCLASSNAMEA)) {
            SendMessageA(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
            if (n.images) SendMessageA(h, TB_SETIMAGELIST, 0, (LPARAM)n.images);
            for (size_t i = 0; i < n.items.size(); ++i) {
                TBBUTTON b{};
                b.iBitmap = n.images ? n.parts[i] : I_IMAGENONE;
                b.idCommand = (int)(100 + i);
                b.fsState = TBSTATE_ENABLED;
                b.fsStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
                b.iString = (INT_PTR)n.items[i].c_str();
                SendMessageA(h, TB_ADDBUTTONSA, 1, (LPARAM)&b);
            }
        }
    }

    WNDPROC library;
    std::vector<Node> nodes;
};

} // namespace winbench
