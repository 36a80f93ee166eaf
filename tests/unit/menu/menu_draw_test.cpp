// The drawing helpers of CMenuEx, pixel by pixel where the result is exact.
#include <gtest/gtest.h>

#include "menu_test_util.h"
#include "pixels.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// The shades of the check mark's fill (factors 0.55 and 0.85): DrawCheckmark below.
TEST(LightenColor, MovesEachChannelTowardsWhite) {
    struct Row {
        const char* name;
        COLORREF in;
        double factor;
        COLORREF out;
    };
    const Row rows[] = {
        {"factor 1 gives white", RGB(68, 88, 249), 1.0, kWhite},
        {"factor 0 unchanged", RGB(68, 88, 249), 0.0, RGB(68, 88, 249)},
        {"factor 1.5 unchanged", RGB(68, 88, 249), 1.5, RGB(68, 88, 249)},
        {"black halfway, truncated", RGB(0, 0, 0), 0.5, RGB(127, 127, 127)},
        {"top byte dropped", 0x01000000 | RGB(10, 20, 30), 0.5, RGB(132, 137, 142)},
    };
    TestMenu menu;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.out, menu.LightenColor(r.in, r.factor));
    }
}

// The tick of DrawCheck at (x, y): column k covers rows top[k] .. top[k] + len - 1.
void ExpectTick(const kt::Surface& s, int x, int y, COLORREF ink, COLORREF paper, int len) {
    static const int top[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int k = 0; k < 7; ++k) {
        for (int row = -1; row <= 7; ++row) {
            const bool inked = row >= top[k] && row < top[k] + len;
            EXPECT_EQ(inked ? ink : paper, s.at(x + k, y + row)) << "column " << k << " row " << row;
        }
    }
    for (int row = -1; row <= 7; ++row) {
        EXPECT_EQ(paper, s.at(x - 1, y + row));
        EXPECT_EQ(paper, s.at(x + 7, y + row));
    }
}

TEST(DrawCheck, SevenStrokes) {
    struct Row {
        const char* name;
        int shortStrokes;
        int len;
    };
    const Row rows[] = {{"long strokes", 0, 3}, {"short strokes", 1, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(20, 20, kWhite);
        CDC* dc = CDC::FromHandle(s.dc());
        const int gdi_before = rt::GdiObjectTotal();
        TestMenu menu;
        menu.DrawCheck(dc, 5, 6, RGB(200, 0, 0), r.shortStrokes);
        EXPECT_EQ(gdi_before, rt::GdiObjectTotal());  // the pen is deleted
        ExpectTick(s, 5, 6, RGB(200, 0, 0), kWhite, r.len);
    }
}

TEST(DrawCheckmark, TenByTenSquare) {
    struct Row {
        const char* name;
        int selected;
        COLORREF fill;
    };
    const Row rows[] = {
        {"selected", 1, RGB(170, 179, 252)},
        {"not selected", 0, RGB(226, 229, 254)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(30, 30, kWhite);
        CDC* dc = CDC::FromHandle(s.dc());
        TestMenu menu;
        COLORREF frame = RGB(68, 88, 249);
        const CRect rc(10, 10, 20, 20);
        EXPECT_EQ(1, menu.DrawCheckmark(dc, rc, frame, r.selected));
        const COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
        // Frame on every edge pixel, the lightened fill inside, the tick from (12, 12).
        for (int i = 10; i < 20; ++i) {
            EXPECT_EQ(frame, s.at(i, 10));
            EXPECT_EQ(frame, s.at(i, 19));
            EXPECT_EQ(frame, s.at(10, i));
            EXPECT_EQ(frame, s.at(19, i));
        }
        EXPECT_EQ(kWhite, s.at(9, 9));
        EXPECT_EQ(kWhite, s.at(20, 20));
        EXPECT_EQ(r.fill, s.at(11, 11));
        EXPECT_EQ(r.fill, s.at(18, 18));
        EXPECT_EQ(ink, s.at(12, 14));  // first column, rows 2 and 3 of the tick
        EXPECT_EQ(ink, s.at(12, 15));
        EXPECT_EQ(r.fill, s.at(12, 16));
        EXPECT_EQ(ink, s.at(18, 12));  // last column, rows 0 and 1
        EXPECT_EQ(ink, s.at(18, 13));
        EXPECT_EQ(frame, s.at(19, 12));
    }
    // 4 x 4: both offsets are max(2 - 3, 0) = 0, so the tick starts at the corner.
    kt::Surface s(20, 20, kWhite);
    COLORREF black = RGB(0, 0, 0);
    TestMenu().DrawCheckmark(CDC::FromHandle(s.dc()), CRect(2, 2, 6, 6), black, 0);
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), s.at(2, 4));  // column 0, row 2
}

