#include "Scenes.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "button/ElementButton.h"
#include "frame/HostServices.h"
#include "utf8.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tabcontrol/ElementTabControl.h"
#include "tabcontrol/TabControlConstants.h"
#include "win32/runtime_ext.h"

namespace bench {

namespace {

// A bitmap's pixels as 0x00RRGGBB values, rows top-down whatever the bitmap's own order.
std::vector<uint32_t> TopDownPixels(HBITMAP bmp, const BITMAP& bm) {
    std::vector<uint32_t> out(size_t(bm.bmWidth) * size_t(bm.bmHeight));
    BITMAPINFO bi = rt::TopDown32(bm.bmWidth, bm.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bmp, 0, UINT(bm.bmHeight), out.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return out;
}

}  // namespace

// ---- 1. Skin and font files ------------------------------------------------------------------
std::string SkinDir() {
    return std::string(KELEM_SOURCE_DIR) + "/skins/default";
}
std::string SkinFile(const std::string& name) {
    return SkinDir() + "/" + name;
}

std::string FontFileFor(const std::string& family) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (!pattern) return "";
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) file = reinterpret_cast<char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

// ---- 2. Element scenes --------------------------------------------------------------------------
namespace {

// A window paints into a surface of its own size, as cairo's image surface is: the
// runtime's screen is made the scene's size before the host window opens on it. (On a
// wider screen a narrow element's rows would each land on another cache line and page.)
std::unique_ptr<CHeadlessHost> OpenHost(SIZE size) {
    rt::SetScreenSize(size.cx, size.cy);
    return std::make_unique<CHeadlessHost>(size);
}

}  // namespace

ElementScene::ElementScene(SIZE size) : m_size(size), m_host(OpenHost(size)) {
    if (!m_host->LoadSkin(SkinDir())) throw std::runtime_error("cannot load the skin at " + SkinDir());
}

ElementScene::~ElementScene() {
    ClosePaint();
    m_host.reset();
}

void ElementScene::Place(CElementContainer* pElement, const wchar_t* name) {
    if (!m_host->Add(pElement, name, RECT{0, 0, m_size.cx, m_size.cy}))
        throw std::runtime_error("the host refused an element");
    m_pElement = pElement;
    m_host->Pump();
}

void ElementScene::OpenPaint() {
    ClosePaint();
    m_host->Pump();  // the host's own pending paint first
    ::InvalidateRect(m_host->Window().GetSafeHwnd(), nullptr, FALSE);
    m_dc = std::make_unique<CPaintDC>(&m_host->Window());
}

void ElementScene::Paint() {
    // What the host does around one element's paint (it sits at the window's origin).
    m_pElement->OnEraseBackground(m_dc.get());
    m_pElement->OnPaint(m_dc.get());
}

void ElementScene::ClosePaint() {
    m_dc.reset();
}

HBITMAP ElementScene::Picture() {
    return rt::CopyScreenRect(RECT{0, 0, m_size.cx, m_size.cy});
}

// ---- 3. Scene builders -------------------------------------------------------------------------
namespace {

// 20 desk names that, with the text buttons, fit a 1280-pixel strip.
const wchar_t* const kDeskNames[] = {
    L"SH A",  L"SZ A",  L"ChiNext", L"B Shr", L"HK",   L"Nasdaq", L"NYSE",   L"Futures", L"Options", L"Warrant",
    L"Bonds", L"Funds", L"Forex",   L"Index", L"Gold", L"Oil",    L"Grains", L"Rates",   L"Crypto",  L"ETF",
};

_MENU_CMD_INFO_ DeskMenu(int base) {
    static const wchar_t* const entries[] = {L"Near month", L"Next month", L"Quarter", L"All series"};
    _MENU_CMD_INFO_ info;
    int cmd = base;
    for (const wchar_t* text : entries) {
        _MENU_STR_CMD_ entry;
        entry.strText = text;
        entry.nCmdID = ++cmd;
        info.vecMenu.push_back(entry);
    }
    return info;
}

POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace

CElementTabControl* BuildTabStrip(ElementScene& scene, const TabStripSpec& spec) {
    auto* tabs = new CElementTabControl;
    scene.Place(tabs, L"tabs");
    tabs->SetStyle(1, 0, 0);  // left-aligned on a top strip, the text buttons following
    const int menuStride = spec.menuTabs > 0 ? std::max(1, spec.tabs / spec.menuTabs) : 0;
    int menus = 0;
    for (int i = 0; i < spec.tabs; ++i) {
        const std::wstring name = spec.shortNames || i >= int(std::size(kDeskNames)) ? L"T" + std::to_wstring(i)
                                                                                     : std::wstring(kDeskNames[i]);
        const bool menu = menuStride && i % menuStride == 1 && menus < spec.menuTabs;
        _MENU_CMD_INFO_ info = DeskMenu(100 * (i + 1));
        _TAB_PARAM_INFO_ param;
        param.nID = i + 1;
        param.lpszName = name.c_str();
        param.lpszTextColor = L"CElementTabControl.Text";
        param.lpszSelTextColor = L"CElementTabControl.SelText";
        param.pMenuInfo = menu ? &info : nullptr;
        param.bVisible = spec.hiddenEvery > 0 && i % spec.hiddenEvery == spec.hiddenEvery - 1 ? 0 : 1;
        tabs->Add(&param);
        if (menu) ++menus;
    }
    if (spec.textButtons) {
        tabs->AddTextButton(L"F10", 9001, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
        tabs->AddTextButton(L"Level-2", 9002, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 1, L"");
        tabs->AddTextButton(L"News", 9003, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
        tabs->AddTextButton(L"", 9004, nullptr, nullptr, L"QuoteTab.BtnImage", L"QuoteTab.BtnImageHot", 0, L"layout");
    }
    tabs->OnSize(0, scene.Size().cx, scene.Size().cy);
    if (spec.selectedID >= 0) tabs->SetSelectedTab(spec.selectedID);
    if (spec.hoveredIndex >= 0 && spec.hoveredIndex < tabs->m_arrItems.GetSize())
        scene.Host().Move(Centre(tabs->m_arrItems[spec.hoveredIndex]->m_rcItem));
    scene.Host().Pump();
    return tabs;
}

CVerticalScrollbar* BuildScrollbar(ElementScene& scene, const ScrollbarSpec& spec) {
    auto* bar = new CVerticalScrollbar;
    scene.Place(bar, L"vscroll");
    bar->InitVScrollBar(spec.skinSet);
    // The thumb is track * P / N long: a track of T pixels and N = T rows give P = length.
    const int track = spec.size.cy - 2 * bar->m_nArrowHeight;
    bar->SetRowNumber(track);
    bar->SetPageSize(spec.thumbLength);
    bar->UpdateThumbPos(0);
    scene.Host().Pump();
    return bar;
}

CElementButton* BuildButton(ElementScene& scene, const ButtonSpec& spec) {
    auto* button = new CElementButton;
    scene.Place(button, L"button");
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    button->InitBtn(1, spec.background, nullptr, nullptr);
    button->SetImage(L"button", L"normal.bmp", L"hot.bmp", L"down.bmp", L"disable.bmp");
    button->SetButtonText(spec.caption, palette->GetFont(L"QuoteTab.Button"),
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    button->SetTextColor(palette->GetColor(L"Button.Text"));
    button->SetTextHotColor(palette->GetColor(L"Button.TextHot"));
    if (spec.hot) scene.Host().Move(POINT{spec.size.cx / 2, spec.size.cy / 2});
    scene.Host().Pump();
    return button;
}

// ---- 4. The same pictures with cairo -------------------------------------------------------------
namespace {

unsigned Rgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

struct FreeTypeLibrary {
    FT_Library lib = nullptr;
    FreeTypeLibrary() { FT_Init_FreeType(&lib); }
    ~FreeTypeLibrary() { FT_Done_FreeType(lib); }
};

FT_Face OpenFace(const std::string& file) {
    static FreeTypeLibrary library;  // lives as long as the faces handed to cairo
    FT_Face face = nullptr;
    if (FT_New_Face(library.lib, file.c_str(), 0, &face) != 0) throw std::runtime_error("cannot open " + file);
    return face;
}

std::string Utf8(const CString& s) {
    return rt::WideToUtf8(std::wstring(s.GetString()));
}

// DT_CENTER | DT_VCENTER | DT_SINGLELINE: centred advance, line box centred.
struct TextPlace {
    double left, baseline;
};
TextPlace PlaceText(const CairoOp& op, const cairo_font_extents_t& fe, const cairo_text_extents_t& te) {
    const double x = op.rc.left, y = op.rc.top, w = op.rc.right - op.rc.left, h = op.rc.bottom - op.rc.top;
    const double left = std::floor(x + (w - te.x_advance) / 2);
    const double top = y + std::floor(h / 2) - std::floor((fe.ascent + fe.descent) / 2);
    return TextPlace{left, top + std::round(fe.ascent)};
}

cairo_pattern_t* SolidPattern(unsigned rgb) {
    return cairo_pattern_create_rgb((rgb >> 16) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// A one-pixel frame inside (x, y, w, h), filled with the current source: four edges, one fill.
void FrameRect(cairo_t* cr, double x, double y, double w, double h) {
    cairo_rectangle(cr, x, y, w, 1);
    cairo_rectangle(cr, x, y + h - 1, w, 1);
    cairo_rectangle(cr, x, y + 1, 1, h - 2);
    cairo_rectangle(cr, x + w - 1, y + 1, 1, h - 2);
    cairo_fill(cr);
}

}  // namespace

CairoPicture::CairoPicture(SIZE size) : m_size(size) {
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.cx, size.cy);
    m_cr = cairo_create(m_surface);
    const std::string file = FontFileFor(kFontFamily);
    if (file.empty()) throw std::runtime_error("fontconfig finds no file for the skin font");
    m_face = cairo_ft_font_face_create_for_ft_face(OpenFace(file), 0);
    cairo_set_font_face(m_cr, m_face);
    cairo_set_font_size(m_cr, kFontPixels);
}

CairoPicture::~CairoPicture() {
    ReleasePrepared();
    for (cairo_surface_t* image : m_images) cairo_surface_destroy(image);
    cairo_destroy(m_cr);
    cairo_font_face_destroy(m_face);
    cairo_surface_destroy(m_surface);
}

int CairoPicture::AddImage(const std::string& skin_file, bool keyed, unsigned key_rgb) {
    std::string error;
    HBITMAP bmp = rt::LoadBmpFile(SkinFile(skin_file), &error);
    if (!bmp) throw std::runtime_error(skin_file + ": " + error);
    BITMAP bm{};
    ::GetObject(bmp, sizeof bm, &bm);
    const std::vector<uint32_t> pixels = TopDownPixels(bmp, bm);
    cairo_surface_t* image =
        cairo_image_surface_create(keyed ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, bm.bmWidth, bm.bmHeight);
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < bm.bmHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < bm.bmWidth; ++x) {
            const uint32_t v = pixels[size_t(y) * size_t(bm.bmWidth) + size_t(x)] & 0xFFFFFF;
            row[x] = keyed && v == key_rgb ? 0u : (v | 0xFF000000u);  // premultiplied: transparent is all zero
        }
    }
    cairo_surface_mark_dirty(image);
    ::DeleteObject(bmp);
    m_images.push_back(image);
    return int(m_images.size()) - 1;
}

void CairoPicture::Paint() {
    cairo_t* cr = m_cr;
    for (const CairoOp& op : ops) {
        const double x = op.rc.left, y = op.rc.top, w = op.rc.right - op.rc.left, h = op.rc.bottom - op.rc.top;
        switch (op.kind) {
            case CairoOp::Fill:
                cairo_set_source_rgb(cr, (op.rgb >> 16) / 255.0, ((op.rgb >> 8) & 0xFF) / 255.0,
                                     (op.rgb & 0xFF) / 255.0);
                cairo_rectangle(cr, x, y, w, h);
                cairo_fill(cr);
                break;
            case CairoOp::Frame:
                cairo_set_source_rgb(cr, (op.rgb >> 16) / 255.0, ((op.rgb >> 8) & 0xFF) / 255.0,
                                     (op.rgb & 0xFF) / 255.0);
                FrameRect(cr, x, y, w, h);
                break;
            case CairoOp::Image: {
                const double sw = op.src.right - op.src.left, sh = op.src.bottom - op.src.top;
                cairo_save(cr);
                cairo_translate(cr, x, y);
                cairo_scale(cr, w / sw, h / sh);
                cairo_set_source_surface(cr, m_images[size_t(op.image)], -op.src.left, -op.src.top);
                cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
                cairo_rectangle(cr, 0, 0, sw, sh);
                cairo_fill(cr);
                cairo_restore(cr);
                break;
            }
            case CairoOp::Text: {
                cairo_font_extents_t fe;
                cairo_font_extents(cr, &fe);
                cairo_text_extents_t te;
                cairo_text_extents(cr, op.text.c_str(), &te);
                const TextPlace at = PlaceText(op, fe, te);
                cairo_set_source_rgb(cr, (op.rgb >> 16) / 255.0, ((op.rgb >> 8) & 0xFF) / 255.0,
                                     (op.rgb & 0xFF) / 255.0);
                cairo_move_to(cr, at.left, at.baseline);
                cairo_show_text(cr, op.text.c_str());
                if (op.underline) {
                    cairo_rectangle(cr, at.left, at.baseline + 1, std::round(te.x_advance), 1);
                    cairo_fill(cr);
                }
                break;
            }
        }
    }
    cairo_surface_flush(m_surface);
}

void CairoPicture::ReleasePrepared() {
    for (PreparedOp& p : m_prepared)
        if (p.source) cairo_pattern_destroy(p.source);
    m_prepared.clear();
}

void CairoPicture::Prepare() {
    ReleasePrepared();
    cairo_font_extents_t fe;
    cairo_font_extents(m_cr, &fe);
    cairo_scaled_font_t* font = cairo_get_scaled_font(m_cr);
    for (const CairoOp& op : ops) {
        PreparedOp p;
        const double x = op.rc.left, y = op.rc.top, w = op.rc.right - op.rc.left, h = op.rc.bottom - op.rc.top;
        if (op.kind == CairoOp::Image) {
            // The pattern's matrix maps the destination rectangle onto the source rectangle:
            // the same mapping Paint() builds from a translation and a scale each time.
            const double sw = op.src.right - op.src.left, sh = op.src.bottom - op.src.top;
            p.source = cairo_pattern_create_for_surface(m_images[size_t(op.image)]);
            cairo_pattern_set_filter(p.source, CAIRO_FILTER_NEAREST);
            cairo_matrix_t m;
            cairo_matrix_init_translate(&m, op.src.left, op.src.top);
            cairo_matrix_scale(&m, sw / w, sh / h);
            cairo_matrix_translate(&m, -x, -y);
            cairo_pattern_set_matrix(p.source, &m);
        } else {
            p.source = SolidPattern(op.rgb);
        }
        if (op.kind == CairoOp::Text) {
            cairo_text_extents_t te;
            cairo_scaled_font_text_extents(font, op.text.c_str(), &te);
            const TextPlace at = PlaceText(op, fe, te);
            cairo_glyph_t* glyphs = nullptr;
            int count = 0;
            if (cairo_scaled_font_text_to_glyphs(font, at.left, at.baseline, op.text.c_str(), int(op.text.size()),
                                                 &glyphs, &count, nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS) {
                p.glyphs.assign(glyphs, glyphs + count);
                cairo_glyph_free(glyphs);
            }
            p.underlineX = at.left;
            p.underlineY = at.baseline + 1;
            p.underlineW = op.underline ? std::round(te.x_advance) : 0;
        }
        m_prepared.push_back(std::move(p));
    }
}

void CairoPicture::PaintPrepared() {
    cairo_t* cr = m_cr;
    for (size_t i = 0; i < ops.size() && i < m_prepared.size(); ++i) {
        const CairoOp& op = ops[i];
        const PreparedOp& p = m_prepared[i];
        const double x = op.rc.left, y = op.rc.top, w = op.rc.right - op.rc.left, h = op.rc.bottom - op.rc.top;
        cairo_set_source(cr, p.source);
        switch (op.kind) {
            case CairoOp::Fill:
            case CairoOp::Image:
                cairo_rectangle(cr, x, y, w, h);
                cairo_fill(cr);
                break;
            case CairoOp::Frame:
                FrameRect(cr, x, y, w, h);
                break;
            case CairoOp::Text:
                cairo_show_glyphs(cr, p.glyphs.data(), int(p.glyphs.size()));
                if (p.underlineW > 0) {
                    cairo_rectangle(cr, p.underlineX, p.underlineY, p.underlineW, 1);
                    cairo_fill(cr);
                }
                break;
        }
    }
    cairo_surface_flush(m_surface);
}

HBITMAP CairoPicture::Picture() const {
    BITMAPINFO bi = rt::TopDown32(m_size.cx, m_size.cy);
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) return nullptr;
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    for (int y = 0; y < m_size.cy; ++y)
        std::memcpy(static_cast<uint8_t*>(bits) + size_t(y) * size_t(m_size.cx) * 4, data + size_t(y) * size_t(stride),
                    size_t(m_size.cx) * 4);
    return bmp;
}

void DescribeTabStrip(CElementTabControl& tabs, CairoPicture& picture) {
    using namespace tabcontrol;
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    auto color = [&](const CString& key, const wchar_t* fallback) {
        return Rgb(palette->GetColor(key.IsEmpty() ? fallback : key.GetString()));
    };
    const unsigned key = Rgb(tabs.m_clrKey);
    RECT strip;
    tabs.GetTabAreaRect(&strip);
    RECT draw{};
    tabs.GetDrawRect(&draw);
    auto& ops = picture.ops;
    ops.push_back(CairoOp::Of(CairoOp::Fill, strip, Rgb(tabs.m_clrBk)));

    // The strip bitmap, stretched across at its own height, keyed.
    CairoOp bk = CairoOp::Of(CairoOp::Image);
    bk.image = picture.AddImage("tab_control/Tab_Bk4.bmp", true, key);
    bk.src = RECT{0, 0, 8, 24};
    bk.rc = RECT{draw.left, draw.top, draw.right, draw.top + 24};
    ops.push_back(bk);

    const int arrow = picture.AddImage("tab_control/arrow.bmp", true, key);
    const int arrowSel = picture.AddImage("tab_control/arrow2.bmp", true, key);
    std::vector<CairoOp> arrows;
    for (INT_PTR i = 0; i < tabs.m_arrItems.GetSize(); ++i) {
        const CQuoteTabItem* item = tabs.m_arrItems[i];
        if (!item->m_bVisible) continue;
        RECT cell = item->m_rcItem;
        ::InflateRect(&cell, 1, 1);
        cell.left += item->m_nID > 0 ? -1 : 1;
        const bool selected = i == tabs.m_nSelTab, hot = i == tabs.m_nHotTab;
        const unsigned fill = selected ? color(item->m_strFillHotlight, kKeyFillHotlight)
                              : hot    ? color(item->m_strHoverBkColor, kKeyHoverBackground)
                                       : color(item->m_strFillNormal, kKeyFillNormal);
        ops.push_back(CairoOp::Of(CairoOp::Fill, cell, fill));
        ops.push_back(CairoOp::Of(CairoOp::Frame, cell, color(item->m_strBorderColor, kKeyBorder)));

        RECT text = item->m_rcItem;
        text.bottom += (text.bottom - text.top) % 2;
        if (!item->m_vecMenu.empty()) {
            text.left = item->m_rcItem.left + tabs.m_nLeftBmpWidth;
            text.right = item->m_rcItem.right - tabs.m_nArrowMargin - kMenuTextRightPad;
        }
        const unsigned ink = selected ? color(item->m_strSelTextColor, L"")
                             : hot    ? Rgb(palette->GetColor(kKeyHoverForeground))
                                      : color(item->m_strTextColor, L"");
        CairoOp name = CairoOp::Of(CairoOp::Text, text, ink);
        name.text = Utf8(item->m_strName);
        ops.push_back(name);

        if (!item->m_vecMenu.empty()) {
            CairoOp a = CairoOp::Of(CairoOp::Image);
            a.image = selected ? arrowSel : arrow;
            a.src = RECT{0, 0, 7, 4};
            const RECT& rc = item->m_rcItem;
            const int ax = rc.right - tabs.m_nArrowMargin - 7, ay = rc.top + (rc.bottom - rc.top - 4 + 1) / 2;
            a.rc = RECT{ax, ay, ax + 7, ay + 4};
            arrows.push_back(a);
        }
    }
    ops.insert(ops.end(), arrows.begin(), arrows.end());  // arrows go over every cell, as painted

    for (INT_PTR i = 0; i < tabs.m_arrTextBtn.GetSize(); ++i) {
        const _TEXT_BUTTON& btn = tabs.m_arrTextBtn[i];
        if (btn.strImage.IsEmpty()) {
            CairoOp caption =
                CairoOp::Of(CairoOp::Text, btn.rcBtn, color(btn.bHot ? btn.strHotColor : btn.strColor, L""));
            caption.text = Utf8(btn.strText);
            caption.underline = btn.bLineFont != 0;
            ops.push_back(caption);
            continue;
        }
        CairoOp image = CairoOp::Of(CairoOp::Image);
        image.image = picture.AddImage(btn.bHot ? "tab_control/btn_layout_hot.bmp" : "tab_control/btn_layout.bmp", true,
                                       0x000000);
        image.src = RECT{0, 0, 14, 12};
        const int iy = btn.rcBtn.top + (btn.rcBtn.bottom - btn.rcBtn.top - 12) / 2;
        image.rc = RECT{btn.rcBtn.left, iy, btn.rcBtn.left + 14, iy + 12};
        ops.push_back(image);
    }
}

void DescribeScrollbar(CVerticalScrollbar& bar, SIZE size, CairoPicture& picture) {
    const int L = size.cy, A = bar.m_nArrowHeight, Wa = bar.m_nArrowWidth;
    auto& ops = picture.ops;
    ops.push_back(CairoOp::Of(CairoOp::Fill, RECT{0, 0, size.cx, L}, 0x000000));
    auto image = [&](int index, RECT src, RECT dst) {
        CairoOp op = CairoOp::Of(CairoOp::Image);
        op.image = index;
        op.src = src;
        op.rc = dst;
        ops.push_back(op);
    };
    const int up = picture.AddImage("scroll_bar/up_arrow.bmp", false, 0);
    const int down = picture.AddImage("scroll_bar/down_arrow.bmp", false, 0);
    const int span = picture.AddImage("scroll_bar/vspan.bmp", false, 0);
    const int head = picture.AddImage("scroll_bar/vthumb1.bmp", false, 0);
    const int body = picture.AddImage("scroll_bar/vthumb2.bmp", false, 0);
    const int grip = picture.AddImage("scroll_bar/bot.bmp", false, 0);
    image(up, RECT{bar.m_nUpState * Wa, 0, bar.m_nUpState * Wa + Wa, A}, RECT{0, 0, Wa, A});
    image(span, RECT{0, 0, 12, 4}, RECT{0, A, Wa, L - A});
    image(down, RECT{bar.m_nDownState * Wa, 0, bar.m_nDownState * Wa + Wa, A}, RECT{0, L - A, Wa, L});
    // Thumb: head, the body's first row down to the last row but one, its closing row,
    // the grip centred (set 0: 20-pixel head, 2-pixel body, 7-pixel grip, frames of 12).
    const int fx = bar.m_nThumbState * Wa, x = bar.m_nThumbIndent, y0 = bar.m_nThumbPos, len = bar.m_nThumbLength;
    const int end = std::min(y0 + len, L);
    image(head, RECT{fx, 0, fx + 12, 20}, RECT{x, y0, x + 12, y0 + 20});
    image(body, RECT{fx, 0, fx + 12, 1}, RECT{x, y0 + 19, x + 12, end - 1});
    image(body, RECT{fx, 1, fx + 12, 2}, RECT{x, end - 1, x + 12, end});
    if (len > 7) {
        const int gy = y0 + (len - 7) / 2;
        image(grip, RECT{fx, 0, fx + 12, 7}, RECT{x, gy, x + 12, gy + 7});
    }
}

void DescribeButton(CElementButton& button, SIZE size, CairoPicture& picture) {
    picture.ops.push_back(CairoOp::Of(CairoOp::Fill, RECT{0, 0, size.cx, size.cy}, Rgb(button.m_clrBk)));
    CairoOp face = CairoOp::Of(CairoOp::Image);
    face.image = picture.AddImage(button.m_bHot ? "button/hot.bmp" : "button/normal.bmp", false, 0);
    face.src = RECT{0, 0, 96, 24};
    const int y = (size.cy - 24) / 2;
    face.rc = RECT{0, y, 96, y + 24};
    picture.ops.push_back(face);
    CairoOp caption = CairoOp::Of(CairoOp::Text, RECT{0, 0, size.cx, size.cy},
                                  Rgb(button.m_bHot ? button.m_clrTextHot : button.m_clrText));
    caption.text = rt::WideToUtf8(button.m_strText);
    picture.ops.push_back(caption);
}

long DifferingPixels(HBITMAP a, HBITMAP b) {
    BITMAP ba{}, bb{};
    ::GetObject(a, sizeof ba, &ba);
    ::GetObject(b, sizeof bb, &bb);
    if (ba.bmWidth != bb.bmWidth || ba.bmHeight != bb.bmHeight) return -1;
    const std::vector<uint32_t> pa = TopDownPixels(a, ba), pb = TopDownPixels(b, bb);
    long n = 0;
    for (size_t i = 0; i < pa.size(); ++i) n += (pa[i] & 0xFFFFFF) != (pb[i] & 0xFFFFFF);
    return n;
}

}  // namespace bench
