// CWnd message maps, the handle maps, window lifetime, CWinApp and CComPtr.
#include <sstream>
#include <string>

#include "afx/afxgdi.h"
#include "afx/afxwnd.h"
#include "afx/atlbase.h"
#include "user_test_util.h"

namespace {

std::vector<std::string> g_calls;

// Records a handler's name and arguments, separated by spaces.
template <typename... Args>
void Called(const char* name, Args... args) {
    std::ostringstream line;
    line << name;
    ((line << ' ' << args), ...);
    g_calls.push_back(line.str());
}

class CBaseWnd : public CWnd {
public:
    int m_created = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        ++m_created;
        return CWnd::OnCreate(lpCreateStruct);
    }
    afx_msg void OnLButtonDown(UINT, CPoint) { Called("base lbuttondown"); }
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point) { Called("base rbuttondown", nFlags, point.x, point.y); }
    afx_msg void OnSave() { Called("base command 100"); }
    afx_msg LRESULT OnQuote(WPARAM wParam, LPARAM lParam) {
        Called("base quote");
        return LRESULT(wParam + lParam);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_COMMAND(100, OnSave)
ON_MESSAGE(WM_USER + 5, OnQuote)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Called("derived lbuttondown", nFlags, point.x, point.y); }
    afx_msg void OnRange(UINT nID) { Called("derived range", nID); }
    afx_msg void OnSize(UINT nType, int cx, int cy) { Called("derived size", nType, cx, cy); }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        Called("derived setcursor", pWnd == this ? "self" : "other", nHitTest, message);
        return TRUE;
    }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
        Called("derived wheel", nFlags, zDelta, pt.x);
        return TRUE;
    }
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
        Called("derived measure", nIDCtl);
        lpMeasureItemStruct->itemHeight = 21;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Called("derived keydown", nChar, nRepCnt, nFlags); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_WM_LBUTTONDOWN()
ON_COMMAND_RANGE(200, 210, OnRange)
ON_WM_SIZE()
ON_WM_SETCURSOR()
ON_WM_MOUSEWHEEL()
ON_WM_MEASUREITEM()
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class MfcTest : public ut::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        g_calls.clear();
    }
    void TearDown() override {
        CWnd::DeleteTempMap();
        AfxDeleteTempMaps();
        UserTest::TearDown();
    }
};

TEST_F(MfcTest, MessageMapsDispatchAndChainToTheBase) {
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"derived", WS_POPUP, 10, 10, 100, 50, nullptr, nullptr));
    EXPECT_EQ(1, wnd.m_created);  // the base class's entry, reached through the chain
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 7, 0, 0, 0};
    struct Row {
        const char* name;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        const char* expectedCall;  // empty: no handler runs
        LRESULT expectedResult;
    };
    const Row rows[] = {
        {"derived entry overrides the base", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 7),
         "derived lbuttondown 1 -3 7", 0},
        {"base entry through the chain", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 5), "base rbuttondown 2 4 5", 0},
        {"command in the base map", WM_COMMAND, 100, 0, "base command 100", 1},
        {"command range, low end", WM_COMMAND, 200, 0, "derived range 200", 1},
        {"command range, high end", WM_COMMAND, 210, 0, "derived range 210", 1},
        {"command outside every entry", WM_COMMAND, 211, 0, "", 0},
        {"accelerator code counts as a command", WM_COMMAND, MAKEWPARAM(205, 1), 0, "derived range 205", 1},
        {"ON_MESSAGE result", WM_USER + 5, 40, 2, "base quote", 42},
        {"set cursor arguments", WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), "derived setcursor self 1 512",
         TRUE},
        {"wheel delta is signed", WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, -120), MAKELPARAM(300, 10),
         "derived wheel 4 -120 300", TRUE},
        {"measure item", WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), "derived measure 0", TRUE},
        {"key down splits lParam", WM_KEYDOWN, 0x41, MAKELPARAM(1, 0x1E), "derived keydown 65 1 30", 0},
        {"message without an entry", WM_USER + 6, 0, 0, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_calls.clear();
        const WPARAM wParam = row.msg == WM_SETCURSOR ? reinterpret_cast<WPARAM>(wnd.m_hWnd) : row.wParam;
        EXPECT_EQ(row.expectedResult, wnd.SendMessage(row.msg, wParam, row.lParam));
        EXPECT_EQ(*row.expectedCall ? std::vector<std::string>{row.expectedCall} : std::vector<std::string>{}, g_calls);
    }
    EXPECT_EQ(21u, mis.itemHeight);
    g_calls.clear();
    wnd.MoveWindow(10, 10, 120, 60);
    EXPECT_EQ(std::vector<std::string>{"derived size 0 120 60"}, g_calls);
}

