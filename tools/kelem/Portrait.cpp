// The runtime's self-portrait: a test card that shows at a glance whether fills,
// frames, focus rectangles, lines, blits and text come out right.
#include "Gallery.h"

#include <string>
#include <utility>
#include <vector>

#include "utf8.h"

namespace kelem {
namespace {

const COLORREF kInk = RGB(30, 34, 42);
const COLORREF kPaper = RGB(244, 241, 234);
const COLORREF kAccent = RGB(224, 122, 16);

// A 12 x 12 picture with a magenta key colour, drawn pixel by pixel.
HBITMAP MakeIcon(HDC screen) {
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 12, 12);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const int dx = x * 2 - 11, dy = y * 2 - 11;
            COLORREF c = RGB(255, 0, 255);
            if (dx * dx + dy * dy <= 100) c = (x + y) % 2 ? RGB(40, 120, 220) : RGB(250, 250, 250);
            if (dx * dx + dy * dy <= 16) c = kAccent;
            ::SetPixel(dc, x, y, c);
        }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bmp;
}

const int kCardWidth = 640, kCardHeight = 340;

// Where each line of text of the card went, so that the card can tell when one runs into
// another or past its edge (fonts differ from machine to machine).
struct TextPlaces {
    std::vector<std::pair<std::wstring, CRect>> placed;

    void Out(CDC& dc, int x, int y, const wchar_t* text) {
        const int length = int(wcslen(text));
        dc.TextOut(x, y, text, length);
        const CSize size = dc.GetTextExtent(text, length);
        placed.emplace_back(text, CRect(x, y, x + size.cx, y + size.cy));
    }
    std::vector<std::string> Problems() const {
        std::vector<std::string> problems;
        const CRect card(0, 0, kCardWidth, kCardHeight);
        for (size_t i = 0; i < placed.size(); ++i) {
            const auto& [text, rc] = placed[i];
            CRect inside;
            if (!inside.IntersectRect(&rc, &card) || inside != rc)
                problems.push_back("runtime card: '" + rt::WideToUtf8(text) + "' is cut at the edge");
            for (size_t j = i + 1; j < placed.size(); ++j) {
                CRect both;
                if (both.IntersectRect(&rc, &placed[j].second))
                    problems.push_back("runtime card: '" + rt::WideToUtf8(text) + "' runs into '" +
                                       rt::WideToUtf8(placed[j].first) + "'");
            }
        }
        return problems;
    }
};

// Captions in a small face of their own, so that each fits above its own exhibit; the
// DC's default font is wide enough to run one caption into the next.
void Label(CDC& dc, TextPlaces& places, int x, int y, const wchar_t* text) {
    CFont font;
    font.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
    CFont* old = dc.SelectObject(&font);
    dc.SetTextColor(RGB(90, 96, 110));
    places.Out(dc, x, y, text);
    dc.SelectObject(old);
}

void DrawShapes(CDC& dc, TextPlaces& places) {
    Label(dc, places, 10, 8, L"FillSolidRect, FrameRect, Draw3dRect, DrawFocusRect");
    const COLORREF swatches[] = {RGB(200, 40, 40), RGB(40, 160, 70), RGB(40, 90, 200), kAccent, kInk};
    for (int i = 0; i < 5; ++i) dc.FillSolidRect(10 + i * 26, 28, 22, 22, swatches[i]);
    CBrush frame(kInk);
    CRect rcFrame(150, 28, 190, 50);
    dc.FrameRect(&rcFrame, &frame);
    dc.Draw3dRect(200, 28, 40, 22, RGB(255, 255, 255), RGB(128, 128, 128));
    dc.Draw3dRect(250, 28, 40, 22, RGB(128, 128, 128), RGB(255, 255, 255));
    CRect rcFocus(300, 28, 350, 50);
    dc.DrawFocusRect(&rcFocus);

    Label(dc, places, 370, 8, L"LineTo (end point excluded)");
    CPen pen(PS_SOLID, 1, kInk);
    CPen* oldPen = dc.SelectObject(&pen);
    for (int i = 0; i <= 8; ++i) {
        dc.MoveTo(380, 60);
        dc.LineTo(380 + i * 8, 28);
    }
    for (int i = 0; i <= 4; ++i) {
        dc.MoveTo(460 + i * 6, 28);
        dc.LineTo(460 + i * 6, 60);
    }
    dc.SelectObject(oldPen);
}

void DrawBlits(CDC& dc, CDC& src, TextPlaces& places) {
    Label(dc, places, 10, 72,
          L"StretchBlt x4: BLACKONWHITE, COLORONCOLOR, HALFTONE, mirrored; shrunk; TransparentBlt; BitBlt");
    const int modes[] = {BLACKONWHITE, COLORONCOLOR, HALFTONE};
    for (int i = 0; i < 3; ++i) {
        dc.SetStretchBltMode(modes[i]);
        dc.StretchBlt(10 + i * 56, 92, 48, 48, &src, 0, 0, 12, 12, SRCCOPY);
    }
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchBlt(10 + 3 * 56 + 47, 92, -48, 48, &src, 0, 0, 12, 12, SRCCOPY);
    dc.SetStretchBltMode(HALFTONE);
    dc.StretchBlt(240, 92, 6, 6, &src, 0, 0, 12, 12, SRCCOPY);
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.TransparentBlt(260, 92, 48, 48, &src, 0, 0, 12, 12, RGB(255, 0, 255));
    dc.BitBlt(320, 92, 12, 12, &src, 0, 0, SRCCOPY);
    dc.BitBlt(340, 92, 12, 12, &src, 0, 0, NOTSRCCOPY);
}

