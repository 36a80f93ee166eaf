// CLightCanvas restore rules and ownership, CMemDC in memory and printing mode.
#include <gtest/gtest.h>

#include "frame/LightCanvas.h"
#include "frame/MemDC.h"
#include "pixels.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

CFont* NewFont(int height) {
    auto* f = new CFont;
    f->CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
    return f;
}

TEST(LightCanvas, RestoresTheFirstSavedValuesOnce) {
    kt::Surface s(8, 8);
    CDC* dc = CDC::FromHandle(s.dc());
    dc->SetTextColor(RGB(1, 2, 3));
    {
        CLightCanvas canvas(dc);
        canvas.SetTextColor(kRed);
        canvas.SetTextColor(kBlue);
        canvas.SetBkMode(TRANSPARENT);
        EXPECT_EQ(kBlue, dc->GetTextColor());
        canvas.RestoreState();
        EXPECT_EQ(RGB(1, 2, 3), dc->GetTextColor());
        EXPECT_EQ(OPAQUE, dc->GetBkMode());
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(kRed);
    }
    EXPECT_EQ(TRANSPARENT, dc->GetBkMode()) << "a second restore must not reapply old values";
    EXPECT_EQ(kRed, dc->GetTextColor());
}

TEST(LightCanvas, SecondFontDeletesFirstAndDestructionRestoresTheOriginal) {
    kt::Surface s(8, 8);
    CDC* dc = CDC::FromHandle(s.dc());
    HGDIOBJ original = ::GetCurrentObject(s.dc(), OBJ_FONT);
    const int fontsBefore = rt::GdiObjectCount(OBJ_FONT);
    {
        CLightCanvas canvas(dc);
        canvas.SelectFont(NewFont(-12));
        EXPECT_EQ(fontsBefore + 1, rt::GdiObjectCount(OBJ_FONT));
        canvas.SelectFont(NewFont(-14));
        EXPECT_EQ(fontsBefore + 1, rt::GdiObjectCount(OBJ_FONT)) << "the first canvas font must be deleted";
    }
    EXPECT_EQ(original, ::GetCurrentObject(s.dc(), OBJ_FONT));
    EXPECT_EQ(fontsBefore, rt::GdiObjectCount(OBJ_FONT));
}

TEST(LightCanvas, WithoutTargetEverythingFailsAndHandedFontsAreFreed) {
    const int fontsBefore = rt::GdiObjectCount(OBJ_FONT);
    CLightCanvas canvas(nullptr);
    CBitmap bmp;
    bmp.Attach(::CreateBitmap(2, 2, 1, 32, nullptr));
    RECT rc{0, 0, 2, 2};
    EXPECT_FALSE(canvas.EnsureMemDC());
    EXPECT_FALSE(canvas.StretchBitmap(0, 0, 2, 2, &bmp, CLR_INVALID));
    EXPECT_FALSE(canvas.FillRectBorder(&rc, kRed, kRed));
    EXPECT_FALSE(canvas.SetTextColor(kRed));
    EXPECT_FALSE(canvas.SelectFont(NewFont(-12)));
    EXPECT_EQ(fontsBefore, rt::GdiObjectCount(OBJ_FONT));
    EXPECT_TRUE(canvas.RestoreState());
}

TEST(LightCanvas, FillRectBorderDrawsWhatItIsGivenAndKeepsTheBackgroundColour) {
    struct Row {
        const char* name;
        COLORREF border, fill, expectCorner, expectInside;
    } rows[] = {
        // A fill, and a fill inside a frame: the tab strip's goldens.
        {"nothing", CLR_INVALID, CLR_INVALID, kWhite, kWhite},
        {"border only", kRed, CLR_INVALID, kRed, kWhite},
    };
    for (const Row& row : rows) {
        kt::Surface s(8, 8, kWhite);
        CDC* dc = CDC::FromHandle(s.dc());
        dc->SetBkColor(RGB(9, 9, 9));
        CLightCanvas canvas(dc);
        RECT rc{1, 1, 7, 7};
        EXPECT_TRUE(canvas.FillRectBorder(&rc, row.border, row.fill)) << row.name;
        const COLORREF c = row.expectCorner, i = row.expectInside, w = kWhite;
        EXPECT_EQ((std::vector<COLORREF>{w, c, i, c, w}),
                  (std::vector<COLORREF>{s.at(0, 0), s.at(1, 1), s.at(3, 3), s.at(6, 6), s.at(7, 7)}))
            << row.name;
        EXPECT_EQ(RGB(9, 9, 9), dc->GetBkColor()) << row.name;
    }
}

