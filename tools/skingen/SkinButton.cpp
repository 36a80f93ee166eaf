// Push button images (folder "button") and the caption font and colours.
#include "SkinWriter.h"

namespace skingen {
namespace {

// A 96 x 24 button face: a soft vertical gradient inside a 1-pixel frame, with the
// frame's corners cut so that the button reads as rounded.
void Face(Canvas& c, COLORREF top, COLORREF bottom, COLORREF frame, COLORREF highlight) {
    c.VGradient(1, 1, c.Width() - 2, c.Height() - 2, top, bottom);
    c.Frame(0, 0, c.Width(), c.Height(), frame);
    c.Fill(1, 1, c.Width() - 2, 1, highlight);
    for (int x : {0, c.Width() - 1})
        for (int y : {0, c.Height() - 1}) c.Pixel(x, y, Mix(frame, bottom, 60));
}

}  // namespace

void DrawButtonSkin(const Theme& t, SkinWriter& out) {
    const int w = 96, h = 24;
    {
        Canvas c(w, h, t.panel);
        Face(c, Mix(t.panel, t.textHot, 6), t.panel, t.frame, Mix(t.panel, t.textHot, 12));
        out.FolderBitmap("button/normal.bmp", c);
    }
    {
        Canvas c(w, h, t.panelHot);
        Face(c, Mix(t.panelHot, t.textHot, 8), t.panelHot, t.frameHot, Mix(t.panelHot, t.textHot, 16));
        out.FolderBitmap("button/hot.bmp", c);
    }
    {
        Canvas c(w, h, t.panelDown);
        Face(c, t.panelDown, Mix(t.panelDown, t.panel, 50), t.accent, t.panelDown);
        out.FolderBitmap("button/down.bmp", c);
    }
    {
        Canvas c(w, h, t.disabled);
        Face(c, t.disabled, t.disabled, Mix(t.frame, t.disabled, 50), t.disabled);
        out.FolderBitmap("button/disable.bmp", c);
    }
    out.Font("QuoteTab.Button", t.fontFace + ", -12, 400");
    out.Color("Button.Text", t.text);
    out.Color("Button.TextHot", t.textHot);
}

}  // namespace skingen
