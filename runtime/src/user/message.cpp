// Messages: the per-thread queue, sending and posting, retrieval with filters, dispatch
// and the default window procedure.
//
// Retrieval order, as on the platform: posted messages, then input messages, then WM_QUIT
// (only once nothing is posted), then a synthesized WM_PAINT for a window with a pending
// update, then WM_TIMER for a due timer. Paint and timer messages are generated when
// asked for, never queued, so there is at most one of each per window or timer.
//
// Index
//   1. Thread state and helpers
//   2. Send and post
//   3. Retrieval          PeekMessageW, GetMessageW
//   4. Dispatch           DispatchMessageW, rt::PumpMessages
//   5. DefWindowProcW
#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>

#include "user/user_private.h"

namespace user {

// ---- 1. Thread state and helpers -------------------------------------------------------------
ThreadState& Thread() {
    thread_local ThreadState state;
    return state;
}

bool MatchesFilter(HWND msg_hwnd, UINT message, HWND filter, UINT msgMin, UINT msgMax) {
    if (filter == reinterpret_cast<HWND>(-1)) {
        if (msg_hwnd) return false;  // thread messages only
    } else if (filter && msg_hwnd != filter) {
        const Window* parent = Find(filter);
        if (!parent || !IsAncestor(parent, Find(msg_hwnd))) return false;
    }
    if (msgMin == 0 && msgMax == 0) return true;
    return message >= msgMin && message <= msgMax;
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    GetCursorPos(&msg.pt);
    return msg;
}

namespace {

bool TakeFromQueue(std::deque<MSG>& queue, HWND filter, UINT msgMin, UINT msgMax, bool remove, MSG* out) {
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!MatchesFilter(it->hwnd, it->message, filter, msgMin, msgMax)) continue;
        *out = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

struct PeekRequest {
    HWND filter;
    UINT msgMin;
    UINT msgMax;
    bool remove;
    bool takeQuit;  // rt::PumpMessages leaves WM_QUIT for the program's own loop
};

bool PeekInternal(const PeekRequest& rq, MSG* out) {
    ThreadState& ts = Thread();
    bool found = TakeFromQueue(ts.posted, rq.filter, rq.msgMin, rq.msgMax, rq.remove, out) ||
                 TakeFromQueue(ts.input, rq.filter, rq.msgMin, rq.msgMax, rq.remove, out);
    if (!found && rq.takeQuit && ts.quitPending) {
        *out = MakeMsg(nullptr, WM_QUIT, WPARAM(ts.quitCode), 0);  // whatever the filter says
        if (rq.remove) ts.quitPending = false;
        found = true;
    }
    if (!found && MatchesFilter(nullptr, WM_PAINT, nullptr, rq.msgMin, rq.msgMax)) {
        if (Window* w = FindWindowToPaint(rq.filter)) {
            *out = MakeMsg(w->handle, WM_PAINT, 0, 0);
            found = true;
        }
    }
    if (!found) found = TakeDueTimer(rq.filter, rq.msgMin, rq.msgMax, rq.remove, out);
    if (found && rq.remove) ts.last = *out;
    return found;
}

DWORD NextThreadId() {
    static std::atomic<DWORD> counter{0x100};  // thread ids are process-wide on the platform
    return ++counter;
}

}  // namespace

void DrainPostedMessages() {
    ThreadState& ts = Thread();
    while (!ts.posted.empty() || !ts.input.empty()) {
        std::deque<MSG>& queue = ts.posted.empty() ? ts.input : ts.posted;
        const MSG msg = queue.front();
        queue.pop_front();
        ts.last = msg;
        DispatchMessageW(&msg);
    }
}

}  // namespace user

using user::Find;
using user::Window;

DWORD GetCurrentThreadId(void) {
    thread_local const DWORD id = user::NextThreadId();
    return id;
}

// ---- 2. Send and post ---------------------------------------------------------------------------
LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const Window* w = Find(hWnd);
    if (!w || !w->proc) return 0;
    return w->proc(hWnd, Msg, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd) {
        const Window* w = Find(hWnd);
        // Queues are per thread: a window of another thread cannot be reached from here.
        if (!w || w->thread != std::this_thread::get_id()) return FALSE;
    }
    user::Thread().posted.push_back(user::MakeMsg(hWnd, Msg, wParam, lParam));
    return TRUE;
}

BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (idThread != GetCurrentThreadId()) return FALSE;
    return PostMessageW(nullptr, Msg, wParam, lParam);
}

void PostQuitMessage(int nExitCode) {
    user::ThreadState& ts = user::Thread();
    ts.quitPending = true;
    ts.quitCode = nExitCode;
}

// ---- 3. Retrieval -------------------------------------------------------------------------------
BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) return FALSE;
    const user::PeekRequest rq{hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0, true};
    return user::PeekInternal(rq, lpMsg) ? TRUE : FALSE;
}

