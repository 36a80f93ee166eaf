// Scrollbar bitmaps (palette keys "scroll_bar.*"): six vertical sets and five
// horizontal ones. Layouts the scrollbars rely on:
//   - three-frame arrows: normal, hot and pressed side by side, each one arrow wide;
//   - three-frame thumb head, body and grip: frames one arrow frame apart (side by side
//     for the vertical pieces and the horizontal grip, stacked for the horizontal head
//     and body), each frame as thick as the bar so that the pieces cover it;
//   - the body is copied once per pixel along the thumb, so its last rows are the
//     thumb's closing edge; its first `overlap` rows replace the head's last ones;
//   - one-frame sets hold a single picture per piece, stretched; their body must look
//     right at any length, so it is the same at every row;
//   - tracks have one frame and are stretched along the bar.
// The look: flat, a dark track, 1-pixel frames, a brighter frame when hot and the
// accent colour when pressed.
#include <algorithm>

#include "SkinWriter.h"

namespace skingen {
namespace {

// ---- drawing along an axis ---------------------------------------------------------------
// One frame of a piece, addressed along the bar (`along`) and across it (`cross`).
struct Frame {
    Canvas& canvas;
    int x, y;       // the frame's top-left corner in the bitmap
    bool vertical;  // along = y for the vertical bar, x for the horizontal one