// A part blit ignores its raster-operation argument.
TEST(LightCanvas, ColourKeyMakesThatColourTransparentAndOneMemoryDCServesAllBlits) {
    kt::Surface src(2, 1, kRed);
    ::SetPixel(src.dc(), 1, 0, kBlue);
    CBitmap* bmp = CBitmap::FromHandle(src.bitmap());
    // The bitmap must not sit in another DC while the canvas selects it.
    ::SelectObject(src.dc(), ::CreateBitmap(1, 1, 1, 1, nullptr));
    kt::Surface dst(4, 3, kWhite);
    const int dcsBefore = rt::GdiObjectCount(OBJ_MEMDC);
    {
        CLightCanvas canvas(CDC::FromHandle(dst.dc()));
        EXPECT_TRUE(canvas.StretchBitmap(0, 0, 2, 1, bmp, CLR_INVALID));
        EXPECT_TRUE(canvas.StretchBitmap(0, 1, 4, 1, bmp, kBlue));
        EXPECT_TRUE(canvas.StretchBitmapPart(0, 2, 2, 1, bmp, 1, 0, 1, 1, BLACKNESS));
        EXPECT_EQ(dcsBefore + 1, rt::GdiObjectCount(OBJ_MEMDC));
    }
    EXPECT_EQ(dcsBefore, rt::GdiObjectCount(OBJ_MEMDC));
    const std::vector<COLORREF> expected{kRed, kBlue, kRed, kWhite, kBlue, kBlue};
    EXPECT_EQ(expected, (std::vector<COLORREF>{dst.at(0, 0), dst.at(1, 0), dst.at(1, 1), dst.at(2, 1), dst.at(0, 2),
                                               dst.at(1, 2)}))
        << "key colour pixels leave the destination as it was";
    ::DeleteObject(::SelectObject(src.dc(), src.bitmap()));
}

TEST(MemDC, MemoryModeReachesTheTargetOnlyAtDestruction) {
    kt::Surface target(40, 40, kWhite);
    CDC* dc = CDC::FromHandle(target.dc());
    const int before = rt::GdiObjectTotal();
    {
        RECT rc{10, 10, 30, 30};
        CMemDC mem(dc, &rc);
        mem.FillSolidRect(10, 10, 20, 20, kBlue);  // the target's coordinates
        EXPECT_EQ(kWhite, target.at(15, 15)) << "nothing reaches the target before destruction";
    }
    EXPECT_EQ(before, rt::GdiObjectTotal());
    EXPECT_EQ(kBlue, target.at(10, 10));
    EXPECT_EQ(kBlue, target.at(29, 29));
    EXPECT_EQ(kWhite, target.at(9, 9));
    EXPECT_EQ(kWhite, target.at(30, 30));
}

TEST(MemDC, PrintingModeDrawsStraightOnAndKeepsThePrintersHandles) {
    kt::Surface target(20, 20, kWhite);
    CDC printer;
    printer.Attach(target.dc());
    printer.m_bPrinting = TRUE;
    {
        RECT rc{0, 0, 10, 10};
        CMemDC mem(&printer, &rc);
        EXPECT_EQ(target.dc(), mem.m_hDC);
        mem.FillSolidRect(0, 0, 5, 5, kRed);
        EXPECT_EQ(kRed, target.at(2, 2)) << "printing goes straight to the printer";
    }
    EXPECT_EQ(OBJ_MEMDC, ::GetObjectType(target.dc())) << "the printer's DC must survive";
    printer.Detach();
}

}  // namespace
