// Tracking popup menus: scripted answers, reports, WM_COMMAND, TPM_RETURNCMD, message order,
// owner-drawn items, placement and layout (the interactive loop: menu_interactive_test.cpp).
#include <climits>
#include <tuple>

#include "menu_test_util.h"
#include "pixels.h"

namespace {

using mt::MenuTest;
using mt::Owner;
using mt::Script;

using mt::OpenedView;
using mt::Sample;

RECT TrackedRect(HMENU menu, HWND owner, UINT flags, POINT at) {
    return OpenedView(menu, owner, flags, at).screen_rect;
}

// ---- scripted answers ------------------------------------------------------------------------------
// The command of a choice is posted, not sent; TPM_RETURNCMD returns it and posts nothing.
TEST_F(MenuTest, ScriptedAnswersChooseByTextPathOrIdAndReport) {
    enum Answer { kChoose, kCancel, kNone };
    struct Row {
        const char* name;
        Answer answer;
        std::wstring path;
        UINT flags;
        std::string answerLine;
        size_t popupLines;
        BOOL result;
        UINT posted;  // 0: nothing
    };
    const Row rows[] = {
        {"shown text", kChoose, L"Open", 0, "menu choose \"Open\" = 101", 1, TRUE, 101},
        {"text as given", kChoose, L"&Open\tCtrl+O", 0, "menu choose \"&Open\\tCtrl+O\" = 101", 1, TRUE, 101},
        {"sub-menu path", kChoose, L"Recent/Two", 0, "menu choose \"Recent/Two\" = 202", 2, TRUE, 202},
        {"command id", kChoose, L"#102", 0, "menu choose \"#102\" = 102", 1, TRUE, 102},
        {"a number and more is a text", kChoose, L"#102x", 0, "menu dismissed (no item \"#102x\")", 1, TRUE, 0},
        {"grayed item", kChoose, L"Gone", 0, "menu dismissed (\"Gone\" is grayed)", 1, TRUE, 0},
        {"unknown item", kChoose, L"Nope", 0, "menu dismissed (no item \"Nope\")", 1, TRUE, 0},
        {"path ends at a sub-menu", kChoose, L"Recent", 0, "menu dismissed (\"Recent\" opens a sub-menu)", 1, TRUE, 0},
        {"cancel", kCancel, L"", 0, "menu cancel", 1, TRUE, 0},
        {"no answer", kNone, L"", 0, "menu dismissed (no answer)", 1, TRUE, 0},
        {"TPM_RETURNCMD: chosen", kChoose, L"Recent/Two", TPM_RETURNCMD, "menu choose \"Recent/Two\" = 202", 2, 202, 0},
        {"TPM_RETURNCMD: cancelled", kCancel, L"", TPM_RETURNCMD, "menu cancel", 1, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Sample s;
        Owner owner;
        Script script;
        if (r.answer == kChoose) script.Choose(r.path);
        if (r.answer == kCancel) script.Cancel();
        EXPECT_EQ(TrackPopupMenu(s.menu, r.flags, 20, 30, 0, owner.hwnd(), nullptr), r.result);
        ASSERT_EQ(script.lines.size(), r.popupLines + 1);
        EXPECT_EQ(script.lines.back(), r.answerLine);
        EXPECT_TRUE(owner.Only(WM_COMMAND).empty());
        rt::PumpMessages();
        const auto commands = owner.Only(WM_COMMAND);
        ASSERT_EQ(commands.size(), r.posted ? 1u : 0u);
        if (r.posted) {
            EXPECT_EQ(commands[0].wParam, MAKEWPARAM(r.posted, 0));
            EXPECT_EQ(commands[0].lParam, 0);
        }
    }
}

TEST_F(MenuTest, BadArgumentsFailAndNestedTrackingOpens) {
    Sample s;
    Owner owner;
    Script script;
    EXPECT_FALSE(TrackPopupMenu(s.menu, 0, 0, 0, 0, nullptr, nullptr));
    HMENU gone = CreatePopupMenu();
    DestroyMenu(gone);
    EXPECT_FALSE(TrackPopupMenu(gone, 0, 0, 0, 0, owner.hwnd(), nullptr));
    // A menu tracked while another is open runs a loop of its own (the nested popup gets
    // no answer and is dismissed; then the outer one's answer ends it).
    BOOL nested = FALSE;
    script.Cancel([&] { nested = TrackPopupMenu(s.recent, 0, 0, 0, 0, owner.hwnd(), nullptr); });
    TrackPopupMenu(s.menu, 0, 0, 0, 0, owner.hwnd(), nullptr);
    EXPECT_TRUE(nested);
    ASSERT_EQ(script.lines.size(), 4u);
    EXPECT_NE(script.lines[1].find("): \"One\" 201, \"Two\" 202"), std::string::npos) << script.lines[1];
    EXPECT_EQ(script.lines[2], "menu dismissed (no answer)");
    EXPECT_EQ(script.lines[3], "menu cancel");
    // An empty menu is not shown and the call fails (the runtime's report line for it:
    // menu_interactive_test.cpp).
    HMENU empty = CreatePopupMenu();
    EXPECT_FALSE(TrackPopupMenu(empty, 0, 0, 0, 0, owner.hwnd(), nullptr));
    DestroyMenu(empty);
}

// ---- placement ------------------------------------------------------------------------------------
// Where a menu tracked at `at` with `flags` opens: its top-left corner.
struct PlacementRow {
    const char* name;
    UINT flags;
    POINT at;
    POINT expected;
};

TEST_F(MenuTest, PlacementFollowsAlignmentAndStaysOnTheScreen) {
    Sample s;
    Owner owner;
    const RECT base = TrackedRect(s.menu, owner.hwnd(), 0, POINT{100, 100});
    const SIZE screen = rt::GetScreenSize();
    const int w = base.right - base.left, h = base.bottom - base.top;
    ASSERT_GT(w, 0);
    const PlacementRow rows[] = {
        {"left top", TPM_LEFTALIGN | TPM_TOPALIGN, {200, 150}, {200, 150}},
        {"right", TPM_RIGHTALIGN, {200, 150}, {200 - w, 150}},
        {"centre", TPM_CENTERALIGN, {200, 150}, {200 - w / 2, 150}},
        {"bottom", TPM_BOTTOMALIGN, {200, 150}, {200, 150 - h}},
        {"vertical centre", TPM_VCENTERALIGN, {200, 150}, {200, 150 - h / 2}},
        {"right edge: shifted left", 0, {screen.cx - 10, 10}, {screen.cx - w, 10}},
        {"bottom edge: shifted up", 0, {10, screen.cy - 10}, {10, screen.cy - h}},
        {"off the top left: pinned", TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {5, 5}, {0, 0}},
    };
    for (const PlacementRow& r : rows) {
        SCOPED_TRACE(r.name);
        const RECT got = TrackedRect(s.menu, owner.hwnd(), r.flags, r.at);
        EXPECT_EQ(mt::Str(got), mt::Str(RECT{r.expected.x, r.expected.y, r.expected.x + w, r.expected.y + h}));
    }
}

// Anchors at the ends of the int range (a tab whose edge was pinned at INT_MAX opens its
// menu there): the alignment does not wrap around, and the popup is kept on the screen as
// any anchor off it.
TEST_F(MenuTest, AnchorsAtTheEndsOfTheIntRangeDoNotWrapAround) {
    SKIP_UNDER_WINE("its placement wraps at the ends of the int range (the popup lands at 32767, 32767)");
    Sample s;
    Owner owner;
    const RECT base = TrackedRect(s.menu, owner.hwnd(), 0, POINT{100, 100});
    const int w = base.right - base.left, h = base.bottom - base.top;
    const SIZE screen = rt::GetScreenSize();
    const PlacementRow rows[] = {
        {"anchor at the far corner", 0, {INT_MAX, INT_MAX}, {screen.cx - w, screen.cy - h}},
        {"near corner, right and bottom aligned", TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {INT_MIN, INT_MIN}, {0, 0}},
    };
    for (const PlacementRow& r : rows) {
        SCOPED_TRACE(r.name);
        const RECT got = TrackedRect(s.menu, owner.hwnd(), r.flags, r.at);
        EXPECT_EQ(mt::Str(got), mt::Str(RECT{r.expected.x, r.expected.y, r.expected.x + w, r.expected.y + h}));
    }
}

TEST_F(MenuTest, SubMenuOverlapsItsParentAndFlipsAtTheScreenEdges) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    for (UINT id = 201; id <= 204; ++id) AppendMenuW(sub, MF_STRING, id, L"Entry");
    AppendMenuW(menu, MF_STRING, 101, L"Top");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Recent");
    AppendMenuW(menu, MF_STRING, 102, L"Last");
    Owner owner;
    enum Side { kRight, kLeft, kUp };
    struct Row {
        const char* name;
        POINT at;
        Side side;
    };
    const int h = mt::MenuFont().ItemHeight();
    const SIZE screen = rt::GetScreenSize();
    const Row rows[] = {{"room on the right", {10, 10}, kRight},
                        {"at the right edge", {screen.cx - 80, 10}, kLeft},
                        {"at the bottom edge: its last item ends level", {10, screen.cy - (3 * h + 6)}, kUp}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Script script;
        std::vector<rt::MenuPopupView> open;
        script.Choose(L"Recent/Entry", [&] { open = rt::OpenMenus(); });
        TrackPopupMenu(menu, 0, r.at.x, r.at.y, 0, owner.hwnd(), nullptr);
        ASSERT_EQ(open.size(), 2u);
        const RECT& item = open[0].items[1].screen_rect;
        const RECT& got = open[1].screen_rect;
        EXPECT_EQ(r.side == kLeft ? got.right : got.left, r.side == kLeft ? item.left : item.right - 1);
        EXPECT_EQ(r.side == kUp ? got.bottom : got.top, r.side == kUp ? item.bottom + 3 : item.top - 3);
    }
    DestroyMenu(menu);
}

}  // namespace
