// The reference host's routing: registered messages only, capture, leave, cursor,
// timers on the virtual clock, resizes, menu commands and paint leak detection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/HostServices.h"
#include "host/Services.h"
#include "host_fixture.h"
#include "pixels.h"
#include "win32/runtime_ext.h"

namespace {

// Records every handler call as text: "down 5,5", "leave", "timer 7@100", ...
struct Recorder : CElementContainer {
    explicit Recorder(std::vector<UINT> wanted, std::vector<std::string>* log) : wanted_(wanted), log_(log) {}
    int InitObject(const wchar_t* name, _CONTAINER_INFO* info) override {
        if (!CElementContainer::InitObject(name, info)) return 0;
        for (UINT m : wanted_) RegisterMessage(m);
        return 1;
    }
    int Log(const std::string& s) {
        const wchar_t* n = GetName();
        log_->push_back((n ? std::string(n, n + wcslen(n)) : "?") + " " + s);
        return 1;
    }
    static std::string Pt(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    int OnLButtonDown(POINT pt) override {
        Log("down " + Pt(pt));
        if (captureOnDown) SetCapture();
        return 1;
    }
    int OnLButtonUp(POINT pt) override {
        Log("up " + Pt(pt));
        ReleaseCapture();
        return 1;
    }
    int OnMouseMove(int x, int y, DWORD) override { return Log("move " + Pt(POINT{x, y})); }
    int OnMouseLeave() override { return Log("leave"); }
    int OnTimer(DWORD id) override {
        Log("timer " + std::to_string(id) + "@" + std::to_string(rt::ClockNow()));
        if (stopAfter && --stopAfter == 0) StopTimer(id);
        return 1;
    }
    int OnSize(UINT, int cx, int cy) override { return Log("size " + std::to_string(cx) + "x" + std::to_string(cy)); }
    int OnSetCursor(UINT, LPARAM) override {
        if (setCursorResult) ::SetCursor(::LoadCursor(nullptr, IDC_CROSS));
        return setCursorResult;
    }
    int OnMenuCommand(DWORD cmd) override { return Log("command " + std::to_string(cmd)); }
    int OnPaint(CPaintDC* pDC) override {
        if (leakOnPaint) ::CreateSolidBrush(RGB(1, 2, 3));  // deliberately never deleted
        RECT rc;
        GetDrawRect(&rc);
        pDC->FillSolidRect(&rc, RGB(200, 10, 10));
        return 1;
    }
    std::vector<UINT> wanted_;
    std::vector<std::string>* log_;
    bool captureOnDown = true;
    bool leakOnPaint = false;
    int stopAfter = 0;
    int setCursorResult = 1;
};

class RoutingTest : public kt::HostTest {
protected:
    Recorder* Add(const wchar_t* name, RECT rc, std::vector<UINT> wanted) {
        auto* r = new Recorder(wanted, &log);
        EXPECT_TRUE(host->Add(r, name, rc));
        return r;
    }
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }
    std::vector<std::string> log;
};

const std::vector<UINT> kMouse{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};

TEST_F(RoutingTest, OnlyRegisteredMessagesArriveInElementCoordinates) {
    Recorder* a = Add(L"a", RECT{10, 10, 60, 40}, {WM_LBUTTONDOWN});
    a->captureOnDown = false;  // it would never hear the release
    host->Move(POINT{20, 20});
    host->Down(POINT{20, 25});
    host->Up(POINT{20, 25});
    // No move and no release: a registered neither. The pointer is still over a.
    EXPECT_EQ(std::vector<std::string>{"a down 10,15"}, Take());
    host->Leave();
    EXPECT_EQ(std::vector<std::string>{"a leave"}, Take()) << "leave comes even without registering 675";
}

TEST_F(RoutingTest, CaptureKeepsTheMouseAndDefersTheLeave) {
    Add(L"a", RECT{0, 0, 50, 50}, kMouse);
    Add(L"b", RECT{100, 0, 150, 50}, kMouse);
    host->Move(POINT{10, 10});
    host->Down(POINT{10, 10});
    host->Move(POINT{120, 10});  // over b, but a holds the capture
    host->Up(POINT{120, 10});
    const std::vector<std::string> expected{"a move 10,10", "a down 10,10", "a move 120,10", "a up 120,10",
                                            "a leave"};
    EXPECT_EQ(expected, Take());
    host->Move(POINT{121, 10});
    EXPECT_EQ(std::vector<std::string>{"b move 21,10"}, Take());
}

TEST_F(RoutingTest, TopmostElementWins) {
    Add(L"under", RECT{0, 0, 100, 100}, kMouse);
    Add(L"over", RECT{20, 20, 40, 40}, kMouse);
    host->Move(POINT{25, 25});
    EXPECT_EQ(std::vector<std::string>{"over move 5,5"}, Take());
}

// The host's own timer table keeps the platform's rules: earliest due first, ties in the
// order the timers were (re)started, intervals of at least USER_TIMER_MINIMUM.
struct TimerStep {
    char op;       // 's' start, 'k' stop, 'w' wait, 'h' stop in the handler at its value-th call
    char element;  // 'a' or 'b'
    DWORD value;   // the interval, or the wait
};
struct TimerRow {
    const char* name;
    std::vector<TimerStep> steps;
    std::vector<std::pair<std::string, DWORD>> fired;  // "a" or "b", and when after the start
};

TEST_F(RoutingTest, TimerTableOrder) {
    const TimerRow rows[] = {
        {"ties go in start order", {{'s', 'a', 50}, {'s', 'b', 50}, {'w', 0, 50}}, {{"a", 50}, {"b", 50}}},
        {"a restart goes behind a tie", {{'s', 'a', 50}, {'s', 'b', 50}, {'s', 'a', 50}, {'w', 0, 50}},
         {{"b", 50}, {"a", 50}}},
        {"earliest due first, rescheduled keep their order",
         {{'s', 'a', 30}, {'s', 'b', 20}, {'w', 0, 60}},
         {{"b", 20}, {"a", 30}, {"b", 40}, {"a", 60}, {"b", 60}}},
        {"short intervals are ten", {{'s', 'a', 1}, {'w', 0, 25}}, {{"a", 10}, {"a", 20}}},
        {"a stopped timer never fires", {{'s', 'a', 10}, {'k', 'a', 0}, {'w', 0, 50}}, {}},
        {"its handler stops it", {{'h', 'a', 3}, {'s', 'a', 100}, {'w', 0, 450}}, {{"a", 100}, {"a", 200}, {"a", 300}}},
    };
    for (const TimerRow& row : rows) {
        Recorder* a = Add(L"a", RECT{0, 0, 10, 10}, {});
        Recorder* b = Add(L"b", RECT{20, 0, 30, 10}, {});
        const DWORD start = rt::ClockNow();
        for (const TimerStep& step : row.steps) {
            Recorder* r = step.element == 'a' ? a : b;
            if (step.op == 's') r->StartTimer(1, step.value);
            if (step.op == 'k') r->StopTimer(1);
            if (step.op == 'h') r->stopAfter = int(step.value);
            if (step.op == 'w') host->Wait(step.value);
        }
        std::vector<std::string> expected;
        for (const auto& f : row.fired) expected.push_back(f.first + " timer 1@" + std::to_string(start + f.second));
        EXPECT_EQ(expected, Take()) << row.name;
        EXPECT_EQ(rt::kNoTimerDue, rt::NextTimerDue()) << row.name << ": the window's queue holds no timer";
        host->Window().RemoveElement(a);
        host->Window().RemoveElement(b);
    }
}

// On the real clock (the viewer) nobody moves time: the host keeps one window timer at its
// table's next due time, and none once the table is empty.
TEST_F(RoutingTest, RealClockArmsOneWindowTimerAtTheNextDue) {
    Recorder* r = Add(L"t", RECT{0, 0, 10, 10}, {});
    rt::UseRealClock();
    r->StartTimer(7, 5000);
    r->StartTimer(8, 300);
    const DWORD next = rt::NextTimerDue();
    const DWORD now = rt::ClockNow();
    r->StopTimer(8);
    const DWORD after_stop = rt::NextTimerDue();
    r->StopTimer(7);
    const DWORD after_all = rt::NextTimerDue();
    EXPECT_FALSE(r->StopTimer(7)) << "already stopped";
    rt::UseVirtualClock();
    ASSERT_NE(rt::kNoTimerDue, next);
    EXPECT_GT(int32_t(next - now), 0);
    EXPECT_LE(int32_t(next - now), 300) << "the earlier of the two";
    EXPECT_GT(int32_t(after_stop - now), 300) << "the 5 s one is next";
    EXPECT_EQ(rt::kNoTimerDue, after_all);
}

TEST_F(RoutingTest, ResizingSendsSizeOnlyWhenTheSizeChanges) {
    Recorder* r = Add(L"s", RECT{0, 0, 40, 20}, {WM_SIZE});
    host->Window().PlaceElement(r, RECT{10, 10, 50, 30});  // moved, same size
    host->Window().PlaceElement(r, RECT{10, 10, 60, 30});
    EXPECT_EQ(std::vector<std::string>{"s size 50x20"}, Take());
    RECT draw;
    r->GetDrawRect(&draw);
    EXPECT_EQ(0, draw.left);
    EXPECT_EQ(50, draw.right);
}

TEST_F(RoutingTest, SetCursorFallsBackToTheArrowWhereNoElementChoosesOne) {
    Add(L"c", RECT{0, 0, 50, 50}, {WM_SETCURSOR, WM_MOUSEMOVE});
    Add(L"n", RECT{100, 0, 150, 50}, {WM_MOUSEMOVE});
    Recorder* d = Add(L"d", RECT{200, 0, 250, 50}, {WM_SETCURSOR});
    d->setCursorResult = 0;  // registered, but leaves the choice to the window
    struct Row {
        const char* name;
        POINT from, to;
        int cursor;
    };
    // Each row starts on c (the cross) and moves on, as from a hand button onto a scrollbar.
    const Row rows[] = {
        {"an element that sets one", {10, 10}, {20, 10}, 32515},
        {"an element without 32", {10, 10}, {110, 10}, 32512},
        {"an element whose handler declines", {10, 10}, {210, 10}, 32512},
        {"no element", {10, 10}, {300, 150}, 32512},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host->Move(row.from);
        ASSERT_EQ(32515, rt::CursorId(::GetCursor()));
        host->Move(row.to);
        EXPECT_EQ(row.cursor, rt::CursorId(::GetCursor()));
    }
}

TEST_F(RoutingTest, MenuCommandsReachTheElementWithThatId) {
    Recorder* r = Add(L"m", RECT{0, 0, 10, 10}, {WM_COMMAND});
    Add(L"x", RECT{20, 0, 30, 10}, {});
    CViewManager::SendExDataMessage(GetEnvMainWnd(), r->GetID(), WM_COMMAND, MAKEWPARAM(105, 0), 0);
    CViewManager::SendExDataMessage(GetEnvMainWnd(), r->GetID() + 1, WM_COMMAND, 106, 0);  // x did not register
    CViewManager::SendExDataMessage(GetEnvMainWnd(), 999, WM_COMMAND, 107, 0);
    EXPECT_EQ(std::vector<std::string>{"m command 105"}, Take());
}

TEST_F(RoutingTest, APaintThatLeaksAnObjectIsCaught) {
    Recorder* r = Add(L"leaky", RECT{0, 0, 10, 10}, {WM_PAINT});
    r->leakOnPaint = true;
    r->InvalidContainerRect(0, nullptr);
    HBITMAP shot = host->Snapshot();
    ::DeleteObject(shot);
    EXPECT_EQ(1, host->Window().PaintLeaks());
    ASSERT_EQ(1u, host->Window().Problems().size());
    host.reset();  // the fixture's own leak check is not wanted here
}

TEST_F(RoutingTest, PaintIsClippedToTheElement) {
    Add(L"p", RECT{10, 10, 20, 20}, {WM_PAINT});
    const kt::Image img = kt::Shot(*host);
    EXPECT_EQ(RGB(200, 10, 10), img.at(10, 10));
    EXPECT_EQ(RGB(200, 10, 10), img.at(19, 19));
    EXPECT_EQ(host->Window().m_clrBackground, img.at(20, 20));
    EXPECT_EQ(host->Window().m_clrBackground, img.at(9, 9));
}

// What the window itself must follow: focus, a removal, a resize and the host's end.
TEST_F(RoutingTest, TheWindowFollowsFocusRemovalResizeAndTeardown) {
    Recorder* r = Add(L"r", RECT{0, 0, 50, 50}, kMouse);
    const HWND hwnd = host->Window().GetSafeHwnd();
    ::SetFocus(nullptr);
    EXPECT_TRUE(r->SetFocus());
    EXPECT_EQ(hwnd, ::GetFocus()) << "an element's focus is the window's";
    r->AddRef();  // held elsewhere too: the removal itself must take it off the window
    host->Window().RemoveElement(r);
    EXPECT_TRUE(host->Window().Elements().empty());
    host->Move(POINT{10, 10});
    EXPECT_TRUE(Take().empty());
    r->Release();
    host->Resize(SIZE{123, 45});
    RECT client{};
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(123, client.right);
    EXPECT_EQ(45, client.bottom);
    host.reset();
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(RoutingTest, CaptionsGoThroughTheDataManager) {
    CHostDataManager* data = host::DataManager();
    ASSERT_NE(nullptr, data);
    data->SetEntry(L"Buy", L"Kaufen");
    CString text(L"Buy");
    EXPECT_TRUE(data->AdjustDisplayText(&text));
    EXPECT_STREQ(L"Kaufen", text.GetString());
    CString other(L"Sell");
    EXPECT_FALSE(data->AdjustDisplayText(&other));
    EXPECT_STREQ(L"Sell", other.GetString());
    data->RemoveEntry(L"Buy");
}

}  // namespace
