#include "Plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "utf8.h"
#include "win32/runtime_ext.h"

namespace bench {
namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(40, 40, 40);
constexpr COLORREF kGrid = RGB(225, 225, 225);
constexpr COLORREF kBand = RGB(232, 244, 232);

struct Axis {
    double lo, hi;
    bool log;
    int pixLo, pixHi;  // surface pixels for lo and hi
    int Map(double v) const {
        const double a = log ? std::log10(lo) : lo, b = log ? std::log10(hi) : hi;
        const double t = ((log ? std::log10(std::max(v, 1e-300)) : v) - a) / (b - a);
        return int(std::lround(pixLo + t * (pixHi - pixLo)));
    }
};

std::string Number(double v) {
    char buf[32];
    if (v >= 1000 && std::fmod(v, 1000) == 0)
        std::snprintf(buf, sizeof buf, "%.0fk", v / 1000);
    else if (v >= 100 || v == std::floor(v))
        std::snprintf(buf, sizeof buf, "%.0f", v);
    else
        std::snprintf(buf, sizeof buf, "%.2g", v);
    return buf;
}

// Ticks: powers of ten on a log axis, about six round steps on a linear one.
std::vector<double> Ticks(const Axis& a) {
    std::vector<double> ticks;
    if (a.log) {
        for (double v = std::pow(10, std::floor(std::log10(a.lo))); v <= a.hi * 1.0001; v *= 10)
            if (v >= a.lo * 0.9999) ticks.push_back(v);
        return ticks;
    }
    const double raw = (a.hi - a.lo) / 6, mag = std::pow(10, std::floor(std::log10(raw)));
    const double step = raw / mag < 2 ? 2 * mag : raw / mag < 5 ? 5 * mag : 10 * mag;
    for (double v = std::ceil(a.lo / step) * step; v <= a.hi + step * 1e-6; v += step) ticks.push_back(v);
    return ticks;
}

void Text(HDC dc, const std::string& s, RECT rc, UINT format) {
    const std::wstring w = rt::Utf8ToWide(s);
    ::DrawTextW(dc, w.c_str(), int(w.size()), &rc, format | DT_SINGLELINE | DT_NOPREFIX);
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

// The data range with a little room, for a linear axis starting at zero when it is near.
void Range(const PlotSpec& spec, bool xAxis, double* lo, double* hi) {
    *lo = 1e300;
    *hi = -1e300;
    for (const PlotSeries& s : spec.series)
        for (const auto& p : s.points) {
            const double v = xAxis ? p.first : p.second;
            *lo = std::min(*lo, v);
            *hi = std::max(*hi, v);
        }
    if (!xAxis && spec.yBandHi > spec.yBandLo) {
        *lo = std::min(*lo, spec.yBandLo);
        *hi = std::max(*hi, spec.yBandHi);
    }
    const bool log = xAxis ? spec.logX : spec.logY;
    if (log) {
        *lo = std::pow(10, std::floor(std::log10(*lo)));
        *hi = std::pow(10, std::ceil(std::log10(*hi)));
    } else {
        if (!xAxis || *lo < (*hi - *lo) * 0.5) *lo = std::min(*lo, 0.0);
        if (!xAxis) *hi *= 1.1;
        if (*hi <= *lo) *hi = *lo + 1;
    }
}

}  // namespace

bool DrawPlot(const PlotSpec& spec, const std::string& png_path, std::string* error) {
    BITMAPINFO bi = rt::TopDown32(spec.size.cx, spec.size.cy);
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldBmp = ::SelectObject(dc, bmp);
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    std::wcscpy(lf.lfFaceName, L"DejaVu Sans");
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);

    const RECT all{0, 0, spec.size.cx, spec.size.cy};
    HBRUSH paper = ::CreateSolidBrush(kPaper);
    ::FillRect(dc, &all, paper);
    ::DeleteObject(paper);