    void Put(int along, int cross, COLORREF c) {
        if (vertical)
            canvas.Pixel(x + cross, y + along, c);
        else
            canvas.Pixel(x + along, y + cross, c);
    }
    void Span(int along, int cross0, int cross1, COLORREF c) {  // cross0..cross1 inclusive
        for (int cr = cross0; cr <= cross1; ++cr) Put(along, cr, c);
    }
};

struct StateColors {
    COLORREF fill, frame, glyph, shine;
};

StateColors ArrowColors(const Theme& t, int state) {
    switch (state) {
        case 1:
            return {t.panelHot, t.frameHot, t.textHot, Mix(t.panelHot, t.textHot, 10)};
        case 2:
            return {t.panelDown, t.accent, t.accent, t.panelDown};
        default:
            return {t.panel, t.frame, t.arrow, Mix(t.panel, t.textHot, 6)};
    }
}

StateColors ThumbColors(const Theme& t, int state) {
    switch (state) {
        case 1:
            return {t.thumbHot, t.frameHot, Mix(t.thumbHot, t.textHot, 45), Mix(t.thumbHot, t.textHot, 14)};
        case 2:
            return {Mix(t.thumbHot, t.accent, 16), t.accent, Mix(t.thumbHot, t.textHot, 70),
                    Mix(t.thumbHot, t.accent, 35)};
        default:
            return {t.thumb, Mix(t.thumb, t.frameHot, 45), Mix(t.thumb, t.textHot, 35), Mix(t.thumb, t.textHot, 9)};
    }
}

// What a thumb looks like across the bar: a one-pixel gap of track on each side when
// `gap`, then the frame, then the fill.
struct Cross {
    int thickness;
    bool gap;
    int First() const { return gap ? 1 : 0; }
    int Last() const { return thickness - 1 - (gap ? 1 : 0); }
};

void CrossRow(Frame& f, int along, const Cross& cross, const Theme& t, const StateColors& c) {
    for (int cr = 0; cr < cross.thickness; ++cr) {
        COLORREF col = c.fill;
        if (cr < cross.First() || cr > cross.Last())
            col = t.track;
        else if (cr == cross.First() || cr == cross.Last())
            col = c.frame;
        f.Put(along, cr, col);
    }
}

// The closed end of a thumb: the frame line with its corners cut.
void CapRow(Frame& f, int along, const Cross& cross, const Theme& t, const StateColors& c) {
    f.Span(along, 0, cross.thickness - 1, t.track);
    f.Span(along, cross.First() + 1, cross.Last() - 1, c.frame);
}

// Head: the rounded start, a shine line, then plain thumb rows.
void DrawHead(Frame f, int length, const Cross& cross, const Theme& t, const StateColors& c) {
    CapRow(f, 0, cross, t, c);
    for (int a = 1; a < length; ++a) CrossRow(f, a, cross, t, c);
    f.Span(1, cross.First() + 1, cross.Last() - 1, c.shine);
}

// Body: plain rows, then a shade row when there is room, then the closing edge.
void DrawBody(Frame f, int length, const Cross& cross, const Theme& t, const StateColors& c) {
    for (int a = 0; a < length - 1; ++a) CrossRow(f, a, cross, t, c);
    if (length >= 3) f.Span(length - 2, cross.First() + 1, cross.Last() - 1, Mix(c.fill, t.window, 25));
    CapRow(f, length - 1, cross, t, c);
}

// Grip: plain thumb rows with ridges every other row across the middle.
void DrawGrip(Frame f, int length, const Cross& cross, const Theme& t, const StateColors& c) {
    for (int a = 0; a < length; ++a) CrossRow(f, a, cross, t, c);
    const int inset = cross.First() + 2;
    for (int a = 1; a < length; a += 2) f.Span(a, inset, cross.thickness - 1 - inset, c.glyph);
}

// A one-frame thumb: flat, no frame, the head's corners rounded into the track.
void DrawFlatHead(Frame f, int length, int thickness, const Theme& t) {
    for (int a = 0; a < length; ++a) f.Span(a, 0, thickness - 1, t.thumb);
    f.Put(0, 0, t.track);
    f.Put(0, thickness - 1, t.track);
    f.Span(0, 1, thickness - 2, t.thumbHot);
}

void DrawFlatBody(Frame f, int length, int thickness, const Theme& t) {
    for (int a = 0; a < length; ++a) f.Span(a, 0, thickness - 1, t.thumb);
}

// An arrow frame: a flat face in a 1-pixel frame with a centred triangle whose rows
// are 2, 4, 6, ... pixels wide (every frame size is even).
void DrawArrow(Canvas& c, int x, int size, Canvas::Dir dir, const StateColors& s) {
    c.Fill(x, 0, size, size, s.fill);
    c.Frame(x, 0, size, size, s.frame);
    c.Fill(x + 1, 1, size - 2, 1, s.shine);
    const int rows = std::max(2, (size - 2) / 4 + 1), first = (size - rows) / 2;
    for (int i = 0; i < rows; ++i) {
        // i counts from the tip
        const bool tip_first = dir == Canvas::Dir::Up || dir == Canvas::Dir::Left;
        const int along = first + (tip_first ? i : rows - 1 - i), half = i + 1;
        if (dir == Canvas::Dir::Up || dir == Canvas::Dir::Down)
            c.Fill(x + size / 2 - half, along, 2 * half, 1, s.glyph);
        else
            c.Fill(x + along, size / 2 - half, 1, 2 * half, s.glyph);
    }
}

// A track: flat, with a faint line along the side that faces the content.
void DrawTrack(Frame f, int length, int thickness, const Theme& t) {
    for (int a = 0; a < length; ++a) {
        f.Span(a, 0, thickness - 1, t.track);
        f.Put(a, 0, Mix(t.track, t.frame, 55));
    }
}

// ---- the sets -----------------------------------------------------------------------------
struct SetStyle {
    const char* keys[6];   // up/left, down/right, span, head, body, grip (null: none)
    const char* files[6];  // under scroll_bar/
    bool threeFrames;
    int thickness;         // arrow frame size, which is also the bar's thickness
    int head, body, grip;  // lengths along the bar
    bool gap;              // three-frame thumbs: track shows beside the thumb
};

const SetStyle kVerticalSets[] = {
    {{"scroll_bar.UpArrow", "scroll_bar.DownArrow", "scroll_bar.VSPAN", "scroll_bar.VThumb1", "scroll_bar.VThumb2",
      "scroll_bar.bot"},
     {"up_arrow.bmp", "down_arrow.bmp", "vspan.bmp", "vthumb1.bmp", "vthumb2.bmp", "bot.bmp"},
     true,
     12,
     20,
     2,
     7,
     true},
    {{"scroll_bar.UpArrowTip", "scroll_bar.DownArrowTip", "scroll_bar.VSPANTip", "scroll_bar.VThumbTip1",
      "scroll_bar.VThumbTip2", nullptr},
     {"tip_up_arrow.bmp", "tip_down_arrow.bmp", "tip_vspan.bmp", "tip_vthumb1.bmp", "tip_vthumb2.bmp", nullptr},
     false,
     8,
     3,
     4,
     0,
     false},
    {{"scroll_bar.UpArrow_3", "scroll_bar.DownArrow_3", "scroll_bar.VSPAN_3", "scroll_bar.VThumb1_3",
      "scroll_bar.VThumb2_3", nullptr},
     {"up_arrow_3.bmp", "down_arrow_3.bmp", "vspan_3.bmp", "vthumb1_3.bmp", "vthumb2_3.bmp", nullptr},
     false,
     10,
     3,
     4,
     0,
     false},
    {{"scroll_bar.UpArrow_big", "scroll_bar.DownArrow_big", "scroll_bar.VSPAN_big", "scroll_bar.VThumb1_big",
      "scroll_bar.VThumb2_big", "scroll_bar.bot_big"},
     {"up_arrow_big.bmp", "down_arrow_big.bmp", "vspan_big.bmp", "vthumb1_big.bmp", "vthumb2_big.bmp", "bot_big.bmp"},
     true,
     16,
     24,
     3,
     9,
     true},
    {{"scroll_bar.W_UpArrow", "scroll_bar.W_DownArrow", "scroll_bar.W_VSPAN", "scroll_bar.W_VThumb1",
      "scroll_bar.W_VThumb2", "scroll_bar.W_bot"},
     {"w_up_arrow.bmp", "w_down_arrow.bmp", "w_vspan.bmp", "w_vthumb1.bmp", "w_vthumb2.bmp", "w_bot.bmp"},
     true,
     14,
     22,
     3,
     7,
     true},
    {{"scroll_bar.TList.UpArrow", "scroll_bar.TList.DownArrow", "scroll_bar.TList.VSPAN", "scroll_bar.TList.VThumb1",
      "scroll_bar.TList.VThumb2", "scroll_bar.TList.bot"},
     {"tlist_up_arrow.bmp", "tlist_down_arrow.bmp", "tlist_vspan.bmp", "tlist_vthumb1.bmp", "tlist_vthumb2.bmp",
      "tlist_bot.bmp"},
     true,
     10,
     16,
     2,
     5,
     false},
};

const SetStyle kHorizontalSets[] = {
    {{"scroll_bar.LeftArrow", "scroll_bar.RightArrow", "scroll_bar.HSPAN", "scroll_bar.HThumb1", "scroll_bar.HThumb2",
      "scroll_bar.HBot"},
     {"left_arrow.bmp", "right_arrow.bmp", "hspan.bmp", "hthumb1.bmp", "hthumb2.bmp", "hbot.bmp"},
     true,
     12,
     3,
     2,
     7,
     true},
    {{"scroll_bar.LeftArrow_2", "scroll_bar.RightArrow_2", "scroll_bar.HSPAN_2", "scroll_bar.HThumb1_2",
      "scroll_bar.HThumb2_2", nullptr},
     {"left_arrow_2.bmp", "right_arrow_2.bmp", "hspan_2.bmp", "hthumb1_2.bmp", "hthumb2_2.bmp", nullptr},
     false,
     8,
     2,
     4,
     0,
     false},
    {{"scroll_bar.LeftArrow_big", "scroll_bar.RightArrow_big", "scroll_bar.HSPAN_big", "scroll_bar.HThumb1_big",
      "scroll_bar.HThumb2_big", "scroll_bar.HBot_big"},
     {"left_arrow_big.bmp", "right_arrow_big.bmp", "hspan_big.bmp", "hthumb1_big.bmp", "hthumb2_big.bmp",
      "hbot_big.bmp"},
     true,
     16,
     4,
     3,
     9,
     true},
    {{"scroll_bar.W_LeftArrow", "scroll_bar.W_RightArrow", "scroll_bar.W_HSPAN", "scroll_bar.W_HThumb1",
      "scroll_bar.W_HThumb2", "scroll_bar.W_HBot"},
     {"w_left_arrow.bmp", "w_right_arrow.bmp", "w_hspan.bmp", "w_hthumb1.bmp", "w_hthumb2.bmp", "w_hbot.bmp"},
     true,
     14,
     4,
     3,
     7,
     true},
    {{"scroll_bar.TList.LeftArrow", "scroll_bar.TList.RightArrow", "scroll_bar.TList.HSPAN", "scroll_bar.TList.HThumb1",
      "scroll_bar.TList.HThumb2", "scroll_bar.TList.HBot"},
     {"tlist_left_arrow.bmp", "tlist_right_arrow.bmp", "tlist_hspan.bmp", "tlist_hthumb1.bmp", "tlist_hthumb2.bmp",
      "tlist_hbot.bmp"},
     true,
     10,
     3,
     2,
     5,
     false},
};

std::string File(const char* name) {
    return std::string("scroll_bar/") + name;
}

void DrawArrows(const Theme& t, SkinWriter& out, const SetStyle& set, Canvas::Dir first, Canvas::Dir second) {
    const int k = set.thickness, frames = set.threeFrames ? 3 : 1;
    for (int piece = 0; piece < 2; ++piece) {
        Canvas c(k * frames, k, t.panel);
        for (int s = 0; s < frames; ++s) DrawArrow(c, s * k, k, piece == 0 ? first : second, ArrowColors(t, s));
        out.PaletteBitmap(set.keys[piece], File(set.files[piece]), c);
    }
}

void DrawVerticalSet(const Theme& t, SkinWriter& out, const SetStyle& set) {
    const int k = set.thickness;
    DrawArrows(t, out, set, Canvas::Dir::Up, Canvas::Dir::Down);
    {
        Canvas c(k, 4, t.track);
        DrawTrack(Frame{c, 0, 0, true}, 4, k, t);
        out.PaletteBitmap(set.keys[2], File(set.files[2]), c);
    }
    if (!set.threeFrames) {  // one frame, thumb inset by one pixel on each side
        Canvas head(k - 2, set.head, t.thumb), body(k - 2, set.body, t.thumb);
        DrawFlatHead(Frame{head, 0, 0, true}, set.head, k - 2, t);
        DrawFlatBody(Frame{body, 0, 0, true}, set.body, k - 2, t);
        out.PaletteBitmap(set.keys[3], File(set.files[3]), head);
        out.PaletteBitmap(set.keys[4], File(set.files[4]), body);
        return;
    }
    const Cross cross{k, set.gap};
    Canvas head(3 * k, set.head, t.track), body(3 * k, set.body, t.track), grip(3 * k, set.grip, t.track);
    for (int s = 0; s < 3; ++s) {
        const StateColors colors = ThumbColors(t, s);
        DrawHead(Frame{head, s * k, 0, true}, set.head, cross, t, colors);
        DrawBody(Frame{body, s * k, 0, true}, set.body, cross, t, colors);
        DrawGrip(Frame{grip, s * k, 0, true}, set.grip, cross, t, colors);
    }
    out.PaletteBitmap(set.keys[3], File(set.files[3]), head);
    out.PaletteBitmap(set.keys[4], File(set.files[4]), body);
    out.PaletteBitmap(set.keys[5], File(set.files[5]), grip);
}

void DrawHorizontalSet(const Theme& t, SkinWriter& out, const SetStyle& set) {
    const int k = set.thickness;
    DrawArrows(t, out, set, Canvas::Dir::Left, Canvas::Dir::Right);
    {
        Canvas c(4, k, t.track);
        DrawTrack(Frame{c, 0, 0, false}, 4, k, t);
        out.PaletteBitmap(set.keys[2], File(set.files[2]), c);
    }
    if (!set.threeFrames) {
        Canvas head(set.head, k - 2, t.thumb), body(set.body, k - 2, t.thumb);
        DrawFlatHead(Frame{head, 0, 0, false}, set.head, k - 2, t);
        DrawFlatBody(Frame{body, 0, 0, false}, set.body, k - 2, t);
        out.PaletteBitmap(set.keys[3], File(set.files[3]), head);
        out.PaletteBitmap(set.keys[4], File(set.files[4]), body);
        return;
    }
    // Head and body frames are stacked; grip frames stand side by side.
    const Cross cross{k, set.gap};
    Canvas head(set.head, 3 * k, t.track), body(set.body, 3 * k, t.track), grip(3 * k, k, t.track);
    for (int s = 0; s < 3; ++s) {
        const StateColors colors = ThumbColors(t, s);
        DrawHead(Frame{head, 0, s * k, false}, set.head, cross, t, colors);
        DrawBody(Frame{body, 0, s * k, false}, set.body, cross, t, colors);
        // A grip frame is one thickness long so that its frames sit one arrow frame apart.
        Frame f{grip, s * k, 0, false};
        for (int a = 0; a < k; ++a) CrossRow(f, a, cross, t, colors);
        const int first = (k - set.grip) / 2;
        for (int a = first; a < first + set.grip; a += 2)
            f.Span(a, cross.First() + 2, k - 1 - cross.First() - 2, colors.glyph);
    }
    out.PaletteBitmap(set.keys[3], File(set.files[3]), head);
    out.PaletteBitmap(set.keys[4], File(set.files[4]), body);
    out.PaletteBitmap(set.keys[5], File(set.files[5]), grip);
}

}  // namespace

void DrawScrollbarSkin(const Theme& t, SkinWriter& out) {
    for (const SetStyle& set : kVerticalSets) DrawVerticalSet(t, out, set);
    for (const SetStyle& set : kHorizontalSets) DrawHorizontalSet(t, out, set);
}

}  // namespace skingen