TEST(DrawMenuItemImage, CheckedDisabledAndImages) {
    struct Row {
        const char* name;
        int checked;
        int disabled;
        int hasImage;
        int advance;  // of rc.left
    };
    const Row rows[] = {
        {"checked", 1, 0, 0, 16 + 6},
        {"checked and disabled: a grey root sign", 1, 1, 0, 16 + 6},
        {"image: rc.left stays", 0, 0, 1, 0},
        {"nothing", 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(60, 30, kWhite);
        CDC* dc = CDC::FromHandle(s.dc());
        ::SetBkMode(s.dc(), TRANSPARENT);
        TestMenu menu;
        menu.m_ImageList.Create(16, 15, ILC_COLOR32, 1, 1);
        CBitmap image;
        image.Attach(kt::Surface(16, 15, RGB(0, 128, 0)).Detach());
        menu.m_ImageList.Add(&image, RGB(255, 0, 255));
        tagMENUITEM item;
        item.nImageIndex = 0;
        item.pImageList = &menu.m_ImageList;
        CRect rc(4, 2, 60, 24);
        menu.DrawMenuItemImage(dc, rc, 0, r.checked, r.disabled, r.hasImage, &item);
        EXPECT_EQ(4 + r.advance, rc.left);
        if (r.checked && !r.disabled) {
            EXPECT_EQ(menu.LightenColor(::GetSysColor(COLOR_HIGHLIGHT), 0.55),
                      s.at(5, 3));  // checked stands for selected
        }
        if (r.checked && r.disabled) {
            EXPECT_NE(menu.LightenColor(::GetSysColor(COLOR_HIGHLIGHT), 0.55), s.at(5, 3));
        }
        if (r.hasImage) {
            EXPECT_EQ(RGB(0, 128, 0), s.at(6, 4));  // at (left + 2, top + 2)
            EXPECT_EQ(kWhite, s.at(5, 4));
        }
        if (!r.checked && !r.hasImage) {
            EXPECT_EQ(kWhite, s.at(6, 4));
        }
        image.DeleteObject();
    }
}

TEST(DrawImageLeft, DrawsOnlyWithAStripAndASlot) {
    TestMenu menu;
    kt::Surface s(40, 20, kWhite);
    CDC* dc = CDC::FromHandle(s.dc());
    tagMENUITEM item;  // nLeftImagePos -1
    CRect rc(3, 1, 40, 11);
    menu.DrawImageLeft(dc, rc, &item);
    EXPECT_EQ(CRect(3, 1, 40, 11), rc);  // no strip
    menu.m_bmpLeft.Attach(kt::Surface(5, 30, RGB(9, 9, 200)).Detach());
    menu.m_bHasLeftImage = TRUE;
    menu.m_nLeftImageWidth = 5;
    menu.DrawImageLeft(dc, rc, &item);
    EXPECT_EQ(CRect(3, 1, 40, 11), rc);  // the item has no slot
    EXPECT_EQ(kWhite, s.at(3, 1));
    item.nLeftImagePos = 0;
    menu.DrawImageLeft(dc, rc, &item);
    EXPECT_EQ(3 + 5 + 1, rc.left);
    EXPECT_EQ(RGB(9, 9, 200), s.at(3, 1));
    EXPECT_EQ(RGB(9, 9, 200), s.at(7, 10));
    EXPECT_EQ(kWhite, s.at(8, 1));
    EXPECT_EQ(kWhite, s.at(3, 11));  // rc's height only
}

TEST(GrayStringW, EngravedText) {
    kt::Surface s(60, 20, RGB(0, 0, 0));
    CDC* dc = CDC::FromHandle(s.dc());
    ::SetBkMode(s.dc(), TRANSPARENT);
    TestMenu menu;
    menu.GrayStringW(dc, CString(L"\u2588\u2588"), CRect(2, 0, 60, 20));
    int grey = 0, white = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            if (s.at(x, y) == RGB(127, 127, 127)) ++grey;
            if (GetRValue(s.at(x, y)) > 127) ++white;  // lighter than the grey: the white copy
        }
    EXPECT_GT(grey, 10);
    EXPECT_GT(white, 0);  // the white copy shows past the grey one's right edge
    EXPECT_EQ(RGB(127, 127, 127), ::GetTextColor(s.dc()));
}