    const RECT area{70, 36, spec.size.cx - 170, spec.size.cy - 50};  // the plotting area
    double xlo, xhi, ylo, yhi;
    Range(spec, true, &xlo, &xhi);
    Range(spec, false, &ylo, &yhi);
    const Axis xa{xlo, xhi, spec.logX, area.left, area.right};
    const Axis ya{ylo, yhi, spec.logY, area.bottom, area.top};

    if (spec.yBandHi > spec.yBandLo) {
        HBRUSH band = ::CreateSolidBrush(kBand);
        const RECT rc{area.left, ya.Map(spec.yBandHi), area.right, ya.Map(spec.yBandLo)};
        ::FillRect(dc, &rc, band);
        ::DeleteObject(band);
        ::SetTextColor(dc, RGB(60, 120, 60));
        Text(dc, spec.bandLabel, RECT{area.left + 6, rc.top + 2, area.right, rc.top + 18}, DT_LEFT | DT_TOP);
    }

    HPEN grid = ::CreatePen(PS_SOLID, 1, kGrid), ink = ::CreatePen(PS_SOLID, 1, kInk);
    HGDIOBJ oldPen = ::SelectObject(dc, grid);
    ::SetTextColor(dc, kInk);
    for (double v : Ticks(xa)) {
        const int x = xa.Map(v);
        ::SelectObject(dc, grid);
        Line(dc, x, area.top, x, area.bottom);
        Text(dc, Number(v), RECT{x - 40, area.bottom + 4, x + 40, area.bottom + 20}, DT_CENTER | DT_TOP);
    }
    for (double v : Ticks(ya)) {
        const int y = ya.Map(v);
        ::SelectObject(dc, grid);
        Line(dc, area.left, y, area.right, y);
        Text(dc, Number(v), RECT{0, y - 8, area.left - 6, y + 8}, DT_RIGHT | DT_VCENTER);
    }
    ::SelectObject(dc, ink);
    Line(dc, area.left, area.top, area.left, area.bottom);
    Line(dc, area.left, area.bottom, area.right, area.bottom);
    Text(dc, spec.title, RECT{0, 6, spec.size.cx, 26}, DT_CENTER | DT_TOP);
    Text(dc, spec.xLabel, RECT{area.left, spec.size.cy - 24, area.right, spec.size.cy - 4}, DT_CENTER | DT_TOP);
    Text(dc, spec.yLabel, RECT{4, 16, area.left + 160, 34}, DT_LEFT | DT_TOP);

    int legendY = area.top;
    for (const PlotSeries& s : spec.series) {
        HPEN pen = ::CreatePen(PS_SOLID, 2, s.color);
        ::SelectObject(dc, pen);
        std::vector<POINT> pts;
        for (const auto& p : s.points) pts.push_back(POINT{xa.Map(p.first), ya.Map(p.second)});
        if (pts.size() > 1) ::Polyline(dc, pts.data(), int(pts.size()));
        for (const POINT& p : pts) {  // a small square on every measured point
            Line(dc, p.x - 2, p.y - 2, p.x + 2, p.y - 2);
            Line(dc, p.x + 2, p.y - 2, p.x + 2, p.y + 2);
            Line(dc, p.x + 2, p.y + 2, p.x - 2, p.y + 2);
            Line(dc, p.x - 2, p.y + 2, p.x - 2, p.y - 2);
        }
        Line(dc, area.right + 12, legendY + 8, area.right + 36, legendY + 8);
        ::SelectObject(dc, ink);
        ::DeleteObject(pen);
        Text(dc, s.name, RECT{area.right + 42, legendY, spec.size.cx - 4, legendY + 16}, DT_LEFT | DT_TOP);
        legendY += 20;
    }

    ::SelectObject(dc, oldPen);
    ::DeleteObject(grid);
    ::DeleteObject(ink);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    ::SelectObject(dc, oldBmp);
    ::DeleteDC(dc);
    const bool ok = rt::SavePngFile(bmp, png_path, error);
    ::DeleteObject(bmp);
    return ok;
}

}  // namespace bench
