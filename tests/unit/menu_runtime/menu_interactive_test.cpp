// The interactive menu loop, answered by injected input fed through the message wait hook
// (the runtime's own: on Windows the system's loop waits for real input).
#include "menu_test_util.h"

namespace {

using mt::MenuTest;
using mt::Owner;
using mt::Sample;
using mt::OpenedView;

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
    std::vector<std::string> lines;
    rt::SetMenuReportHook([&](const std::string& line) { lines.push_back(line); });
    COLORREF hovered = 0;
    InputSteps input({
        [&] { rt::InjectMouse(WM_MOUSEMOVE, Centre(auto_rc), 0); },
        [&] {
            hovered = GetPixel(CScreenDC(), auto_rc.right - 2, auto_rc.top + 1);
            rt::InjectMouse(WM_MOUSEMOVE, Centre(open_rc), 0);
        },
        [&] { rt::InjectMouse(WM_LBUTTONDOWN, Centre(open_rc), MK_LBUTTON); },
        [&] { rt::InjectMouse(WM_LBUTTONUP, Centre(open_rc), 0); },
    });
    owner.records.clear();
    EXPECT_TRUE(TrackPopupMenu(s.menu, 0, 40, 40, 0, owner.hwnd(), nullptr));
    rt::SetMenuReportHook(nullptr);
    EXPECT_EQ(hovered, GetSysColor(COLOR_HIGHLIGHT));
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

// Without an input source the loop ends at once; an empty menu is not shown at all (the
// report lines are the runtime's: the system reports neither).
TEST_F(MenuTest, InteractiveWithoutAnyInputSourceEndsAtOnce) {
    Sample s;
    Owner owner;
    std::vector<std::string> lines;
    rt::SetMenuReportHook([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(TrackPopupMenu(s.menu, TPM_RETURNCMD, 40, 40, 0, owner.hwnd(), nullptr), 0);
    HMENU empty = CreatePopupMenu();
    EXPECT_FALSE(TrackPopupMenu(empty, 0, 0, 0, 0, owner.hwnd(), nullptr));
    DestroyMenu(empty);
    rt::SetMenuReportHook(nullptr);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "menu dismissed (no input)");
    EXPECT_EQ(lines[2], "menu not shown (no items)");
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
