// Timers on the virtual clock, and the message loop's waits on it.
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

TEST_F(TimerTest, PeriodicTimerFiresAtEachDueTime) {
    struct Row {
        const char* name;
        UINT interval;
        std::vector<DWORD> advances;
        std::vector<Tick> expected;
    };
    const Row rows[] = {
        {"one advance", 50, {175}, {{1, 50}, {1, 100}, {1, 150}}},
        {"the due time itself counts", 50, {175, 25}, {{1, 50}, {1, 100}, {1, 150}, {1, 200}}},
        {"split advances give the same ticks", 30, {10, 15, 5, 1, 59, 30}, {{1, 30}, {1, 60}, {1, 90}, {1, 120}}},
        {"below the minimum: 10 ms", 5, {25}, {{1, 10}, {1, 20}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ut::Log().clear();
        start_ = rt::ClockNow();
        const HWND hwnd = Make(RECT{0, 0, 10, 10}, nullptr, 0);
        ASSERT_EQ(1u, SetTimer(hwnd, 1, row.interval, nullptr));
        DWORD total = 0;
        for (DWORD step : row.advances) {
            rt::AdvanceClock(step);
            total += step;
        }
        EXPECT_EQ(row.expected, Ticks());
        EXPECT_EQ(start_ + total, GetTickCount());
        EXPECT_EQ(start_ + (total / row.interval + 1) * row.interval, rt::NextTimerDue());
        DestroyWindow(hwnd);
    }
}

TEST_F(TimerTest, TimersInterleaveInDueOrderTiesByCreation) {
    const HWND hwnd = Make(RECT{0, 0, 10, 10}, nullptr, 0);
    SetTimer(hwnd, 1, 50, nullptr);  // created first: wins ties
    SetTimer(hwnd, 2, 25, nullptr);
    rt::AdvanceClock(100);
    EXPECT_EQ((std::vector<Tick>{{2, 25}, {1, 50}, {2, 50}, {2, 75}, {1, 100}, {2, 100}}), Ticks());
}

TEST_F(TimerTest, HandlersCanKillTimers) {
    struct Row {
        const char* name;
        UINT_PTR killOnTick;
        UINT_PTR killOther;
        std::vector<Tick> expected;
    };
    const Row rows[] = {
        {"own timer on the second tick", 2, 0, {{1, 40}, {1, 80}}},
        {"the other timer due at the same time", 0, 2, {{1, 40}, {1, 80}, {1, 120}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ut::Log().clear();
        start_ = rt::ClockNow();
        g_ticks = 0;
        g_killOnTick = row.killOnTick;
        g_killOther = row.killOther;
        const HWND hwnd = MakeKilling();
        SetTimer(hwnd, 1, 40, nullptr);
        SetTimer(hwnd, 2, 40, nullptr);
        if (!row.killOther) KillTimer(hwnd, 2);
        rt::AdvanceClock(130);
        EXPECT_EQ(row.expected, Ticks());
    }
}

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

TEST_F(TimerTest, SettingAnExistingTimerRestartsIt) {
    const HWND hwnd = Make(RECT{0, 0, 10, 10}, nullptr, 0);
    SetTimer(hwnd, 5, 100, nullptr);
    rt::AdvanceClock(60);
    EXPECT_EQ(5u, SetTimer(hwnd, 5, 100, nullptr));
    rt::AdvanceClock(150);
    EXPECT_EQ((std::vector<Tick>{{5, 160}}), Ticks());
}

TEST_F(TimerTest, TimersOfADestroyedWindowVanish) {
    const HWND hwnd = Make(RECT{0, 0, 10, 10}, nullptr, 0);
    SetTimer(hwnd, 1, 20, nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(rt::kNoTimerDue, rt::NextTimerDue());
    EXPECT_FALSE(KillTimer(hwnd, 1));
    EXPECT_EQ(0u, SetTimer(hwnd, 1, 20, nullptr));  // a stale window takes no timers
    rt::AdvanceClock(100);
    EXPECT_TRUE(Ticks().empty());
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