BOOL GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) return -1;
    const user::PeekRequest rq{hWnd, wMsgFilterMin, wMsgFilterMax, true, true};
    user::ThreadState& ts = user::Thread();
    for (;;) {
        if (user::PeekInternal(rq, lpMsg)) return lpMsg->message == WM_QUIT ? 0 : 1;
        const uint64_t next_due = user::NextDueMs();
        const uint64_t now = user::NowMs();
        const uint64_t wait_ms = next_due == UINT64_MAX ? UINT64_MAX : (next_due > now ? next_due - now : 0);
        if (ts.waitHook) {
            if (!ts.waitHook(wait_ms >= rt::kNoTimerDue ? rt::kNoTimerDue : DWORD(wait_ms))) return -1;
            if (user::PeekInternal(rq, lpMsg)) return lpMsg->message == WM_QUIT ? 0 : 1;
            if (next_due == UINT64_MAX) continue;  // the hook is the one that waits
        }
        if (next_due == UINT64_MAX) return -1;  // nothing could ever arrive
        if (user::UsingRealClock()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
        } else {
            user::SetVirtualNow(next_due);
        }
    }
}

BOOL TranslateMessage(const MSG*) {
    return TRUE;
}  // no character translation: WM_CHAR is injected

LONG GetMessageTime(void) {
    return LONG(user::Thread().last.time);
}

DWORD GetMessagePos(void) {
    const POINT& pt = user::Thread().last.pt;
    return DWORD(MAKELONG(pt.x, pt.y));
}

// ---- 4. Dispatch ----------------------------------------------------------------------------------
LRESULT DispatchMessageW(const MSG* lpMsg) {
    if (!lpMsg) return 0;
    Window* w = Find(lpMsg->hwnd);
    if (!w || !w->proc) return 0;
    const LRESULT result = w->proc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    // A procedure that ignores WM_PAINT would otherwise get it again for ever.
    if (lpMsg->message == WM_PAINT && (w = Find(lpMsg->hwnd)) != nullptr) w->updatePending = false;
    return result;
}

namespace rt {

int PumpMessages() {
    constexpr int kMaxMessages = 100000;  // a window that invalidates itself while painting
    const user::PeekRequest rq{nullptr, 0, 0, true, false};
    int count = 0;
    MSG msg;
    while (count < kMaxMessages && user::PeekInternal(rq, &msg)) {
        DispatchMessageW(&msg);
        ++count;
    }
    return count;
}

}  // namespace rt

// ---- 5. DefWindowProcW --------------------------------------------------------------------------
namespace user {
namespace {

LRESULT CopyText(const Window* w, WPARAM max_count, LPWSTR buffer) {
    if (!buffer || max_count == 0) return 0;
    const size_t n = std::min(w->text.size(), size_t(max_count) - 1);
    std::copy_n(w->text.c_str(), n, buffer);
    buffer[n] = L'\0';
    return LRESULT(n);
}

LRESULT DefSetCursor(Window* w, WPARAM wParam, LPARAM lParam) {
    // The parent may choose a cursor for its children.
    if (w->IsChild() && w->parent && w->parent->parent && SendMessageW(w->parent->handle, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    if (LOWORD(lParam) == HTCLIENT && w->cls->wc.hCursor) SetCursor(w->cls->wc.hCursor);
    return FALSE;
}

LRESULT DefEraseBackground(Window* w, HDC dc) {
    HBRUSH brush = w->cls->wc.hbrBackground;
    if (!brush || !dc) return 0;
    RECT client_rect{0, 0, w->Width(), w->Height()};
    FillRect(dc, &client_rect, brush);
    return 1;
}

}  // namespace
}  // namespace user

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hWnd);
    if (!w) return 0;
    switch (Msg) {
        case WM_NCCREATE:
            return TRUE;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
            return TRUE;
        case WM_GETTEXT:
            return user::CopyText(w, wParam, reinterpret_cast<LPWSTR>(lParam));
        case WM_GETTEXTLENGTH:
            return LRESULT(w->text.size());
        case WM_SETCURSOR:
            return user::DefSetCursor(w, wParam, lParam);
        case WM_ERASEBKGND:
            return user::DefEraseBackground(w, reinterpret_cast<HDC>(wParam));
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hWnd, &ps);
            EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!pos) return 0;
            if (!(pos->flags & user::kNoClientMove))
                SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
            if (!(pos->flags & user::kNoClientSize) && (w = Find(hWnd)) != nullptr)
                SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Width(), w->Height()));
            return 0;
        }
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_MOUSEACTIVATE:
            return 1;  // MA_ACTIVATE
        case WM_MOUSEWHEEL:
            // Unhandled wheel messages bubble up to the parent.
            if (w->IsChild() && w->parent && w->parent->parent)
                return SendMessageW(w->parent->handle, Msg, wParam, lParam);
            return 0;
        default:
            return 0;
    }
}
