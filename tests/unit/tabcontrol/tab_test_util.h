// Test support for the tab strip: a small skin with hand-picked colours and bitmap sizes
// written to the test output folder, a strip placed in a headless host, and access to
// the strip's private operations.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"
#include "strips.h"
#include "tabcontrol/ElementTabControl.h"

namespace tabtest {

// Colours of the test skin.
constexpr COLORREF kColorKey = RGB(255, 0, 255);
constexpr COLORREF kBackground = RGB(10, 20, 30);
constexpr COLORREF kBorder = RGB(200, 0, 0);
constexpr COLORREF kFillNormal = RGB(0, 0, 200);
constexpr COLORREF kHoverFill = RGB(0, 200, 0);
constexpr COLORREF kHotlight = RGB(200, 200, 0);
constexpr COLORREF kHoverText = RGB(0, 255, 255);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kSelText = RGB(1, 1, 1);
constexpr COLORREF kBtnText = RGB(250, 250, 250);
constexpr COLORREF kBtnHot = RGB(255, 128, 0);
constexpr COLORREF kOwnBk = RGB(40, 50, 60);       // "Test.OwnBk", a tab's own strip key
constexpr COLORREF kStripBmp = RGB(90, 90, 90);    // Tab_Bk4.bmp
constexpr COLORREF kGrayBmp = RGB(120, 120, 120);  // Tab_Bk1.bmp / Tab_Bk2.bmp
constexpr COLORREF kArrow = RGB(255, 255, 0);
constexpr COLORREF kArrowSel = RGB(0, 0, 0);
constexpr COLORREF kImage = RGB(0, 128, 255);     // palette bitmap "Test.Img"
constexpr COLORREF kImageHot = RGB(255, 0, 128);  // palette bitmap "Test.ImgHot"

// Sizes of the test skin's bitmaps.
constexpr int kLeftW = 3, kRightW = 4, kTabBmpH = 20;
constexpr int kArrowW = 7, kArrowH = 4;
constexpr int kStripBmpH = 14, kGray1H = 18, kGray2H = 22;
constexpr int kImageW = 12, kImageH = 10;
constexpr int kOwnLeftW = 30, kOwnRightW = 25;  // "own_left.bmp", "own_right.bmp"

// The skin folder (written once per process).
const std::string& SkinDir();

// A strip of the test skin in a host window; the host holds the reference.
struct Strip : kt::Strip {
    explicit Strip(RECT container_rect = RECT{0, 0, 300, 40}, SIZE window_size = SIZE{400, 60}, int bTextBottom = 0)
        : kt::Strip(SkinDir(), kt::StripPlace{container_rect, window_size, POINT{0, 0}, 0, -1, bTextBottom}) {}
    // A tab "Tab" of an equal division: one of `divide` columns (size mode 1) or rows.
    int AddDivided(int id, int divide, int sizeMode, int visible = 1) {
        _TAB_PARAM_INFO_ info;
        info.nID = id;
        info.lpszName = L"Tab";
        info.nDivide = divide;
        info.nSizeMode = sizeMode;
        info.bVisible = visible;
        return tabs->Add(&info);
    }
};

// The centre of a rectangle.
inline POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Text width in the test skin's tab font.
int TextWidth(const wchar_t* text);

}  // namespace tabtest

// The strip's private operations, for the tests.
struct TabControlTestAccess {
    static void ReCalculateTabSize(CElementTabControl& t) { t.ReCalculateTabSize(); }
};
