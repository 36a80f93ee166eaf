// Index
//   1. Palette file parsing (inih, with our own line counting)
//   2. CSkinPalette
#include "SkinPalette.h"

#include <ini.h>

#include <cstdio>
#include <cstring>

#include "SkinFiles.h"
#include "utf8.h"

using skinfiles::LoadSkinBitmap;
using skinfiles::SwapHandle;

namespace {

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

std::vector<std::string> SplitComma(const std::string& s) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t comma = s.find(',', start);
        parts.push_back(Trim(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

bool ParseInt(const std::string& s, long lo, long hi, long* out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// "#RRGGBB" or "R,G,B".
bool ParseColor(const std::string& s, COLORREF* out) {
    if (s.size() == 7 && s[0] == '#') {
        unsigned v = 0;
        for (size_t i = 1; i < 7; ++i) {
            const char c = s[i];
            const int d = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (d < 0) return false;
            v = v * 16 + unsigned(d);
        }
        *out = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        return true;
    }
    const std::vector<std::string> parts = SplitComma(s);
    long r, g, b;
    if (parts.size() != 3 || !ParseInt(parts[0], 0, 255, &r) || !ParseInt(parts[1], 0, 255, &g) ||
        !ParseInt(parts[2], 0, 255, &b))
        return false;
    *out = RGB(r, g, b);
    return true;
}

// "Face, lfHeight[, weight[, italic[, underline]]]".
bool ParseFont(const std::string& s, LOGFONTW* lf) {
    const std::vector<std::string> parts = SplitComma(s);
    if (parts.size() < 2 || parts.size() > 5 || parts[0].empty()) return false;
    const std::wstring face = rt::Utf8ToWide(parts[0]);
    if (face.size() >= LF_FACESIZE) return false;
    long height, weight = FW_NORMAL, italic = 0, underline = 0;
    if (!ParseInt(parts[1], -1000, 1000, &height)) return false;
    if (parts.size() > 2 && !ParseInt(parts[2], 0, 1000, &weight)) return false;
    if (parts.size() > 3 && !ParseInt(parts[3], 0, 1, &italic)) return false;
    if (parts.size() > 4 && !ParseInt(parts[4], 0, 1, &underline)) return false;
    *lf = LOGFONTW{};
    lf->lfHeight = LONG(height);
    lf->lfWeight = LONG(weight);
    lf->lfItalic = BYTE(italic);
    lf->lfUnderline = BYTE(underline);
    lf->lfCharSet = DEFAULT_CHARSET;
    std::wmemcpy(lf->lfFaceName, face.c_str(), face.size() + 1);
    return true;
}

}  // namespace

// ---- 1. Palette file parsing --------------------------------------------------------------
struct PaletteParser {
    CSkinPalette* palette = nullptr;
    std::string dir;
    std::string file;
    std::vector<std::string>* problems = nullptr;
    FILE* fp = nullptr;
    int line = 0;
    std::set<std::wstring> seenFonts, seenBitmaps;

    static char* Reader(char* str, int num, void* stream) {
        auto* self = static_cast<PaletteParser*>(stream);
        char* r = std::fgets(str, num, self->fp);
        if (r) ++self->line;
        return r;
    }

    void Problem(const std::string& what) {
        if (problems) problems->push_back(file + ":" + std::to_string(line) + ": " + what);
    }

    static int Handler(void* user, const char* section, const char* name, const char* value) {
        auto* self = static_cast<PaletteParser*>(user);
        self->Entry(section, name, Trim(value));
        return 1;  // keep going: one bad line must not lose the rest
    }

    void Entry(const std::string& section, const std::string& name, const std::string& value) {
        const std::wstring key = rt::Utf8ToWide(name);
        if (section == "colors") {
            COLORREF c = 0;
            if (!ParseColor(value, &c)) return Problem("bad colour '" + value + "' for " + name);
            palette->m_colors[key] = c;
        } else if (section == "fonts") {
            LOGFONTW lf{};
            if (!ParseFont(value, &lf)) return Problem("bad font '" + value + "' for " + name);
            auto& slot = palette->m_fonts[key];
            if (!slot.object) slot.object = std::make_unique<CFont>();
            SwapHandle(slot.object.get(), ::CreateFontIndirectW(&lf));
            slot.present = true;
            seenFonts.insert(key);
        } else if (section == "bitmaps") {
            const std::string path = dir + "/" + value;
            std::string error;
            HBITMAP hbm = value.empty() ? nullptr : LoadSkinBitmap(path, &error);
            if (!hbm) return Problem(value.empty() ? "empty bitmap path for " + name : path + ": " + error);
            auto& slot = palette->m_bitmaps[key];
            if (!slot.object) slot.object = std::make_unique<CBitmap>();
            SwapHandle(slot.object.get(), hbm);
            slot.present = true;
            seenBitmaps.insert(key);
        } else {
            Problem("unknown section [" + section + "]");
        }
    }
};

// ---- 2. CSkinPalette ------------------------------------------------------------------------
CSkinPalette::~CSkinPalette() = default;

bool CSkinPalette::Load(const std::string& dir, std::vector<std::string>* problems) {
    PaletteParser parser;
    parser.palette = this;
    parser.dir = dir;
    parser.file = dir + "/palette.ini";
    parser.problems = problems;
    parser.fp = std::fopen(parser.file.c_str(), "r");
    if (!parser.fp) {
        if (problems) problems->push_back(parser.file + ": cannot open the palette file");
        return false;
    }
    m_colors.clear();
    const int result = ini_parse_stream(&PaletteParser::Reader, &parser, &PaletteParser::Handler, &parser);
    std::fclose(parser.fp);
    if (result > 0) {
        parser.line = result;
        parser.Problem("not a key = value line or [section]");
    }
    // Keys of the previous skin that this one lacks: keep the objects, report them missing.
    for (auto& [key, slot] : m_fonts)
        if (!parser.seenFonts.count(key)) slot.present = false;
    for (auto& [key, slot] : m_bitmaps)
        if (!parser.seenBitmaps.count(key)) slot.present = false;
    m_missing.clear();
    return true;
}

COLORREF CSkinPalette::GetColor(const wchar_t* key) {
    if (!key) return 0;
    auto it = m_colors.find(Key(key));
    if (it != m_colors.end()) return it->second;
    m_missing.insert(L"color " + std::wstring(key));
    return 0;
}

CFont* CSkinPalette::GetFont(const wchar_t* key) {
    if (!key) return nullptr;
    auto it = m_fonts.find(Key(key));
    if (it != m_fonts.end() && it->second.present) return it->second.object.get();
    m_missing.insert(L"font " + std::wstring(key));
    return nullptr;
}

CBitmap* CSkinPalette::GetBitmap(const wchar_t* key) {
    if (!key) return nullptr;
    auto it = m_bitmaps.find(Key(key));
    if (it != m_bitmaps.end() && it->second.present) return it->second.object.get();
    m_missing.insert(L"bitmap " + std::wstring(key));
    return nullptr;
}
