// The clock and the timers.
//
// There is one clock per process, in one of two modes:
//  - virtual (the default): time starts at 0 and moves only when the embedder calls
//    rt::AdvanceClock, or when GetMessage has nothing else to deliver and jumps to the next
//    due timer. Tests and scripts are therefore deterministic.
//  - real (rt::UseRealClock): the monotonic system clock, continuing from the time the
//    switch happened, for interactive programs.
//
// Timers belong to the thread that set them. As on the platform, a WM_TIMER is generated
// only when the queue is asked for a message and a timer is due; there is never more than
// one pending per timer, and taking it reschedules the timer.
//
// rt::AdvanceClock(ms) on the virtual clock walks time forward to each due timer in due
// order (ties in creation order). At each due time it dispatches that timer's WM_TIMER at
// once, then dispatches every message posted or injected meanwhile,
// so that a handler's effects are complete before the next timer fires; the timer is
// rescheduled at due + interval before its handler runs, so the handler may kill or reset
// it. At the end the time is start + ms. Paints are left for the next message loop.
//
// Index
//   1. Clock
//   2. Timers (SetTimer, KillTimer, lazy WM_TIMER)
//   3. Embedder controls (rt::)
#include <algorithm>
#include <chrono>
#include <climits>

#include "user/user_private.h"

namespace user {
namespace {

// ---- 1. Clock ---------------------------------------------------------------------------------
struct Clock {
    bool real = false;
    uint64_t virtualNow = 0;
    uint64_t realBase = 0;  // clock value when the real clock took over
    std::chrono::steady_clock::time_point realStart;
};

Clock& clock() {
    static Clock c;  // the system clock is process-wide
    return c;
}

uint64_t NowOf(const Clock& c) {
    if (!c.real) return c.virtualNow;
    const auto elapsed = std::chrono::steady_clock::now() - c.realStart;
    return c.realBase + uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

// USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM of the platform.
constexpr UINT kTimerMinimum = USER_TIMER_MINIMUM;
constexpr UINT kTimerMaximum = USER_TIMER_MAXIMUM;

Timer* FindTimer(HWND hwnd, UINT_PTR id) {
    for (Timer& t : Thread().timers) {
        if (t.hwnd == hwnd && t.id == id) return &t;
    }
    return nullptr;
}

// The first timer due by `limit` that the filter lets through, earliest first, ties in
// creation order.
Timer* EarliestDue(uint64_t limit, HWND filter, UINT msgMin, UINT msgMax) {
    Timer* best = nullptr;
    for (Timer& t : Thread().timers) {
        if (t.due > limit || !MatchesFilter(t.hwnd, WM_TIMER, filter, msgMin, msgMax)) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.seq < best->seq)) best = &t;
    }
    return best;
}

}  // namespace

uint64_t NowMs() {
    Clock& c = clock();
    return NowOf(c);
}

bool UsingRealClock() {
    Clock& c = clock();
    return c.real;
}

void SetVirtualNow(uint64_t now) {
    Clock& c = clock();
    if (!c.real && now > c.virtualNow) c.virtualNow = now;
}

// ---- 2. Timers -----------------------------------------------------------------------------------
uint64_t NextDueMs() {
    uint64_t next = UINT64_MAX;
    for (const Timer& t : Thread().timers) next = std::min(next, t.due);
    return next;
}

bool TakeDueTimer(HWND filter, UINT msgMin, UINT msgMax, bool remove, MSG* out) {
    const uint64_t now = NowMs();
    Timer* t = EarliestDue(now, filter, msgMin, msgMax);
    if (!t) return false;
    *out = MakeMsg(t->hwnd, WM_TIMER, t->id, 0);
    if (remove) {
        t->due += t->interval;
        if (t->due <= now) t->due = now + t->interval;  // missed periods coalesce into one message
    }
    return true;
}

void ForgetWindowTimers(HWND hwnd) {
    auto& timers = Thread().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

}  // namespace user

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    // Window timers only: neither the library nor its host sets a thread timer or a timer
    // procedure, so those fail instead of firing wrongly.
    if (!hWnd || lpTimerFunc) return 0;
    const user::Window* w = user::Find(hWnd);
    if (!w || w->thread != std::this_thread::get_id()) return 0;
    const UINT interval = std::min(std::max(uElapse, user::kTimerMinimum), user::kTimerMaximum);
    user::ThreadState& ts = user::Thread();
    user::Timer* t = user::FindTimer(hWnd, nIDEvent);
    if (!t) {
        ts.timers.push_back(user::Timer{});
        t = &ts.timers.back();
    }
    // Setting an existing timer again restarts it, as a new one.
    t->hwnd = hWnd;
    t->id = nIDEvent;
    t->interval = interval;
    t->due = user::NowMs() + interval;
    t->seq = ts.nextTimerSeq++;
    return nIDEvent == 0 ? 1 : nIDEvent;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    auto& timers = user::Thread().timers;
    const auto it = std::find_if(timers.begin(), timers.end(),
                                 [&](const user::Timer& t) { return t.hwnd == hWnd && t.id == uIDEvent; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

DWORD GetTickCount(void) {
    return DWORD(user::NowMs());
}

// ---- 3. Embedder controls ----------------------------------------------------------------------
namespace rt {

void UseRealClock() {
    user::Clock& c = user::clock();
    if (c.real) return;
    c.realBase = c.virtualNow;
    c.realStart = std::chrono::steady_clock::now();
    c.real = true;
}

void UseVirtualClock() {
    user::Clock& c = user::clock();
    if (!c.real) return;
    c.virtualNow = user::NowOf(c);
    c.real = false;
}

bool IsRealClock() {
    return user::UsingRealClock();
}

void AdvanceClock(DWORD ms) {
    if (user::UsingRealClock()) return;
    const uint64_t target = user::NowMs() + ms;
    while (user::Timer* t = user::EarliestDue(target, nullptr, 0, 0)) {
        user::SetVirtualNow(t->due);
        const MSG msg = user::MakeMsg(t->hwnd, WM_TIMER, t->id, 0);
        t->due += t->interval;  // before the handler, which may kill or reset the timer
        user::Thread().last = msg;
        DispatchMessageW(&msg);
        user::DrainPostedMessages();
    }
    user::SetVirtualNow(target);
}

DWORD ClockNow() {
    return GetTickCount();
}

DWORD NextTimerDue() {
    const uint64_t next = user::NextDueMs();
    return next == UINT64_MAX ? kNoTimerDue : DWORD(next);
}

void SetMessageWaitHook(MessageWaitHook hook) {
    user::Thread().waitHook = std::move(hook);
}

}  // namespace rt
