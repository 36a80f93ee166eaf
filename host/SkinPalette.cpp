// Index
//   1. Values     colours and fonts as the palette file writes them
//   2. Palette file parsing (IniFile.h)
//   3. CSkinPalette
#include "SkinPalette.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "IniFile.h"
#include "SkinFiles.h"
#include "utf8.h"
#include "win32/runtime_ext.h"

// ---- 1. Values ------------------------------------------------------------------------------
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

// ---- 2. Palette file parsing --------------------------------------------------------------
// The file is read into new values first; CSkinPalette::Load then takes what loaded and
// keeps the previous value of every key whose line could not be used.
struct PaletteParser {
    CSkinPalette* palette = nullptr;
    std::string dir;
    std::string file;
    std::vector<std::string>* problems = nullptr;
    std::unordered_map<std::wstring, COLORREF> colors;
    std::unordered_map<std::wstring, LOGFONTW> fonts;
    struct BitmapLine {
        int line;
        std::wstring key;
        std::string path;
    };
    std::vector<BitmapLine> bitmapLines;  // in file order; the last line of a key counts
    std::set<std::wstring> failed;        // keys whose line was bad

    void Problem(int line, const std::string& what) {
        if (problems) problems->push_back(file + ":" + std::to_string(line) + ": " + what);
    }

    bool HadValue(const std::wstring& key) const {
        if (palette->m_colors.count(key)) return true;
        auto font = palette->m_fonts.find(key);
        auto bitmap = palette->m_bitmaps.find(key);
        return (font != palette->m_fonts.end() && font->second.present) ||
               (bitmap != palette->m_bitmaps.end() && bitmap->second.present);
    }

    void Failed(int line, const std::wstring& key, const std::string& what) {
        failed.insert(key);
        Problem(line, what + (HadValue(key) ? "; the previous value is kept" : ""));
    }

    void Entry(const IniEntry& e) {
        const std::string name(e.key), value(e.value);
        const std::wstring key = rt::Utf8ToWide(name);
        if (e.section == "colors") {
            COLORREF c = 0;
            if (!ParseColor(value, &c)) return Failed(e.line, key, "bad colour '" + value + "' for " + name);
            colors[key] = c;
        } else if (e.section == "fonts") {
            LOGFONTW lf{};
            if (!ParseFont(value, &lf)) return Failed(e.line, key, "bad font '" + value + "' for " + name);
            fonts[key] = lf;
        } else if (e.section == "bitmaps") {
            if (value.empty()) return Failed(e.line, key, "empty bitmap path for " + name);
            bitmapLines.push_back(BitmapLine{e.line, key, value});
        } else {
            Problem(e.line, "unknown section [" + std::string(e.section) + "]");
        }
    }
};

// ---- 3. CSkinPalette ------------------------------------------------------------------------
CSkinPalette::~CSkinPalette() = default;

bool CSkinPalette::Load(const std::string& dir, std::vector<std::string>* problems, int64_t* pixels_left) {
    PaletteParser parser;
    parser.palette = this;
    parser.dir = dir;
    parser.file = dir + "/palette.ini";
    parser.problems = problems;
    std::string text, error;
    if (!ReadSkinFile(dir, "palette.ini", SkinLimits::kMaxPaletteBytes, &text, &error)) {
        // Nothing of the new skin can be known: everything loaded before stays.
        const std::string said = parser.file + ": ";
        if (error.compare(0, said.size(), said) == 0) error.erase(0, said.size());
        if (problems) problems->push_back(parser.file + ": cannot open the palette file: " + error);
        return false;
    }
    IniHandlers handlers;
    handlers.onEntry = [&parser](const IniEntry& e) { parser.Entry(e); };
    handlers.onProblem = [&parser](int line, const std::string& what) { parser.Problem(line, what); };
    ReadIni(text, handlers);

    int64_t own_budget = SkinLimits::kMaxSkinPixels;
    if (!pixels_left) pixels_left = &own_budget;
    std::unordered_map<std::wstring, HBITMAP> bitmaps;
    std::unordered_map<std::wstring, size_t> lastLine;
    for (size_t i = 0; i < parser.bitmapLines.size(); ++i) lastLine[parser.bitmapLines[i].key] = i;
    for (size_t i = 0; i < parser.bitmapLines.size(); ++i) {
        const PaletteParser::BitmapLine& b = parser.bitmapLines[i];
        if (lastLine[b.key] != i) continue;
        HBITMAP hbm = LoadSkinImage(dir, b.path, pixels_left, &error);
        if (hbm)
            bitmaps[b.key] = hbm;
        else
            parser.Failed(b.line, b.key, error);
    }

    // Swap in what loaded; a key whose line failed keeps its value, a key the file lacks
    // is missing (its object stays, for the elements that still point at it).
    std::unordered_map<std::wstring, COLORREF> colors = std::move(parser.colors);
    for (const std::wstring& key : parser.failed) {
        auto old = m_colors.find(key);
        if (old != m_colors.end()) colors.emplace(key, old->second);
    }
    m_colors.swap(colors);
    for (auto& [key, lf] : parser.fonts) {
        auto& slot = m_fonts[key];
        if (!slot.object) slot.object = std::make_unique<CFont>();
        SwapHandle(slot.object.get(), ::CreateFontIndirectW(&lf));
    }
    for (auto& [key, hbm] : bitmaps) {
        auto& slot = m_bitmaps[key];
        if (!slot.object) slot.object = std::make_unique<CBitmap>();
        SwapHandle(slot.object.get(), hbm);
    }
    for (auto& [key, slot] : m_fonts)
        if (parser.fonts.count(key))
            slot.present = true;
        else if (!parser.failed.count(key))
            slot.present = false;
    for (auto& [key, slot] : m_bitmaps)
        if (bitmaps.count(key))
            slot.present = true;
        else if (!parser.failed.count(key))
            slot.present = false;
    m_missing.clear();
    return true;
}

COLORREF CSkinPalette::GetColor(const wchar_t* key) {
    if (!key) return 0;
    auto it = m_colors.find(Key(key));
    if (it != m_colors.end()) return it->second;
    NoteMissing(&m_missing, L"color " + std::wstring(key));
    return 0;
}

template <class T>
T* CSkinPalette::FindObject(std::unordered_map<std::wstring, Slot<T>>& slots, const wchar_t* key, const wchar_t* kind) {
    if (!key) return nullptr;
    auto it = slots.find(Key(key));
    if (it != slots.end() && it->second.present) return it->second.object.get();
    NoteMissing(&m_missing, kind + std::wstring(key));
    return nullptr;
}

CFont* CSkinPalette::GetFont(const wchar_t* key) {
    return FindObject(m_fonts, key, L"font ");
}

CBitmap* CSkinPalette::GetBitmap(const wchar_t* key) {
    return FindObject(m_bitmaps, key, L"bitmap ");
}
