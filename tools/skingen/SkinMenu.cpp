// The popup menus: the background picture "menu" / "menu_pic.bmp" that CMenuEx tiles
// behind an owner-drawn item (DrawBackPic). The menus read nothing else from the skin.
//
// DrawBackPic copies the whole picture once per pixel of the band, each copy one pixel
// right of the one before: the picture's first column fills the band and the picture
// itself shows at the band's right end. So the first column is the band's face (a soft
// vertical gradient of the accent over the panel) and the picture fades to the panel
// towards its right edge.
#include "SkinWriter.h"

namespace skingen {
namespace {

constexpr int kPicWidth = 24;
constexpr int kPicHeight = 20;  // an item's height in the menus' usual font

void MenuPicture(const Theme& t, Canvas& c) {
    const COLORREF top = Mix(t.panel, t.accent, 45);
    const COLORREF bottom = Mix(t.panel, t.accent, 30);
    for (int x = 0; x < c.Width(); ++x) {
        const int fade = x * 100 / (c.Width() - 1);  // 0 at the face column, 100 at the right edge
        c.VGradient(x, 0, 1, c.Height(), Mix(top, t.panel, fade), Mix(bottom, t.panel, fade));
    }
    c.Fill(0, c.Height() - 1, c.Width(), 1, Mix(t.frame, t.accent, 25));  // a hairline under the item
}

}  // namespace

void DrawMenuSkin(const Theme& theme, SkinWriter& out) {
    Canvas pic(kPicWidth, kPicHeight, theme.panel);
    MenuPicture(theme, pic);
    out.FolderBitmap("menu/menu_pic.bmp", pic);
}

}  // namespace skingen
