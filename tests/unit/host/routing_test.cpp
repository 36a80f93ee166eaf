// The reference host: the real clock's window timer, paint leak detection, the window
// through focus removal, resize and teardown, and captions through the data manager.
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
