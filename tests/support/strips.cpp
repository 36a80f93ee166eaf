#include "strips.h"

#include <gtest/gtest.h>

namespace kt {

_MENU_CMD_INFO_ PlainMenu(int n, int first, int selected) {
    _MENU_CMD_INFO_ info;
    for (int i = 0; i < n; ++i) {
        CString text;
        text.Format(L"Item %d", i + 1);
        info.vecMenu.push_back({text, first + i});
    }
    info.nSelCmdID = selected;
    return info;
}

Strip::Strip(const std::string& skin_dir, const StripPlace& place)
    : host(place.window_size, place.origin), rect(place.rect), origin(place.origin) {
    EXPECT_TRUE(host.LoadSkin(skin_dir));
    tabs = new CElementTabControl(place.bTextBottom);
    EXPECT_TRUE(host.Add(tabs, L"tabs", place.rect, place.id));
    if (place.side >= 0) tabs->SetStyle(1, 0, place.side);
    host.Pump();
}

int Strip::AddTab(int id, const wchar_t* name, _MENU_CMD_INFO_* menu, int visible) {
    _TAB_PARAM_INFO_ info = TabInfo(id, name);
    info.pMenuInfo = menu;
    info.bVisible = visible;
    return tabs->Add(&info);
}

void Strip::ClickTab(int index) {
    Layout();
    const RECT& rc = tabs->m_arrItems[index]->m_rcItem;
    Click(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

std::vector<std::pair<UINT, long long>> Strip::TakePosts() {
    std::vector<std::pair<UINT, long long>> posts;
    for (const ControlMessage& cm : host.Window().ControlMessages())
        posts.emplace_back(cm.msg, static_cast<long long>(cm.wParam));
    host.Window().ControlMessages().clear();
    return posts;
}

RECT Strip::TakeInvalid() {
    RECT window_rc{};
    HWND hwnd = host.Window().GetSafeHwnd();
    if (!::GetUpdateRect(hwnd, &window_rc, FALSE)) return RECT{0, 0, 0, 0};
    ::ValidateRect(hwnd, nullptr);
    ::OffsetRect(&window_rc, -rect.left, -rect.top);
    return window_rc;
}

}  // namespace kt
