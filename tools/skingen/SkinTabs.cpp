// The quote tab strip: its colours and fonts, the "tab_control" bitmaps (tab parts,
// menu arrows, strip backgrounds) and the palette pictures of image text buttons.
//
// The strip is a dark bar with a hairline under it; cells are flat panels framed in the
// theme's frame colour, the selected one in the accent with dark text, so that the
// active market reads at a glance.
#include "SkinWriter.h"

namespace skingen {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);  // transparent in arrows and strip bitmaps
constexpr int kTabHeight = 22;               // tab parts; the strip is 2 pixels taller
constexpr int kStripHeight = 24;
constexpr int kPartWidth = 10;  // left and right parts: the text's padding

// A tab part: a panel with a top highlight, its outer top corner cut round.
void TabPart(const Theme& t, Canvas& c, bool hot, bool leftSide) {
    const COLORREF face = hot ? t.panelHot : t.panel;
    c.VGradient(0, 0, c.Width(), c.Height(), Mix(face, t.textHot, hot ? 10 : 6), face);
    c.Fill(0, 0, c.Width(), 1, hot ? t.frameHot : t.frame);
    if (c.Width() > 1) {
        const int edge = leftSide ? 0 : c.Width() - 1;
        c.Fill(edge, 0, 1, c.Height(), hot ? t.frameHot : t.frame);
        c.Pixel(edge, 0, kKey);
    }
}

// The strip: a soft vertical gradient with a one-pixel line on its bottom edge.
void Strip(Canvas& c, COLORREF top, COLORREF bottom, COLORREF line) {
    c.VGradient(0, 0, c.Width(), c.Height() - 1, top, bottom);
    c.Fill(0, c.Height() - 1, c.Width(), 1, line);
}

// A 7 x 4 drop-down triangle on the key colour.
void DropArrow(Canvas& c, COLORREF glyph) {
    for (int y = 0; y < c.Height(); ++y) c.Fill(y, y, c.Width() - 2 * y, 1, glyph);
}

// A 14 x 12 "layout" icon for image text buttons: a framed grid on black, which the
// strip draws transparent.
void GridIcon(Canvas& c, COLORREF ink) {
    c.Frame(1, 1, 12, 10, ink);
    c.Fill(1, 4, 12, 1, ink);
    c.Fill(6, 4, 1, 7, ink);
}

}  // namespace

void DrawTabsSkin(const Theme& t, SkinWriter& out) {
    out.Color("CElementTabControl.ColorKey", kKey);
    out.Color("CElementTabControl.BackGround", t.window);
    out.Color("CElementTabControl.Border", t.frame);
    out.Color("CElementTabControl.FillNormal", t.panel);
    out.Color("CElementTabControl.HoverBackground", t.panelHot);
    out.Color("CElementTabControl.FillHotlight", t.accent);
    out.Color("CElementTabControl.HoverForeground", t.textHot);
    out.Color("CElementTabControl.Text", t.textDim);
    out.Color("CElementTabControl.SelText", t.accentText);
    out.Color("QuoteTab.BtnText", t.textDim);
    out.Color("QuoteTab.BtnHot", t.accent);

    out.Font("QuoteTab.Button", t.fontFace + ", -12, 400");
    out.Font("QuoteTab.ButtonBold", t.fontFace + ", -12, 700");
    out.Font("QuoteTab.ButtonLine", t.fontFace + ", -12, 400, 0, 1");

    for (bool hot : {false, true}) {
        const std::string suffix = hot ? "_hot.bmp" : ".bmp";
        {
            Canvas c(kPartWidth, kTabHeight, t.panel);
            TabPart(t, c, hot, true);
            out.FolderBitmap("tab_control/lefttab" + suffix, c);
        }
        {
            Canvas c(1, kTabHeight, t.panel);
            TabPart(t, c, hot, true);
            out.FolderBitmap("tab_control/middletab" + suffix, c);
        }
        {
            Canvas c(kPartWidth, kTabHeight, t.panel);
            TabPart(t, c, hot, false);
            out.FolderBitmap("tab_control/righttab" + suffix, c);
        }
    }
    {
        Canvas c(7, 4, kKey);
        DropArrow(c, t.arrow);
        out.FolderBitmap("tab_control/arrow.bmp", c);
    }
    {
        Canvas c(7, 4, kKey);
        DropArrow(c, t.accentText);  // on the selected tab's accent fill
        out.FolderBitmap("tab_control/arrow2.bmp", c);
    }
    {
        Canvas c(8, kStripHeight, t.window);
        Strip(c, Mix(t.window, t.panel, 60), t.window, t.accent);
        out.FolderBitmap("tab_control/Tab_Bk4.bmp", c);
    }
    {
        Canvas c(8, kStripHeight, t.disabled);
        Strip(c, Mix(t.disabled, t.panel, 50), t.disabled, t.frame);
        out.FolderBitmap("tab_control/Tab_Bk1.bmp", c);
    }
    {
        Canvas c(8, kStripHeight + 4, t.disabled);
        Strip(c, t.disabled, Mix(t.disabled, t.window, 50), t.frameHot);
        out.FolderBitmap("tab_control/Tab_Bk2.bmp", c);
    }
    {
        Canvas c(14, 12, RGB(0, 0, 0));
        GridIcon(c, t.textDim);
        out.PaletteBitmap("QuoteTab.BtnImage", "tab_control/btn_layout.bmp", c);
    }
    {
        Canvas c(14, 12, RGB(0, 0, 0));
        GridIcon(c, t.accent);
        out.PaletteBitmap("QuoteTab.BtnImageHot", "tab_control/btn_layout_hot.bmp", c);
    }
}

}  // namespace skingen