// The text takes the DC's colour, white on the dark background; the back picture is drawn
// only when asked.
TEST(TextMenu, TextColourAndBackPicture) {
    CBitmap bmp;
    bmp.Attach(kt::PaintedBitmap(4, 20, [](int, int) { return RGB(9, 9, 200); }));
    struct Row {
        const char* name;
        MENUBK_MODE mode;
        int bDrawBack;
        const wchar_t* text;
        COLORREF ink;   // the DC's text colour afterwards, found left in the item
        COLORREF back;  // at (70, 10), past the text
    };
    const Row rows[] = {
        {"light: the DC's colour", MENUBK_LIGHT, 0, L"\u2588", RGB(10, 200, 10), RGB(0, 0, 0)},
        {"dark", MENUBK_DARK, 0, L"\u2588", kWhite, RGB(0, 0, 0)},
        {"back picture asked for", MENUBK_LIGHT, 1, L"", RGB(10, 200, 10), RGB(9, 9, 200)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(80, 20, RGB(0, 0, 0));
        ::SetBkMode(s.dc(), TRANSPARENT);
        ::SetTextColor(s.dc(), RGB(10, 200, 10));
        TestMenu menu(OPEN_DOWNWARD, r.mode);
        menu.m_pBackBmp = &bmp;
        tagMENUITEM item;
        item.strText = r.text;
        menu.TextMenu(CDC::FromHandle(s.dc()), CRect(0, 0, 80, 20), CRect(2, 0, 80, 20), r.bDrawBack, 0, &item);
        menu.m_pBackBmp = nullptr;
        EXPECT_EQ(r.ink, ::GetTextColor(s.dc()));
        EXPECT_EQ(r.back, s.at(70, 10));
        bool found = false;
        for (int x = 0; x < 20 && !found; ++x) found = s.at(x, 10) == r.ink;
        EXPECT_EQ(*r.text != 0, found);
    }
    bmp.DeleteObject();
}

// Without a picture nothing is drawn; with one, each pixel of the band shows the picture's
// first column (a copy placed at every x), as high as the picture, clipped to rc.
TEST(DrawBackPic, FirstColumnFillsTheBand) {
    // A 3 x 4 picture: column 0 red, 1 green, 2 blue.
    static const COLORREF columns[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    CBitmap bmp;
    bmp.Attach(kt::PaintedBitmap(3, 4, [](int x, int) { return columns[x]; }));
    for (CBitmap* picture : {static_cast<CBitmap*>(nullptr), &bmp}) {
        SCOPED_TRACE(picture ? "picture" : "none");
        kt::Surface s(12, 8, RGB(5, 6, 7));
        TestMenu menu;  // no skin in the environment: no picture of its own
        ASSERT_EQ(nullptr, menu.m_pBackBmp);
        menu.m_pBackBmp = picture;
        CRect rc(0, 1, 10, 7);  // 6 high: rows 5 and 6 black under a 4-high picture
        const int gdi_before = rt::GdiObjectTotal();
        menu.DrawBackPic(CDC::FromHandle(s.dc()), rc);
        menu.m_pBackBmp = nullptr;
        EXPECT_EQ(gdi_before, rt::GdiObjectTotal());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool inside = picture && x < 10 && y >= 1 && y < 7;
                const COLORREF want = !inside ? RGB(5, 6, 7) : y < 5 ? RGB(255, 0, 0) : RGB(0, 0, 0);
                ASSERT_EQ(want, s.at(x, y)) << x << ", " << y;
            }
    }
    bmp.DeleteObject();
}

}  // namespace
