#include "SkinWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "win32/runtime_ext.h"

namespace skingen {

Theme DarkTheme() {
    Theme t;
    t.name = "default";
    t.window = RGB(17, 19, 24);
    t.panel = RGB(30, 34, 42);
    t.panelHot = RGB(42, 48, 59);
    t.panelDown = RGB(22, 25, 31);
    t.frame = RGB(58, 65, 80);
    t.frameHot = RGB(92, 102, 122);
    t.text = RGB(216, 222, 233);
    t.textDim = RGB(138, 147, 166);
    t.textHot = RGB(255, 255, 255);
    t.accent = RGB(240, 160, 48);
    t.accentText = RGB(20, 20, 20);
    t.track = RGB(24, 27, 33);
    t.thumb = RGB(66, 74, 90);
    t.thumbHot = RGB(92, 102, 122);
    t.arrow = RGB(170, 178, 194);
    t.disabled = RGB(35, 38, 45);
    t.disabledText = RGB(88, 94, 108);
    t.fontFace = "DejaVu Sans";
    return t;
}

Theme LightTheme() {
    Theme t;
    t.name = "light";
    t.window = RGB(236, 238, 242);
    t.panel = RGB(250, 250, 252);
    t.panelHot = RGB(228, 236, 248);
    t.panelDown = RGB(208, 220, 238);
    t.frame = RGB(176, 184, 198);
    t.frameHot = RGB(96, 132, 196);
    t.text = RGB(28, 32, 40);
    t.textDim = RGB(96, 104, 118);
    t.textHot = RGB(0, 0, 0);
    t.accent = RGB(34, 102, 204);
    t.accentText = RGB(255, 255, 255);
    t.track = RGB(232, 234, 238);
    t.thumb = RGB(180, 188, 202);
    t.thumbHot = RGB(140, 152, 172);
    t.arrow = RGB(80, 88, 104);
    t.disabled = RGB(224, 227, 232);
    t.disabledText = RGB(160, 166, 176);
    t.fontFace = "DejaVu Sans";
    return t;
}

COLORREF Mix(COLORREF a, COLORREF b, int percentB) {
    auto ch = [&](int ca, int cb) { return (ca * (100 - percentB) + cb * percentB + 50) / 100; };
    return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

Canvas::Canvas(int w, int h, COLORREF fill) : w_(w), h_(h) {
    BITMAPINFO bi = rt::TopDown32(w, h);
    void* bits = nullptr;
    bmp_ = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    Fill(0, 0, w, h, fill);
}

Canvas::~Canvas() {
    if (bmp_) ::DeleteObject(bmp_);
}

HBITMAP Canvas::Detach() {
    HBITMAP b = bmp_;
    bmp_ = nullptr;
    bits_ = nullptr;
    return b;
}

void Canvas::Pixel(int x, int y, COLORREF c) {
    if (!bits_ || x < 0 || y < 0 || x >= w_ || y >= h_) return;
    bits_[size_t(y) * size_t(w_) + size_t(x)] = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

void Canvas::Fill(int x, int y, int w, int h, COLORREF c) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) Pixel(xx, yy, c);
}

void Canvas::Frame(int x, int y, int w, int h, COLORREF c) {
    Fill(x, y, w, 1, c);
    Fill(x, y + h - 1, w, 1, c);
    Fill(x, y, 1, h, c);
    Fill(x + w - 1, y, 1, h, c);
}

void Canvas::VGradient(int x, int y, int w, int h, COLORREF top, COLORREF bottom) {
    for (int i = 0; i < h; ++i) Fill(x, y + i, w, 1, Mix(top, bottom, h > 1 ? i * 100 / (h - 1) : 0));
}

void Canvas::HGradient(int x, int y, int w, int h, COLORREF left, COLORREF right) {
    for (int i = 0; i < w; ++i) Fill(x + i, y, 1, h, Mix(left, right, w > 1 ? i * 100 / (w - 1) : 0));
}

void Canvas::Arrow(int x, int y, int w, int h, Dir dir, int size, COLORREF c) {
    // size = rows of the triangle; each row is two pixels wider than the one before.
    const bool vertical = dir == Dir::Up || dir == Dir::Down;
    const int cx = x + w / 2, cy = y + h / 2;
    for (int i = 0; i < size; ++i) {
        const int row = (dir == Dir::Up || dir == Dir::Left) ? i : size - 1 - i;
        const int offset = i - size / 2;
        if (vertical)
            Fill(cx - row, cy + offset, 2 * row + 1 - (w % 2 == 0 ? 1 : 0), 1, c);
        else
            Fill(cx + offset, cy - row, 1, 2 * row + 1 - (h % 2 == 0 ? 1 : 0), c);
    }
}

SkinWriter::~SkinWriter() {
    for (auto& [file, bmp] : files_) ::DeleteObject(bmp);
}

void SkinWriter::Color(const std::string& key, COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    colors_[key] = buf;
}

void SkinWriter::Font(const std::string& key, const std::string& spec) { fonts_[key] = spec; }

void SkinWriter::PaletteBitmap(const std::string& key, const std::string& file, Canvas& canvas) {
    paletteBitmaps_[key] = file;
    FolderBitmap(file, canvas);
}

void SkinWriter::FolderBitmap(const std::string& file, Canvas& canvas) {
    auto it = files_.find(file);
    if (it != files_.end()) ::DeleteObject(it->second);
    files_[file] = canvas.Detach();
}

bool SkinWriter::Write(const std::string& dir, const std::string& themeName, std::string* error) const {
    auto mkdirs = [error](const std::string& path) {
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        if (ec) *error = path + ": cannot make the folder (" + ec.message() + ")";
        return !ec;
    };
    if (!mkdirs(dir)) return false;
    std::ofstream ini(dir + "/palette.ini", std::ios::binary);  // \n line ends on every system
    if (!ini) {
        *error = dir + "/palette.ini: cannot write";
        return false;
    }
    ini << "; The " << themeName << " skin's palette. Generated by skingen: edit the generator, not this file.\n";
    auto section = [&](const char* name, const std::map<std::string, std::string>& entries) {
        ini << "\n[" << name << "]\n";
        for (const auto& [key, value] : entries) ini << key << " = " << value << "\n";
    };
    section("colors", colors_);
    section("fonts", fonts_);
    section("bitmaps", paletteBitmaps_);
    for (const auto& [file, bmp] : files_) {
        const size_t slash = file.rfind('/');
        if (slash != std::string::npos && !mkdirs(dir + "/" + file.substr(0, slash))) return false;
        if (!rt::SaveBmpFile(bmp, dir + "/" + file, error)) return false;
    }
    return bool(ini);
}

}  // namespace skingen
