// The interactive menu loop, answered by injected input fed through the message wait hook
// (the runtime's own: on Windows the system's loop waits for real input).
#include "menu_test_util.h"

namespace {

using mt::MenuTest;
using mt::OpenedView;
using mt::Owner;
using mt::Sample;

// ---- the interactive answer -----------------------------------------------------------------------
// Feeds input through the message wait hook, one step each time the menu loop waits.
class InputSteps {
public:
    explicit InputSteps(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
        rt::SetMessageWaitHook([this](DWORD) {
            if (next_ >= steps_.size()) return false;
            steps_[next_++]();
            return true;
        });
    }
    ~InputSteps() { rt::SetMessageWaitHook(nullptr); }
    size_t used() const { return next_; }

private:
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
};

POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Where item `index` of the sample menu lies when tracked at (40, 40).
RECT SampleItem(HMENU menu, HWND owner, int index) {
    return OpenedView(menu, owner, 0, POINT{40, 40}).items[size_t(index)].screen_rect;
}

TEST_F(MenuTest, InteractiveHoverHighlightsAndAClickChooses) {
    Sample s;
    Owner owner;
    const RECT open_rc = SampleItem(s.menu, owner.hwnd(), 0);
    const RECT auto_rc = SampleItem(s.menu, owner.hwnd(), 3);
    const RECT gone_rc = SampleItem(s.menu, owner.hwnd(), 4);
    COLORREF gone_px = 0;
    std::vector<std::string> lines;
    rt::SetMenuReportHook([&](const std::string& line) { lines.push_back(line); });
    COLORREF hovered = 0;
    InputSteps input({
        [&] { rt::InjectMouse(WM_MOUSEMOVE, Centre(auto_rc), 0); },
        [&] {
            hovered = GetPixel(CScreenDC(), auto_rc.right - 2, auto_rc.top + 1);
            // Something paints over the popup: the next repaint of an item puts it back whole.
            FillRect(CScreenDC(), &gone_rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            rt::InjectMouse(WM_MOUSEMOVE, Centre(open_rc), 0);
        },
        [&] {
            gone_px = GetPixel(CScreenDC(), gone_rc.left + 1, gone_rc.top + 1);
            rt::InjectMouse(WM_LBUTTONDOWN, Centre(open_rc), MK_LBUTTON);
        },
        [&] { rt::InjectMouse(WM_LBUTTONUP, Centre(open_rc), 0); },
    });
    owner.records.clear();
    EXPECT_TRUE(TrackPopupMenu(s.menu, 0, 40, 40, 0, owner.hwnd(), nullptr));
    rt::SetMenuReportHook(nullptr);
    EXPECT_EQ(hovered, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(gone_px, GetSysColor(COLOR_MENU));
    const auto selects = owner.Only(WM_MENUSELECT);
    ASSERT_EQ(selects.size(), 3u);
    EXPECT_EQ(LOWORD(selects[0].wParam), 102);
    EXPECT_EQ(LOWORD(selects[1].wParam), 101);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "menu choose \"Open\" = 101");
    rt::PumpMessages();
    ASSERT_EQ(owner.Only(WM_COMMAND).size(), 1u);
    EXPECT_EQ(owner.Only(WM_COMMAND)[0].wParam, MAKEWPARAM(101, 0));
}

// An item that opens a sub-menu closes another's, a plain item closes the deeper popups, and
// a click in a sub-menu chooses there.
TEST_F(MenuTest, InteractiveHoverOpensAndClosesSubMenus) {
    HMENU menu = CreatePopupMenu(), a = CreatePopupMenu(), b = CreatePopupMenu();
    AppendMenuW(a, MF_STRING, 11, L"A1");
    AppendMenuW(b, MF_STRING, 21, L"B1");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(a), L"A");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(b), L"B");
    AppendMenuW(menu, MF_STRING, 1, L"Plain");
    Owner owner;
    const rt::MenuPopupView top = OpenedView(menu, owner.hwnd(), 0, POINT{40, 40});
    std::vector<std::string> open;  // the popups open after each step
    const auto record = [&] {
        std::string names;
        for (const rt::MenuPopupView& v : rt::OpenMenus()) names += v.menu == menu ? "M" : v.menu == a ? "A" : "B";
        open.push_back(names);
    };
    const auto move_to = [](const RECT& rc) { rt::InjectMouse(WM_MOUSEMOVE, Centre(rc), 0); };
    // Over A, B, Plain, B again, then B's item, which is clicked.
    std::vector<std::function<void()>> steps;
    for (size_t item : {0, 1, 2, 1})
        steps.push_back([&, item] {
            record();
            move_to(top.items[item].screen_rect);
        });
    steps.push_back([&] {
        record();
        move_to(rt::OpenMenus().back().items[0].screen_rect);
    });
    steps.push_back([&] {
        record();
        const POINT b1 = Centre(rt::OpenMenus().back().items[0].screen_rect);
        rt::InjectMouse(WM_LBUTTONDOWN, b1, MK_LBUTTON);
        rt::InjectMouse(WM_LBUTTONUP, b1, 0);
    });
    InputSteps input(steps);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 40, 40, 0, owner.hwnd(), nullptr), 21);
    DestroyMenu(menu);
    EXPECT_EQ(open, (std::vector<std::string>{"M", "MA", "MB", "M", "MB", "MB"}));
}