TEST_F(MfcTest, FromHandlePermanentAndTemporary) {
    CWnd owned;
    ASSERT_TRUE(owned.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(&owned, CWnd::FromHandle(owned.m_hWnd));
    EXPECT_EQ(&owned, CWnd::FromHandlePermanent(owned.m_hWnd));

    const HWND foreign = Make(RECT{0, 0, 10, 10});
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    CWnd* temp = CWnd::FromHandle(foreign);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(foreign, temp->m_hWnd);
    EXPECT_EQ(temp, CWnd::FromHandle(foreign));  // one temporary per handle until cleanup
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(foreign));  // a temporary never destroys its window

    CDC* dc = CWnd::FromHandle(foreign)->GetDC();  // a temporary CDC on the window
    ASSERT_NE(nullptr, dc);
    EXPECT_NE(nullptr, dc->GetSafeHdc());
    EXPECT_EQ(1, CWnd::FromHandle(foreign)->ReleaseDC(dc));

    CWnd attached;
    ASSERT_TRUE(attached.Attach(foreign));
    EXPECT_FALSE(CWnd().Attach(foreign));  // one permanent object per window
    EXPECT_EQ(&attached, CWnd::FromHandle(foreign));
    EXPECT_EQ(foreign, attached.Detach());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
}

class CSelfDeletingWnd : public CWnd {
public:
    explicit CSelfDeletingWnd(bool* deleted) : m_deleted(deleted) {}
    ~CSelfDeletingWnd() override { *m_deleted = true; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool* m_deleted;
};

TEST_F(MfcTest, ApplicationObjectAndModuleState) {
    EXPECT_EQ(nullptr, AfxGetApp());
    {
        CWinApp app(L"quote");
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_STREQ(L"quote", app.m_pszAppName);
        EXPECT_TRUE(app.InitInstance());
        EXPECT_NE(nullptr, AfxGetInstanceHandle());
        EXPECT_EQ(AfxGetInstanceHandle(), app.m_hInstance);
        CWnd main;
        ASSERT_TRUE(main.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        app.m_pMainWnd = &main;
        EXPECT_EQ(&main, AfxGetMainWnd());
        PostQuitMessage(7);
        EXPECT_EQ(7, app.Run());
    }
    EXPECT_EQ(nullptr, AfxGetApp());
}

// A COM object that counts its references and says when it is freed.
class CCounted : public IUnknown {
public:
    explicit CCounted(bool* freed) : m_freed(freed) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = IsEqualIID(riid, IID_IUnknown) ? this : nullptr;
        if (*ppv) AddRef();
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        if (--m_refs) return ULONG(m_refs);
        *m_freed = true;
        delete this;
        return 0;
    }
    LONG m_refs = 0;

private:
    virtual ~CCounted() = default;
    bool* m_freed;
};

TEST(CComPtrTest, ReferenceCountsFollowOwnership) {
    bool freedA = false, freedB = false;
    auto* a = new CCounted(&freedA);
    auto* b = new CCounted(&freedB);
    {
        CComPtr<CCounted> p(a);
        CComPtr<CCounted> copy(p);
        EXPECT_EQ(2, a->m_refs);
        copy = b;  // AddRef the new one, Release the old
        EXPECT_EQ(1, a->m_refs);
        EXPECT_EQ(1, b->m_refs);
        CCounted* raw = p.Detach();  // the reference goes with it
        EXPECT_TRUE(p == nullptr);
        p.Attach(raw);  // and comes back without an AddRef
        EXPECT_EQ(1, a->m_refs);
        CComPtr<CCounted> moved(std::move(p));
        EXPECT_EQ(1, a->m_refs);
        copy = nullptr;
        EXPECT_TRUE(freedB);
        EXPECT_FALSE(freedA);
    }
    EXPECT_TRUE(freedA);
}

}  // namespace