void DrawTexts(CDC& dc, TextPlaces& places) {
    struct FontRow {
        const wchar_t* face;
        int height;
        int weight;
        BYTE italic;
        BYTE quality;
        const wchar_t* sample;
    };
    const FontRow rows[] = {
        {L"DejaVu Sans", -12, FW_NORMAL, 0, DEFAULT_QUALITY, L"DejaVu Sans -12: Hello, World! 600519 +2.35%"},
        {L"DejaVu Sans", -14, FW_BOLD, 0, DEFAULT_QUALITY, L"Bold -14: SH A  SZ B  HK"},
        {L"DejaVu Serif", -13, FW_NORMAL, 1, DEFAULT_QUALITY, L"Serif italic -13"},
        {L"DejaVu Sans Mono", -12, FW_NORMAL, 0, NONANTIALIASED_QUALITY, L"Mono, not antialiased: 0123456789"},
    };
    Label(dc, places, 10, 152, L"Fonts");
    dc.SetTextColor(kInk);
    int y = 170;
    for (const FontRow& row : rows) {
        CFont font;
        font.CreateFont(row.height, 0, 0, 0, row.weight, row.italic, 0, 0, DEFAULT_CHARSET, 0, 0, row.quality, 0,
                        row.face);
        CFont* old = dc.SelectObject(&font);
        places.Out(dc, 10, y, row.sample);
        dc.SelectObject(old);
        y += 22;
    }

    Label(dc, places, 360, 152, L"DrawText: align, ellipsis, tabs, &, wrap");
    CFont font;
    font.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
    CFont* old = dc.SelectObject(&font);
    dc.SetTextColor(kInk);
    const UINT aligns[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (int i = 0; i < 3; ++i) {
        CRect rc(360, 170 + i * 22, 620, 188 + i * 22);
        dc.FillSolidRect(&rc, RGB(228, 224, 214));
        dc.DrawText(L"Quote", -1, &rc, aligns[i] | DT_VCENTER | DT_SINGLELINE);
    }
    CRect rcEllipsis(360, 236, 470, 254);
    dc.FillSolidRect(&rcEllipsis, RGB(228, 224, 214));
    dc.DrawText(L"A name far too long for its tab", -1, &rcEllipsis, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    CRect rcTabs(480, 236, 620, 254);
    dc.DrawText(L"a\tb\tc", -1, &rcTabs, DT_LEFT | DT_SINGLELINE | DT_EXPANDTABS);
    CRect rcPrefix(360, 258, 620, 276);
    dc.DrawText(L"&File  &&  E&xit", -1, &rcPrefix, DT_LEFT | DT_SINGLELINE);
    CRect rcWrap(360, 280, 520, 330);
    dc.FillSolidRect(&rcWrap, RGB(228, 224, 214));
    dc.DrawText(L"Word breaking wraps this sentence over several lines.", -1, &rcWrap, DT_LEFT | DT_WORDBREAK);
    Label(dc, places, 530, 266, L"DrawState");
    // The text type comes from bPrefixText; DST_TEXT in the flags as well would make it an icon.
    dc.DrawState(CPoint(530, 284), CSize(0, 0), L"Disabled", DSS_DISABLED, FALSE, 0, (HBRUSH) nullptr);
    dc.SelectObject(old);
}

}  // namespace

void GalleryRuntime(Gallery& gallery) {
    gallery.Section("Runtime");
    HDC screen = ::GetDC(nullptr);
    CDC dc;
    dc.Attach(::CreateCompatibleDC(screen));
    CBitmap card;
    card.Attach(::CreateCompatibleBitmap(screen, kCardWidth, kCardHeight));
    CBitmap* oldCard = dc.SelectObject(&card);
    dc.FillSolidRect(0, 0, kCardWidth, kCardHeight, kPaper);
    dc.SetBkMode(TRANSPARENT);

    CDC src;
    src.Attach(::CreateCompatibleDC(screen));
    CBitmap icon;
    icon.Attach(MakeIcon(screen));
    CBitmap* oldIcon = src.SelectObject(&icon);

    TextPlaces places;
    DrawShapes(dc, places);
    DrawBlits(dc, src, places);
    DrawTexts(dc, places);
    for (const std::string& problem : places.Problems()) gallery.Problem(problem);

    src.SelectObject(oldIcon);
    dc.SelectObject(oldCard);
    gallery.Image(card, "portrait", "The runtime's test card: fills, frames, lines, blits and text");
    ::ReleaseDC(nullptr, screen);
}

}  // namespace kelem