TEST_F(MenuTest, InteractiveDismissals) {
    struct Row {
        const char* name;
        std::function<void(const RECT& recent_rc)> last_step;
        std::string line;
    };
    const Row rows[] = {
        {"click outside",
         [](const RECT&) {
             rt::InjectMouse(WM_LBUTTONDOWN, POINT{600, 400}, MK_LBUTTON);
         },
         "menu dismissed (click outside)"},
        // The first Esc closes the sub-menu the hover opened, the second the menu.
        {"escape",
         [](const RECT&) {
             rt::InjectKey(WM_KEYDOWN, VK_ESCAPE);
             rt::InjectKey(WM_KEYDOWN, VK_ESCAPE);
         },
         "menu dismissed (escape)"},
        {"no more input", nullptr, "menu dismissed (no input)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Sample s;
        Owner owner;
        SetActiveWindow(owner.hwnd());
        const RECT recent_rc = SampleItem(s.menu, owner.hwnd(), 1);
        std::vector<std::string> lines;
        rt::SetMenuReportHook([&](const std::string& line) { lines.push_back(line); });
        std::vector<std::function<void()>> steps = {[&] { rt::InjectMouse(WM_MOUSEMOVE, Centre(recent_rc), 0); }};
        if (r.last_step) steps.push_back([&] { r.last_step(recent_rc); });
        InputSteps input(steps);
        EXPECT_TRUE(TrackPopupMenu(s.menu, 0, 40, 40, 0, owner.hwnd(), nullptr));
        rt::SetMenuReportHook(nullptr);
        ASSERT_EQ(lines.size(), 3u) << "the menu, the sub-menu opened on hover, the end";
        EXPECT_EQ(lines[1].substr(0, 8), "submenu ");
        EXPECT_EQ(lines[2], r.line);
        rt::PumpMessages();
        EXPECT_TRUE(owner.Only(WM_COMMAND).empty());
    }
}

TEST_F(MenuTest, InteractiveKeyboardWalksIntoASubMenu) {
    Sample s;
    Owner owner;
    SetActiveWindow(owner.hwnd());
    InputSteps input({
        [] { rt::InjectKey(WM_KEYDOWN, VK_DOWN); },   // Open
        [] { rt::InjectKey(WM_KEYDOWN, VK_DOWN); },   // Recent
        [] { rt::InjectKey(WM_KEYDOWN, VK_RIGHT); },  // opens it, One highlighted
        [] { rt::InjectKey(WM_KEYDOWN, VK_DOWN); },   // Two
        [] { rt::InjectKey(WM_KEYDOWN, VK_RETURN); },
    });
    EXPECT_EQ(TrackPopupMenu(s.menu, TPM_RETURNCMD, 40, 40, 0, owner.hwnd(), nullptr), 202);
}

}  // namespace
