// Drawing: the classic popup look, pixel by pixel where it is hand-worked, and a golden.
#include "menu_test_util.h"
#include "pixels.h"

namespace {

using mt::MenuTest;
using mt::Owner;
using mt::Sample;
using mt::Script;

struct Shot {
    std::vector<rt::MenuPopupView> open;
    HBITMAP picture = nullptr;
    ~Shot() {
        if (picture) DeleteObject(picture);
    }
};

// Tracks the menu, takes a picture of the tracked popup when it shows `path` (or "" to
// dismiss), and returns it.
void TrackAndShoot(HMENU menu, HWND owner, const std::wstring& path, Shot* shot) {
    Script script;
    auto take = [shot] {
        shot->open = rt::OpenMenus();
        RECT all = shot->open[0].screen_rect;
        for (const auto& v : shot->open) UnionRect(&all, &all, &v.screen_rect);
        shot->picture = rt::CopyScreenRect(all);
    };
    if (path.empty()) {
        script.Cancel(take);
    } else {
        script.Choose(path, take);
    }
    TrackPopupMenu(menu, 0, 10, 10, 0, owner, nullptr);
}

TEST_F(MenuTest, GoldenPopupWithEveryKindOfItem) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 21, L"Inner");
    AppendMenuW(menu, MF_STRING, 1, L"&New\tCtrl+N");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 2, L"Checked");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 3, L"Chosen");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 4, L"Disabled");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"More");
    AppendMenuW(menu, MF_STRING | MF_MENUBARBREAK, 5, L"Second");
    AppendMenuW(menu, MF_STRING, 6, L"Column");
    Owner owner;
    Shot shot;
    TrackAndShoot(menu, owner.hwnd(), L"Chosen", &shot);
    EXPECT_TRUE(kt::MatchesGolden(shot.picture, "menu_runtime/popup"));
    DestroyMenu(menu);
}

// The popup on the runtime's screen, and what it covered put back (Wine's null display driver
// keeps no screen to read).
TEST_F(MenuTest, TheOpenMenuIsOnTheScreenAndLeavesNothingBehind) {
    Sample s;
    Owner owner;
    Script script;
    COLORREF inside = 0;
    COLORREF highlight_px = 0;
    HWND capture = nullptr;
    RECT popup{};
    script.Choose(L"Auto", [&] {
        capture = GetCapture();  // the menu holds the mouse while it is open
        const auto open = rt::OpenMenus();
        popup = open[0].screen_rect;
        CScreenDC screen;
        inside = GetPixel(screen, popup.left + 2, popup.top + 2);  // inside the frame: the menu colour
        const RECT item = open[0].items[3].screen_rect;
        highlight_px = GetPixel(screen, item.right - 2, item.top + 1);
    });
    ValidateRect(owner.hwnd(), nullptr);
    TrackPopupMenu(s.menu, 0, 40, 40, 0, owner.hwnd(), nullptr);
    EXPECT_NE(capture, nullptr);
    // The owner (client area from (100, 100)) repaints the part the popup covered.
    RECT dirty{};
    GetUpdateRect(owner.hwnd(), &dirty, FALSE);
    EXPECT_EQ(mt::Str(dirty), mt::Str(RECT{0, 0, popup.right - 100, popup.bottom - 100}));
    EXPECT_EQ(inside, GetSysColor(COLOR_MENU));
    EXPECT_EQ(highlight_px, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetPixel(CScreenDC(), popup.left + 2, popup.top + 2), RGB(255, 255, 255));  // what was under it
    EXPECT_TRUE(rt::OpenMenus().empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
