// Shared helpers of the menu runtime tests: an owner window that records the menu
// messages it receives and answers owner-draw questions, and a fixture that checks no
// menu, image list or GDI object outlives a test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "menus.h"
#include "platform.h"
#include "win32/runtime_ext.h"

namespace mt {

// A popup: Open(101) | Recent > [One(201), Two(202)] | separator | Auto(102, checked) | Gone(103, grayed)
struct Sample {
    HMENU menu = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    Sample() {
        AppendMenuW(recent, MF_STRING, 201, L"One");
        AppendMenuW(recent, MF_STRING, 202, L"Two");
        AppendMenuW(menu, MF_STRING, 101, L"&Open\tCtrl+O");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"Recent");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | MF_CHECKED, 102, L"Auto");
        AppendMenuW(menu, MF_STRING | MF_GRAYED, 103, L"Gone");
    }
    ~Sample() { DestroyMenu(menu); }
};

// The popup layout's rules, over the system's menu font (lfMenuFont) and metrics.
struct MenuFont {
    MenuFont();
    int tmHeight = 0;
    int avgChar = 0;                                 // the 52 letters' average, rounded
    int ownerHeight = HIWORD(GetDialogBaseUnits());  // WM_MEASUREITEM's itemHeight as it arrives
    int ItemHeight() const { return tmHeight + 4; }
    int OwnerItemWidth(int measured) const { return measured + 2 * avgChar; }
};

struct OwnerRecord {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    MEASUREITEMSTRUCT mis{};  // WM_MEASUREITEM: the structure as it arrived
    DRAWITEMSTRUCT dis{};     // WM_DRAWITEM: the structure as it arrived
};

// A top-level window that records the menu messages and WM_COMMAND.
class Owner {
public:
    explicit Owner(RECT screen_rect = RECT{100, 100, 400, 300});
    ~Owner();
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::vector<OwnerRecord> records;
    std::vector<OwnerRecord> Only(UINT msg) const;
    // Answers for WM_MEASUREITEM; the default leaves the structure as it came.
    std::function<void(MEASUREITEMSTRUCT*)> onMeasure;
    std::function<void(const DRAWITEMSTRUCT*)> onDraw;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    HWND hwnd_ = nullptr;
};

using Script = kt::MenuAnswers;

// Starts each test with an empty queue and a blank screen; checks that nothing leaks.
class MenuTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    int menus_before_ = 0;
    int gdi_before_ = 0;
    int lists_before_ = 0;
};

// The popup as it opens when tracked with flags at a point (dismissed at once).
rt::MenuPopupView OpenedView(HMENU menu, HWND owner, UINT flags, POINT at = POINT{0, 0});

// "(l, t, r, b)", as the report lines print it: rectangles compare whole and show so.
std::string Str(const RECT& rc);

}  // namespace mt
