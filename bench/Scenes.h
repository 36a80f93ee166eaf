// The pictures the benchmarks paint, built twice: once with the elements (painted through
// their OnPaint on a host window's paint DC, the way the host paints them) and once as a
// cairo program would draw the same picture (same font file, same skin bitmaps, nearest
// scaling) into an image surface of the same size.
//
// Index
//   1. Skin and font files
//   2. Element scenes (ours)
//   3. Scene builders: tab strip, vertical scrollbar, button
//   4. The same pictures with cairo
#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"

class CElementTabControl;
class CVerticalScrollbar;
class CElementButton;

namespace bench {

// ---- 1. Skin and font files ------------------------------------------------------------------
std::string SkinDir();                          // the default skin of the source tree
std::string SkinFile(const std::string& name);  // "tab_control/arrow.bmp" -> its path
// The file fontconfig picks for a family, as the runtime resolves it ("" when none).
std::string FontFileFor(const std::string& family);
constexpr const char* kFontFamily = "DejaVu Sans";
constexpr int kFontPixels = 12;  // the skin's fonts: lfHeight -12

// ---- 2. Element scenes --------------------------------------------------------------------------
// One host window of the scene's size, on a screen of that size, holding one element at
// (0, 0). Paint() is one host paint of that element: background erase and OnPaint on a
// paint DC opened over the whole client area (kept open between paints, so that a paint
// costs what the element does, not what BeginPaint does).
class ElementScene {
public:
    explicit ElementScene(SIZE size);
    ~ElementScene();
    ElementScene(const ElementScene&) = delete;
    ElementScene& operator=(const ElementScene&) = delete;

    CHeadlessHost& Host() { return *m_host; }
    SIZE Size() const { return m_size; }
    void Place(CElementContainer* pElement, const wchar_t* name);
    CElementContainer* Element() const { return m_pElement; }

    void OpenPaint();   // validates the window and opens the paint DC
    void Paint();       // one paint of the element (OpenPaint first)
    void ClosePaint();  // EndPaint
    // The element's pixels on the host surface (caller deletes).
    HBITMAP Picture();

private:
    SIZE m_size;
    std::unique_ptr<CHeadlessHost> m_host;
    CElementContainer* m_pElement = nullptr;  // the host window holds the reference
    std::unique_ptr<CPaintDC> m_dc;
};

// ---- 3. Scene builders -------------------------------------------------------------------------
struct TabStripSpec {
    SIZE size{1280, 24};
    int tabs = 20;
    int menuTabs = 4;         // the first tabs of every fifth get a drop-down menu
    int hiddenEvery = 0;      // every n-th tab hidden (0: none)
    bool textButtons = true;  // 3 caption buttons and an image button
    int selectedID = 3;       // -1: none
    int hoveredIndex = 6;     // pointer over this tab (-1: none)
    bool shortNames = false;  // "T1234" instead of desk names (scaling runs)
};
CElementTabControl* BuildTabStrip(ElementScene& scene, const TabStripSpec& spec);

struct ScrollbarSpec {
    SIZE size{16, 720};
    int thumbLength = 300;
    int skinSet = 0;
};
CVerticalScrollbar* BuildScrollbar(ElementScene& scene, const ScrollbarSpec& spec);

struct ButtonSpec {
    SIZE size{96, 28};
    const wchar_t* caption = L"Buy";
    bool hot = true;
    // Filled behind the 24-pixel-high face, as a host's window colour would be; cairo's
    // picture fills it too, so that both sides write every pixel.
    COLORREF background = RGB(0x11, 0x13, 0x18);
};
CElementButton* BuildButton(ElementScene& scene, const ButtonSpec& spec);

// ---- 4. The same pictures with cairo -------------------------------------------------------------
// What is drawn, read once from a laid-out element: the data a cairo program would hold.
struct CairoOp {
    enum Kind { Fill, Frame, Image, Text } kind = Fill;
    RECT rc{};               // destination (Image: where the whole source lands, scaled)
    unsigned rgb = 0;        // 0xRRGGBB for Fill, Frame and Text
    int image = -1;          // Image: index into CairoPicture::images
    RECT src{0, 0, 0, 0};    // Image: source rectangle in the bitmap
    std::string text;        // Text: UTF-8, centred in rc (DT_CENTER | DT_VCENTER | DT_SINGLELINE)
    bool underline = false;  // Text in the line font

    static CairoOp Of(Kind kind, RECT rc = RECT{}, unsigned rgb = 0) {
        CairoOp op;
        op.kind = kind;
        op.rc = rc;
        op.rgb = rgb;
        return op;
    }
};

class CairoPicture {
public:
    explicit CairoPicture(SIZE size);
    ~CairoPicture();
    CairoPicture(const CairoPicture&) = delete;
    CairoPicture& operator=(const CairoPicture&) = delete;

    // A skin bitmap as a cairo surface; with a key, pixels of that colour get alpha 0
    // (cairo's way to draw what TransparentBlt draws). Returns its index.
    int AddImage(const std::string& skin_file, bool keyed, unsigned key_rgb);
    std::vector<CairoOp> ops;

    void Paint();  // draws every op onto the surface
    // The way a cairo program that keeps its drawing data would paint: Prepare() once
    // turns every text into positioned glyphs (extents measured then) and every image
    // and colour into a pattern; PaintPrepared() then only sets sources and fills. Same
    // pixels as Paint().
    void Prepare();
    void PaintPrepared();
    cairo_surface_t* Surface() const { return m_surface; }
    HBITMAP Picture() const;  // a copy as a runtime bitmap (caller deletes)

private:
    SIZE m_size;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
    cairo_font_face_t* m_face = nullptr;
    std::vector<cairo_surface_t*> m_images;
    struct PreparedOp {
        cairo_pattern_t* source = nullptr;  // solid colour or the positioned image
        std::vector<cairo_glyph_t> glyphs;  // Text
        double underlineX = 0, underlineY = 0, underlineW = 0;
    };
    std::vector<PreparedOp> m_prepared;  // one per op once Prepare() ran
    void ReleasePrepared();
};

// The element's picture as cairo ops (call after one paint, when every rectangle is final).
void DescribeTabStrip(CElementTabControl& tabs, CairoPicture& picture);
void DescribeScrollbar(CVerticalScrollbar& bar, SIZE size, CairoPicture& picture);
void DescribeButton(CElementButton& button, SIZE size, CairoPicture& picture);

// Pixels that differ between two equal-sized bitmaps (-1 when the sizes differ).
long DifferingPixels(HBITMAP a, HBITMAP b);

}  // namespace bench
