// Popup menus and resources on Windows. Tracking is the system's menu loop; a thread's
// answerer is consulted once the loop idles (WM_ENTERIDLE, seen through a call-window-proc
// hook). Choosing items from a script needs the loop to be driven item by item, which this
// build does not do yet: every answer runs its onShown, then the menu is closed.
//
// Index
//   1. Open popups       the system's popup windows (class #32768) of this thread
//   2. Answerer          WM_ENTERIDLE -> onShown -> EndMenu
//   3. Owner-draw default
//   4. Resources         the module's own (FindResource), the tool-bar layout parsed
#include <cwchar>
#include <vector>

#include "menu/menu_private.h"
#include "res/res_private.h"
#include "win32/runtime_ext.h"

namespace rt {

// ---- 1. Open popups -------------------------------------------------------------------------
namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

BOOL CALLBACK CollectPopup(HWND hwnd, LPARAM lParam) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (::IsWindowVisible(hwnd) && std::wcscmp(cls, L"#32768") == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

MenuPopupView ViewOf(HWND popup, int level) {
    MenuPopupView view;
    view.menu = reinterpret_cast<HMENU>(::SendMessageW(popup, kGetMenuHandle, 0, 0));
    view.level = level;
    ::GetWindowRect(popup, &view.screen_rect);
    const int count = view.menu ? ::GetMenuItemCount(view.menu) : 0;
    for (int i = 0; i < count; ++i) {
        MenuItemView item;
        wchar_t text[256] = {};
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = 255;
        if (!::GetMenuItemInfoW(view.menu, UINT(i), TRUE, &mii)) continue;
        item.text = text;
        item.id = mii.hSubMenu ? UINT(reinterpret_cast<UINT_PTR>(mii.hSubMenu)) : mii.wID;
        item.type = mii.fType;
        item.state = mii.fState;
        item.subMenu = mii.hSubMenu;
        item.data = mii.dwItemData;
        ::GetMenuItemRect(nullptr, view.menu, UINT(i), &item.screen_rect);
        view.items.push_back(std::move(item));
    }
    return view;
}

}  // namespace

std::vector<MenuPopupView> OpenMenus() {
    std::vector<HWND> popups;  // top of the z-order first: the deepest sub-menu
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectPopup, reinterpret_cast<LPARAM>(&popups));
    std::vector<MenuPopupView> views;
    int level = 0;
    for (auto it = popups.rbegin(); it != popups.rend(); ++it) views.push_back(ViewOf(*it, level++));
    return views;
}

void RedrawOpenMenus() {
    std::vector<HWND> popups;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectPopup, reinterpret_cast<LPARAM>(&popups));
    for (HWND popup : popups) ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

// ---- 2. Answerer ----------------------------------------------------------------------------
namespace {

struct AnswerState {
    MenuAnswerer answerer;
    MenuReportHook report;
    HHOOK hook = nullptr;
    bool answering = false;
};

AnswerState& Answers() {
    thread_local AnswerState state;
    return state;
}

// Ends the menu loop. EndMenu alone does not reach a loop that a nested one ran inside (a
// menu tracked from an answer), so the open popups are told to cancel as well.
void CloseMenus() {
    std::vector<HWND> popups;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectPopup, reinterpret_cast<LPARAM>(&popups));
    ::EndMenu();
    for (HWND popup : popups) ::PostMessageW(popup, WM_CANCELMODE, 0, 0);
}

void Report(const std::string& line) {
    if (Answers().report) Answers().report(line);
}

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    AnswerState& st = Answers();
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp->message == WM_ENTERIDLE && cwp->wParam == MSGF_MENU && st.answerer &&
        st.answering) {
        ::EndMenu();  // a menu tracked from inside an answer has no answer of its own
    } else if (code == HC_ACTION && cwp->message == WM_ENTERIDLE && cwp->wParam == MSGF_MENU && st.answerer) {
        st.answering = true;
        const std::vector<MenuPopupView> open = OpenMenus();
        MenuAnswer answer;
        if (!open.empty() && st.answerer(open.front(), &answer)) {
            if (answer.onShown) answer.onShown();
            if (!answer.dismiss) Report("menu answer not replayed on Windows: closed instead");
        } else {
            Report("menu dismissed: no answer");
        }
        CloseMenus();
        st.answering = false;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void UpdateHook() {
    AnswerState& st = Answers();
    if (st.answerer && !st.hook) {
        st.hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &CallWndProc, nullptr, ::GetCurrentThreadId());
    } else if (!st.answerer && st.hook) {
        ::UnhookWindowsHookEx(st.hook);
        st.hook = nullptr;
    }
}

}  // namespace

void SetMenuAnswerer(MenuAnswerer answerer) {
    Answers().answerer = std::move(answerer);
    UpdateHook();
}

void SetMenuReportHook(MenuReportHook hook) {
    Answers().report = std::move(hook);
}

}  // namespace rt

// ---- 3. Owner-draw default ------------------------------------------------------------------
namespace menu {

// The system sends owner-draw messages to the menu's owner only; the afx classes' own
// default (CMenu::DrawItem) is reached through the window's handlers.
void SetOwnerDrawDefault(OwnerDrawDefault) {}

}  // namespace menu

// ---- 4. Resources ---------------------------------------------------------------------------
namespace res {

bool TypeOf(LPCWSTR rt_type, Type* type) {
    if (rt_type == RT_MENU) *type = Type::Menu;
    else if (rt_type == RT_BITMAP) *type = Type::Bitmap;
    else if (rt_type == RT_TOOLBAR) *type = Type::Toolbar;
    else return false;
    return true;
}

namespace {

LPCWSTR SystemType(Type type) {
    switch (type) {
        case Type::Menu: return RT_MENU;
        case Type::Bitmap: return RT_BITMAP;
        case Type::Toolbar: return RT_TOOLBAR;
    }
    return RT_MENU;
}

// A tool-bar resource: version 1, button width and height, count, then the command ids.
bool ParseToolbar(HMODULE module, HRSRC found, Resource* out) {
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* words = static_cast<const WORD*>(loaded ? ::LockResource(loaded) : nullptr);
    const DWORD bytes = ::SizeofResource(module, found);
    if (!words || bytes < 8 || words[0] != 1) return false;
    const WORD count = words[3];
    if (bytes < 8u + 2u * count) return false;
    out->buttonSize = SIZE{words[1], words[2]};
    out->buttons.assign(words + 4, words + 4 + count);
    return true;
}

}  // namespace

// The resource found last on this thread: valid until the thread's next Find.
const Resource* Find(HINSTANCE module, LPCWSTR name, Type type, HINSTANCE* found_in) {
    thread_local Resource last;
    HMODULE where = module ? module : ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(where, name, SystemType(type));
    if (!found) return nullptr;
    last = Resource{};
    last.type = type;
    if (type == Type::Toolbar && !ParseToolbar(where, found, &last)) return nullptr;
    if (found_in) *found_in = where;
    return &last;
}

}  // namespace res
