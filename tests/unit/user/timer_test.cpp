// Timers on the virtual clock, thread timers, the real clock, and the message loop's waits.
#include <utility>

#include "user_test_util.h"

namespace {

using ut::UserTest;

using Tick = std::pair<UINT_PTR, DWORD>;  // a timer's id and when it fired, from the start of the test

UINT_PTR g_killOnTick = 0;  // the handler kills its own timer on this tick
UINT_PTR g_killOther = 0;   // the handler kills this timer every time
int g_ticks = 0;

// Records WM_TIMER and what it posts (WM_USER with the timer's id).
LRESULT CALLBACK KillingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_TIMER && msg != WM_USER) return DefWindowProcW(hwnd, msg, wParam, lParam);
    ut::Note(hwnd, msg, wParam, lParam);
    if (msg == WM_TIMER) {
        if (++g_ticks == int(g_killOnTick)) KillTimer(hwnd, wParam);
        if (g_killOther) KillTimer(hwnd, g_killOther);
        PostMessageW(hwnd, WM_USER, wParam, 0);
    }
    return 0;
}

class TimerTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        start_ = rt::ClockNow();
        g_ticks = 0;
        g_killOnTick = g_killOther = 0;
    }
    std::vector<Tick> Ticks() const {
        std::vector<Tick> out;
        for (const ut::Record& r : ut::Only(WM_TIMER)) out.push_back(Tick{r.wParam, r.time - start_});
        return out;
    }
    HWND MakeKilling() { return Make(RECT{0, 0, 10, 10}, nullptr, 0, ut::EnsureClass(L"UtKilling", KillingProc)); }
    DWORD start_ = 0;
};

TEST_F(TimerTest, PostedMessagesOfAHandlerRunBeforeTheNextTimer) {
    const HWND hwnd = MakeKilling();
    SetTimer(hwnd, 1, 10, nullptr);
    SetTimer(hwnd, 2, 10, nullptr);
    rt::AdvanceClock(10);
    std::vector<std::pair<UINT, WPARAM>> seen;
    for (const ut::Record& r : ut::Log()) seen.emplace_back(r.msg, r.wParam);
    const std::vector<std::pair<UINT, WPARAM>> expected{{WM_TIMER, 1}, {WM_USER, 1}, {WM_TIMER, 2}, {WM_USER, 2}};
    EXPECT_EQ(expected, seen);
}

std::vector<std::pair<UINT_PTR, DWORD>> g_procCalls;

void CALLBACK RecordingTimerProc(HWND, UINT msg, UINT_PTR id, DWORD time) {
    if (msg == WM_TIMER) g_procCalls.emplace_back(id, time);
}

TEST_F(TimerTest, ThreadTimersCallTheirProcedure) {
    g_procCalls.clear();
    const UINT_PTR id = SetTimer(nullptr, 0, 5, RecordingTimerProc);  // below the minimum: 10 ms
    ASSERT_NE(0u, id);
    const UINT_PTR second = SetTimer(nullptr, 0, 15, RecordingTimerProc);
    EXPECT_NE(id, second);  // thread timers get distinct ids
    rt::AdvanceClock(20);
    const std::vector<std::pair<UINT_PTR, DWORD>> expected{{id, start_ + 10}, {second, start_ + 15}, {id, start_ + 20}};
    EXPECT_EQ(expected, g_procCalls);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_TRUE(KillTimer(nullptr, second));
}

TEST_F(TimerTest, RealClockIgnoresAdvance) {
    rt::UseRealClock();
    EXPECT_TRUE(rt::IsRealClock());
    const DWORD before = rt::ClockNow();
    rt::AdvanceClock(100000);
    const DWORD after = rt::ClockNow();
    rt::UseVirtualClock();
    EXPECT_LT(after - before, 100000u);
    EXPECT_FALSE(rt::IsRealClock());
    EXPECT_GE(rt::ClockNow(), after);  // the virtual clock continues from there
}

TEST_F(TimerTest, GetMessageJumpsToTheNextTimerOrAsksTheWaitHook) {
    const HWND hwnd = Make(RECT{0, 0, 10, 10}, nullptr, 0);
    SetTimer(hwnd, 9, 250, nullptr);
    MSG msg{};
    EXPECT_EQ(1, GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(UINT(WM_TIMER), msg.message);
    EXPECT_EQ(9u, msg.wParam);
    EXPECT_EQ(start_ + 250, msg.time);
    EXPECT_EQ(start_ + 250, rt::ClockNow());
    KillTimer(hwnd, 9);
    EXPECT_EQ(-1, GetMessageW(&msg, nullptr, 0, 0));  // nothing could ever arrive
    EXPECT_EQ(start_ + 250, rt::ClockNow());

    std::vector<DWORD> waits;
    rt::SetMessageWaitHook([&](DWORD timeout_ms) {
        waits.push_back(timeout_ms);
        return waits.size() == 1 && PostMessageW(hwnd, WM_USER, 0, 0);  // as an embedder's input would arrive
    });
    EXPECT_EQ(1, GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(UINT(WM_USER), msg.message);
    EXPECT_EQ(-1, GetMessageW(&msg, nullptr, 0, 0));
    rt::SetMessageWaitHook(nullptr);
    EXPECT_EQ((std::vector<DWORD>{rt::kNoTimerDue, rt::kNoTimerDue}), waits);
}

}  // namespace
