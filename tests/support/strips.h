// A quote tab strip in a headless host, for the tab strip's and the menus' tests; and the
// menu records handed to its tabs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/HeadlessHost.h"
#include "tabcontrol/ElementTabControl.h"

namespace kt {

// A menu entry (_MENU_STR_CMD_); a braced {text, cmd, parent, hasSub} says the same.
inline _MENU_STR_CMD_ MenuEntry(const wchar_t* text, int cmd, int parent = -1, int hasSub = 0) {
    return {text, cmd, parent, hasSub};
}
// A visible tab `id` named `name` with the default text colour keys.
inline _TAB_PARAM_INFO_ TabInfo(int id, const wchar_t* name) {
    _TAB_PARAM_INFO_ info;
    info.nID = id;
    info.lpszName = name;
    info.lpszTextColor = L"CElementTabControl.Text";
    info.lpszSelTextColor = L"CElementTabControl.SelText";
    return info;
}
// n plain top-level entries "Item 1".. with commands first, first + 1, ...
_MENU_CMD_INFO_ PlainMenu(int n, int first, int selected);

// Where a strip goes: at rect in a window of window_size whose client area starts at
// origin on the virtual screen. side -1 keeps the control's own style.
struct StripPlace {
    RECT rect{0, 0, 300, 40};
    SIZE window_size{400, 60};
    POINT origin{0, 0};
    DWORD id = 0;
    int side = -1;
    int bTextBottom = 0;
};

// The host holds the element's reference.
struct Strip {
    Strip(const std::string& skin_dir, const StripPlace& place);
    CHeadlessHost host;
    CElementTabControl* tabs = nullptr;
    RECT rect;
    POINT origin;

    // Adds a tab with the skins' text keys and default everything else; no layout.
    int AddTab(int id, const wchar_t* name, _MENU_CMD_INFO_* menu = nullptr, int visible = 1);
    void Layout() { tabs->OnSize(0, 0, 0); }
    POINT ToWindow(POINT element_pt) const { return POINT{element_pt.x + rect.left, element_pt.y + rect.top}; }
    POINT ToScreen(POINT element_pt) const {
        const POINT window_pt = ToWindow(element_pt);
        return POINT{window_pt.x + origin.x, window_pt.y + origin.y};
    }
    void Move(POINT element_pt) { host.Move(ToWindow(element_pt)); }
    void Click(POINT element_pt) {
        host.Down(ToWindow(element_pt));
        host.Up(ToWindow(element_pt));
    }
    // Lays the strip out, then clicks the centre of tab `index`.
    void ClickTab(int index);
    // The control messages posted so far, as (msg, wParam) pairs; the queue is emptied.
    std::vector<std::pair<UINT, long long>> TakePosts();
    // The window's pending invalid area in element coordinates (empty when none); the
    // area is then validated so that the next check starts clean.
    RECT TakeInvalid();
};

}  // namespace kt
