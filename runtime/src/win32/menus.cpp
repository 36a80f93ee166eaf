// Popup menus and resources on Windows. Tracking is the system's menu loop; a thread's
// answerer is consulted once the loop first idles (WM_ENTERIDLE, seen through a
// call-window-proc hook) and its answer is played as keys (section 2).
//
// Index
//   1. Open popups       the system's popup windows (class #32768) of this thread
//   2. Answerer          WM_ENTERIDLE, then keys and markers through the message filter
//   3. Resources         the module's own (FindResource), the tool-bar layout parsed
#include <cwchar>
#include <memory>
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
        item.id = mii.wID;
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
// The system's menu loop is driven as a user would drive it, with keys: down to the item
// the path names, right into its sub-menu, return to choose it, and EndMenu to dismiss.
// Each key is posted with a marker behind it; the loop shows every message to the
// thread's message-filter hook (MSGF_MENU) before it handles it, so when the marker comes
// up, the keys before it have taken effect and the next step reads the popups as they are.
namespace {

constexpr WPARAM kMarker = 0x6B65;  // WM_NULL's wParam on the markers: nothing else sends it
constexpr int kMaxKeysPerLevel = 256;

struct AnswerState {
    MenuAnswerer answerer;
    MenuReportHook report;
    HHOOK idleHook = nullptr;    // WM_ENTERIDLE: the loop has shown the tracked popup
    HHOOK filterHook = nullptr;  // MSGF_MENU: the markers
    // The menu being answered.
    HWND answered = nullptr;  // its popup window
    HWND owner = nullptr;
    MenuAnswer answer;
    std::unique_ptr<menu::AnswerPath> path;
    size_t level = 0;
    menu::AnswerStep step;
    int keys = 0;  // posted in this level, a bound for a popup that does not move as asked
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

int Highlighted(const MenuPopupView& view) {
    for (size_t i = 0; i < view.items.size(); ++i)
        if (view.items[i].state & MFS_HILITE) return int(i);
    return -1;
}

void PostKey(WPARAM vk) {
    const LPARAM lParam = 1 | LPARAM(::MapVirtualKeyW(UINT(vk), MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(Answers().owner, WM_KEYDOWN, vk, lParam);
    ::PostMessageW(Answers().owner, WM_NULL, kMarker, 0);
}

void Finish(const std::string& line) {
    AnswerState& st = Answers();
    if (!line.empty()) Report(line);
    st.path.reset();
    CloseMenus();
}

void BeginLevel(size_t level);

// At a marker: the keys posted so far have been handled.
void Continue() {
    AnswerState& st = Answers();
    if (!st.path) return;
    const std::vector<MenuPopupView> open = OpenMenus();
    if (open.size() <= st.level) {
        Finish("menu dismissed (" + menu::Quoted(st.answer.path) + ": the sub-menu cannot open)");
        return;
    }
    if (Highlighted(open[st.level]) != st.step.index) {
        if (++st.keys > kMaxKeysPerLevel) {
            Finish("menu dismissed (" + menu::Quoted(st.answer.path) + ": the item cannot be reached)");
            return;
        }
        PostKey(VK_DOWN);
        return;
    }
    if (!st.step.last) {
        if (open.size() > st.level + 1) {  // the sub-menu is open: on to its level
            Report(DescribeMenuPopup(open[st.level + 1]));
            BeginLevel(st.level + 1);
        } else if (++st.keys > kMaxKeysPerLevel) {
            Finish("menu dismissed (" + menu::Quoted(st.answer.path) + ": the sub-menu cannot open)");
        } else {
            PostKey(VK_RIGHT);
        }
        return;
    }
    if (st.answer.onShown) st.answer.onShown();
    Report(st.path->ChooseLine(open[st.level].items[size_t(st.step.index)].id));
    st.path.reset();
    PostKey(VK_RETURN);
}

void BeginLevel(size_t level) {
    AnswerState& st = Answers();
    const std::vector<MenuPopupView> open = OpenMenus();
    st.level = level;
    st.keys = 0;
    st.step = st.path->Next(open[level]);
    if (!st.step.dismissed.empty()) {
        Finish("menu dismissed (" + st.step.dismissed + ")");
        return;
    }
    Continue();
}

// The tracked popup is on the screen and the loop waits for input: the answer starts. A menu
// tracked while another is open is answered at its own popup's level, above the other's.
void Begin(HWND owner, HWND popup) {
    AnswerState& st = Answers();
    const std::vector<MenuPopupView> open = OpenMenus();
    if (open.empty()) return;
    const auto tracked = reinterpret_cast<HMENU>(::SendMessageW(popup, kGetMenuHandle, 0, 0));
    size_t level = 0;
    while (level + 1 < open.size() && open[level].menu != tracked) ++level;
    st.owner = owner;
    Report(DescribeMenuPopup(open[level]));
    MenuAnswer answer;
    if (!st.answerer(open[level], &answer)) {
        Finish("menu dismissed (no answer)");
        return;
    }
    if (answer.dismiss) {  // the answer is a local: on_shown may track another menu meanwhile
        if (answer.onShown) answer.onShown();
        Finish("menu cancel");
        return;
    }
    st.answer = std::move(answer);
    st.path = std::make_unique<menu::AnswerPath>(st.answer.path);
    BeginLevel(level);
}

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    AnswerState& st = Answers();
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && st.answerer) {
        // Once per menu: the loop idles again after keys. A new menu has a new popup window.
        const auto popup = reinterpret_cast<HWND>(cwp->lParam);
        if (cwp->message == WM_ENTERIDLE && cwp->wParam == MSGF_MENU && popup && popup != st.answered) {
            st.answered = popup;
            Begin(cwp->hwnd, popup);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg->message == WM_NULL && msg->wParam == kMarker) {
        Continue();
        return TRUE;  // handled: the loop drops it
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void UpdateHooks() {
    AnswerState& st = Answers();
    const DWORD thread = ::GetCurrentThreadId();
    if (st.answerer && !st.idleHook) {
        st.idleHook = ::SetWindowsHookExW(WH_CALLWNDPROC, &CallWndProc, nullptr, thread);
        st.filterHook = ::SetWindowsHookExW(WH_MSGFILTER, &MessageFilter, nullptr, thread);
    } else if (!st.answerer && st.idleHook) {
        ::UnhookWindowsHookEx(st.idleHook);
        ::UnhookWindowsHookEx(st.filterHook);
        st.idleHook = st.filterHook = nullptr;
    }
}

}  // namespace

void SetMenuAnswerer(MenuAnswerer answerer) {
    Answers().answerer = std::move(answerer);
    UpdateHooks();
}

void SetMenuReportHook(MenuReportHook hook) {
    Answers().report = std::move(hook);
}

}  // namespace rt

// ---- 3. Resources ---------------------------------------------------------------------------
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
