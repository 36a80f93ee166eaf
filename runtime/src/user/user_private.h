// Private model of the USER subset: the window tree, the per-thread input state and
// the clock. Shared by the files of runtime/src/user and by the MFC window classes
// in runtime/src/afx; nothing outside runtime/src includes this.
//
// Index
//   1. Window classes and windows   the process-wide window table, as on the platform
//   2. Per-thread state             message queue, timers, focus, capture, cursor
//   3. Clock and timers             implemented in clock.cpp
//   4. Painting                     implemented in paint.cpp
//   5. Creation hook                lets the MFC layer attach a CWnd before WM_NCCREATE
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace user {

// ---- 1. Window classes and windows --------------------------------------------------------
struct WindowClass {
    std::wstring name;
    WORD atom = 0;
    WNDCLASSW wc{};       // lpszClassName points at name; lpszMenuName is not kept
    bool system = false;  // built-in classes cannot be unregistered
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<const WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;
    RECT rect{};                    // parent-client coordinates; for top-level windows, screen
    Window* parent = nullptr;       // the desktop for top-level windows; null only for the desktop
    Window* owner = nullptr;        // top-level windows created with a parent handle
    std::vector<Window*> children;  // z-order, topmost first
    UINT_PTR id = 0;                // child windows: the control id
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    std::vector<unsigned char> extra;  // cbWndExtra bytes
    std::thread::id thread;
    bool destroying = false;
    // The update area: the rectangles invalidated since the last paint, less what was
    // validated since, and their bounding rectangle, which is what a paint gets.
    bool updatePending = false;
    RECT update_client_rect{};
    std::vector<RECT> update_parts;
    bool eraseNeeded = false;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

Window* Find(HWND hwnd);  // null for null, stale or foreign handles
Window* Desktop();
bool IsAncestor(const Window* ancestor, const Window* w);  // true when w lies below ancestor
bool IsShownOnScreen(const Window* w);                     // WS_VISIBLE all the way up
POINT ClientOriginOnScreen(const Window* w);
RECT ClientRectOnScreen(const Window* w);
// The part of the client area that is not clipped away by the ancestors, in screen coordinates.
RECT VisibleClientRectOnScreen(const Window* w);
Window* WindowAtScreenPoint(POINT screen_pt);  // visible and enabled, deepest child

// ---- 2. Per-thread state ----------------------------------------------------------------------
struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    uint64_t due = 0;  // clock milliseconds
    uint64_t seq = 0;  // creation order, breaks ties between timers due together
};

// The queue and input state of the calling thread, as the platform keeps them per thread.
struct ThreadState {
    std::deque<MSG> posted;  // PostMessage / PostThreadMessage
    std::deque<MSG> input;   // injected mouse and keyboard input
    bool quitPending = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    uint64_t nextTimerSeq = 1;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    HWND leaveTracked = nullptr;  // TrackMouseEvent(TME_LEAVE)
    HCURSOR cursor = nullptr;
    MSG last{};  // the last message retrieved, for GetMessageTime / GetMessagePos
    rt::MessageWaitHook waitHook;
};
ThreadState& Thread();

// Drops every per-thread reference to a window that is going away.
void ForgetWindowInput(HWND hwnd);
void ForgetWindowTimers(HWND hwnd);

// ---- 3. Clock and timers ----------------------------------------------------------------------
uint64_t NowMs();
bool UsingRealClock();
// The earliest due time of the calling thread's timers; UINT64_MAX when there are none.
uint64_t NextDueMs();
// Takes the WM_TIMER of the first timer that is due and matches the filter; with remove, the
// timer is rescheduled.
bool TakeDueTimer(HWND filter, UINT msgMin, UINT msgMax, bool remove, MSG* out);
// Moves the virtual clock forward to a point in time (never backward).
void SetVirtualNow(uint64_t now);

// ---- 4. Painting -------------------------------------------------------------------------------
// Finds a window of this thread with a pending update that matches the filter.
Window* FindWindowToPaint(HWND filter);
void InvalidateClient(Window* w, const RECT* client_rect, bool erase);

// ---- Window positions ------------------------------------------------------------------------------
// Set by SetWindowPos in WM_WINDOWPOSCHANGED's flags, as the platform does, when the client
// area kept its place or its size: the default handling then sends no WM_MOVE or WM_SIZE.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;
// Sends WM_NCDESTROY to a window's children, then to it, and frees them (no WM_DESTROY).
void FreeTree(HWND hwnd);

// ---- 5. Creation hook ------------------------------------------------------------------------------
// Called for every window of this thread right after its handle exists and before WM_NCCREATE,
// the way the platform's computer-based-training hook sees HCBT_CREATEWND.
using CreationHook = void (*)(HWND hwnd, const CREATESTRUCTW* cs);
CreationHook SetCreationHook(CreationHook hook);

// Messages and filters shared by the message and clock files.
bool MatchesFilter(HWND msg_hwnd, UINT message, HWND filter, UINT msgMin, UINT msgMax);
MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Delivers posted and input messages until both queues are empty (timer handlers' effects).
void DrainPostedMessages();

}  // namespace user
