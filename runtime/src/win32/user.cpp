// The runtime's window extensions on Windows: object counts, the clock, pumping, input,
// cursors and the creation hook of the afx classes. Timers are the system's, on its own
// clock; the virtual clock here moves only when asked, for hosts that keep their own timers.
//
// Index
//   1. Object counts      the system counts GDI objects per process only
//   2. Clock and pumping
//   3. Input              posted as the system would deliver it
//   4. Cursors
//   5. Creation hook      a thread's computer-based-training hook (HCBT_CREATEWND)
#include <iterator>

#include "user/user_private.h"
#include "win32/runtime_ext.h"

namespace rt {

// ---- 1. Object counts -----------------------------------------------------------------------
int GdiObjectCount(DWORD) {
    return -1;  // per kind: not known to the system
}

int GdiObjectTotal() {
    // 0 is a failure, not an empty process, when the last error says so (a system that does
    // not implement the count answers ERROR_CALL_NOT_IMPLEMENTED).
    ::SetLastError(ERROR_SUCCESS);
    const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (count == 0 && ::GetLastError() != ERROR_SUCCESS) return -1;
    return int(count);
}

int MenuObjectCount() {
    return -1;
}

int ImageListObjectCount() {
    return -1;
}

// ---- 2. Clock and pumping -------------------------------------------------------------------
namespace {

struct ClockState {
    bool real = false;
    DWORD virtualNow = 0;
    DWORD realBase = 0;  // GetTickCount at the switch to the real clock, minus virtualNow
    MessageWaitHook waitHook;
};

ClockState& Clock() {
    thread_local ClockState state;
    return state;
}

}  // namespace

void UseRealClock() {
    ClockState& c = Clock();
    if (c.real) return;
    c.realBase = ::GetTickCount() - c.virtualNow;
    c.real = true;
}

void UseVirtualClock() {
    ClockState& c = Clock();
    if (!c.real) return;
    c.virtualNow = ::GetTickCount() - c.realBase;
    c.real = false;
}

bool IsRealClock() {
    return Clock().real;
}

DWORD ClockNow() {
    const ClockState& c = Clock();
    return c.real ? ::GetTickCount() - c.realBase : c.virtualNow;
}

void AdvanceClock(DWORD ms) {
    ClockState& c = Clock();
    if (c.real) return;
    c.virtualNow += ms;  // the system's timers run on its own clock: none is due here
}

DWORD NextTimerDue() {
    return kNoTimerDue;  // the system's timers run on its own clock
}

void SetMessageWaitHook(MessageWaitHook hook) {
    Clock().waitHook = std::move(hook);
}

int PumpMessages() {
    int n = 0;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) break;  // left queued for the message loop
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        ++n;
    }
    return n;
}

// ---- 3. Input -------------------------------------------------------------------------------
namespace {

LRESULT CALLBACK DropSystemMouse(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) return 1;  // taken: the system's own pointer message goes nowhere
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool IsThreadWindow(HWND hwnd) {
    return hwnd && ::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId();
}

// The system notices that the pointer left a tracked window on a timer of its own; an
// injected move settles it at once, so that the leave does not depend on elapsed time.
void CheckMouseLeave(HWND under) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_QUERY, nullptr, 0};
    if (!::TrackMouseEvent(&tme) || !(tme.dwFlags & TME_LEAVE) || !tme.hwndTrack || tme.hwndTrack == under) return;
    const HWND tracked = tme.hwndTrack;
    tme = TRACKMOUSEEVENT{sizeof tme, TME_LEAVE | TME_CANCEL, tracked, 0};
    ::TrackMouseEvent(&tme);
    ::PostMessageW(tracked, WM_MOUSELEAVE, 0, 0);
}

}  // namespace

bool InjectMouse(UINT msg, POINT screen_pt, WPARAM keys) {
    // Once a thread injects, the injected messages are its pointer: the ones the system
    // makes of the cursor's moves (SetCursorPos below queues one) would come twice, after
    // the posted ones. The thread's mouse hook sees only those from the system's input.
    thread_local const HHOOK drop = ::SetWindowsHookExW(WH_MOUSE, &DropSystemMouse, nullptr, ::GetCurrentThreadId());
    (void)drop;
    HWND target = ::GetCapture();
    const bool captured = target != nullptr;
    ::SetCursorPos(screen_pt.x, screen_pt.y);
    const HWND under = ::WindowFromPoint(screen_pt);
    CheckMouseLeave(under);
    if (!target) target = under;
    // Outside the thread's windows (the desktop, another program) nothing takes the input.
    if (!IsThreadWindow(target) || (!captured && !::IsWindowEnabled(target))) return false;
    if (msg == WM_MOUSEWHEEL)
        return ::PostMessageW(target, msg, keys, MAKELPARAM(screen_pt.x, screen_pt.y)) != 0;
    if (!captured) ::SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELONG(HTCLIENT, msg));
    POINT client_pt = screen_pt;
    ::ScreenToClient(target, &client_pt);
    return ::PostMessageW(target, msg, keys, MAKELPARAM(client_pt.x, client_pt.y)) != 0;
}

bool InjectKey(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND target = ::GetFocus();
    if (!target) target = ::GetActiveWindow();
    return target && ::PostMessageW(target, msg, wParam, lParam) != 0;
}

// ---- 4. Cursors -----------------------------------------------------------------------------
int CursorId(HCURSOR cursor) {
    static const int kIds[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642, 32643,
                               32644, 32645, 32646, 32648, 32649, 32650, 32651};
    if (!cursor) return 0;
    for (int id : kIds)
        if (::LoadCursorW(nullptr, MAKEINTRESOURCEW(id)) == cursor) return id;
    return 0;
}

}  // namespace rt

// ---- 5. Creation hook -----------------------------------------------------------------------
namespace user {
namespace {

struct HookState {
    CreationHook hook = nullptr;
    HHOOK cbt = nullptr;
};

HookState& Hooks() {
    thread_local HookState state;
    return state;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    const HookState& st = Hooks();
    if (code == HCBT_CREATEWND && st.hook)
        st.hook(reinterpret_cast<HWND>(wParam), reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

CreationHook SetCreationHook(CreationHook hook) {
    HookState& st = Hooks();
    const CreationHook outer = st.hook;
    st.hook = hook;
    if (hook && !st.cbt) {
        st.cbt = ::SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, ::GetCurrentThreadId());
    } else if (!hook && st.cbt) {
        ::UnhookWindowsHookEx(st.cbt);
        st.cbt = nullptr;
    }
    return outer;
}

}  // namespace user
