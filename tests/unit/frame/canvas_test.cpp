// CLightCanvas restore rules and ownership, CMemDC in printing mode.
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
