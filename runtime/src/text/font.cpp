// Fonts: LOGFONT -> font file through fontconfig, the face cache, TEXTMETRIC values
// and the font-related GDI entry points.
//
// Index
//   1. Platform libraries   FreeType and fontconfig handles, made once
//   2. Matching             LOGFONT face name, weight and slant -> file
//   3. Opening              FT_Face at a pixel size, metrics as Windows reports them
//   4. Face cache           LOGFONT properties -> shared FontFace
//   5. Font lookup          the face behind a Font or a DC
//   6. Entry points         CreateFont*, GetTextMetrics, GetTextFace, extents
//
// Text is always laid out horizontally: lfEscapement and lfOrientation are kept in the
// LOGFONT but not applied.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "text_private.h"
#include "utf8.h"

namespace text {
namespace {

// ---- 1. Platform libraries -------------------------------------------------------------
FT_Library Library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) return FT_Library(nullptr);
        return l;
    }();
    return lib;
}

FcConfig* FontConfig() {
    static FcConfig* config = FcInitLoadConfigAndFonts();
    return config;
}

}  // namespace
}  // namespace text

#if defined(__SANITIZE_ADDRESS__)
// fontconfig loses a few bytes while parsing its configuration files; that is the
// library's, not ours, and would fail every sanitizer run that touches a font.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace text {
namespace {

std::wstring FaceNameOf(const LOGFONTW& lf) {
    size_t n = 0;
    while (n < LF_FACESIZE && lf.lfFaceName[n]) ++n;
    return std::wstring(lf.lfFaceName, n);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = wchar_t(x + 32);
        if (y >= L'A' && y <= L'Z') y = wchar_t(y + 32);
        if (x != y) return false;
    }
    return true;
}

// ---- 2. Matching --------------------------------------------------------------------------
struct Match {
    std::string file;
    int index = 0;
    std::vector<std::wstring> families;
    int fcWeight = FC_WEIGHT_REGULAR;
    int fcSlant = FC_SLANT_ROMAN;
};

bool MatchFamily(const std::string& family_utf8, int weight, bool italic, Match* out) {
    FcConfig* config = FontConfig();
    if (!config) return false;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family_utf8.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pat, &result);
    FcPatternDestroy(pat);
    if (!match) return false;
    FcChar8* file = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        out->file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &out->index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &out->fcWeight);
        FcPatternGetInteger(match, FC_SLANT, 0, &out->fcSlant);
        FcChar8* fam = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &fam) == FcResultMatch; ++i)
            out->families.push_back(rt::Utf8ToWide(reinterpret_cast<const char*>(fam)));
    }
    FcPatternDestroy(match);
    return ok;
}

bool WantsFixedPitch(const LOGFONTW& lf, const std::wstring& name) {
    if ((lf.lfPitchAndFamily & 3) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN) return true;
    static const wchar_t* const kFixedNames[] = {L"Courier",        L"Courier New", L"Consolas",
                                                 L"Lucida Console", L"Fixedsys",    L"Terminal"};
    for (const wchar_t* n : kFixedNames)
        if (SameName(name, n)) return true;
    return false;
}

// A face that is installed resolves to itself; anything else ("MS Shell Dlg", "Tahoma",
// "SimSun", ...) lands on the sans-serif face, or the monospaced one for fixed pitch.
struct Resolved {
    Match match;
    std::wstring family;
};
bool Resolve(const LOGFONTW& lf, Resolved* out) {
    GetStats().resolutions++;
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::min<int>(lf.lfWeight, 1000);
    const bool italic = lf.lfItalic != 0;
    const std::wstring name = FaceNameOf(lf);
    if (!name.empty()) {
        Match m;
        if (MatchFamily(rt::WideToUtf8(name), weight, italic, &m)) {
            for (const std::wstring& fam : m.families) {
                if (SameName(fam, name)) {
                    out->match = std::move(m);
                    out->family = fam;
                    return true;
                }
            }
        }
    }
    Match m;
    const char* fallback = WantsFixedPitch(lf, name) ? "DejaVu Sans Mono" : "DejaVu Sans";
    if (!MatchFamily(fallback, weight, italic, &m)) return false;
    out->family = m.families.empty() ? rt::Utf8ToWide(fallback) : m.families.front();
    out->match = std::move(m);
    return true;
}

// ---- 3. Opening ------------------------------------------------------------------------------
struct OpenParams {
    const Resolved* resolved;
    LONG height;
    LONG width;
    bool mono;
    bool wantBold;
    bool wantItalic;
};

int Round(double v) {
    return int(std::lround(v));
}

// Metrics follow Windows' rules for TrueType fonts: the cell is usWinAscent +
// usWinDescent, the em is what a negative lfHeight asks for.
void ComputeMetrics(gdi::FontFace& f, const OpenParams& p) {
    FT_Face ft = f.ft;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
    const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(ft, FT_SFNT_POST));
    const double upem = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
    double winAscent = ft->ascender, winDescent = -ft->descender;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        winAscent = os2->usWinAscent;
        winDescent = os2->usWinDescent;
    }
    const double cell = std::max(1.0, winAscent + winDescent);

    // lfHeight 0 asks for the default: a 16-pixel cell, as the system gives it.
    const int64_t height = p.height == 0 ? 16 : p.height;
    double scale;  // pixels per font unit, vertically
    if (height < 0)
        scale = double(-height) / upem;
    else
        scale = double(height) / cell;
    f.ppem = std::max(1, Round(upem * scale));
    f.descent = Round(winDescent * scale);
    f.ascent = height > 0 ? int(height) - f.descent : Round(winAscent * scale);
    f.height = f.ascent + f.descent;
    f.internalLeading = f.height - f.ppem;

    int xppem = f.ppem;
    if (p.width > 0 && os2 && os2->xAvgCharWidth > 0) xppem = std::max(1, Round(upem * p.width / os2->xAvgCharWidth));
    const double xscale = xppem / upem;
    FT_Set_Pixel_Sizes(ft, FT_UInt(xppem), FT_UInt(f.ppem));

    if (hhea) {
        const double typo = double(hhea->Ascender) - double(hhea->Descender);
        f.externalLeading = std::max(0, Round((hhea->Line_Gap - ((winAscent + winDescent) - typo)) * scale));
        f.maxCharWidth = Round(hhea->advance_Width_Max * xscale);
    }
    f.aveCharWidth = os2 && os2->xAvgCharWidth > 0 ? Round(os2->xAvgCharWidth * xscale) : Round(upem * xscale / 2);
    f.synthBold = p.wantBold && p.resolved->match.fcWeight < FC_WEIGHT_DEMIBOLD;
    f.synthItalic = p.wantItalic && p.resolved->match.fcSlant == FC_SLANT_ROMAN;
    f.weight = f.synthBold ? FW_BOLD : (os2 ? os2->usWeightClass : FW_NORMAL);
    f.italic = p.wantItalic || p.resolved->match.fcSlant != FC_SLANT_ROMAN;
    f.fixedPitch = FT_IS_FIXED_WIDTH(ft);
    if (os2 && os2->version != 0xFFFF) {
        f.firstChar = WCHAR(os2->usFirstCharIndex);
        f.lastChar = WCHAR(os2->usLastCharIndex);
        if (os2->version >= 2) {
            f.defaultChar = os2->usDefaultChar ? WCHAR(os2->usDefaultChar) : f.firstChar;
            f.breakChar = os2->usBreakChar ? WCHAR(os2->usBreakChar) : WCHAR(0x20);
        }
        f.strikeOffset = -Round(os2->yStrikeoutPosition * scale);
        f.strikeThickness = std::max(1, Round(os2->yStrikeoutSize * scale));
    } else {
        f.strikeOffset = -f.ascent / 3;
    }
    if (post) {
        f.underlineOffset = std::max(1, Round(-post->underlinePosition * scale));
        f.underlineThickness = std::max(1, Round(post->underlineThickness * scale));
    }
}

std::shared_ptr<gdi::FontFace> Open(const OpenParams& p) {
    FT_Library lib = Library();
    if (!lib) return nullptr;
    FT_Face ft = nullptr;
    if (FT_New_Face(lib, p.resolved->match.file.c_str(), p.resolved->match.index, &ft) != 0) return nullptr;
    GetStats().facesOpened++;
    auto face = std::make_shared<gdi::FontFace>();
    face->ft = ft;
    face->family = p.resolved->family;
    face->mono = p.mono;
    ComputeMetrics(*face, p);
    return face;
}

// ---- 4. Face cache ---------------------------------------------------------------------------
// Keyed by the LOGFONT fields that change the face; underline and strike-out are drawn
// per font and do not take part.
struct FaceKey {
    std::array<wchar_t, LF_FACESIZE> name{};
    int32_t height = 0;
    int32_t width = 0;
    bool bold = false;
    bool italic = false;
    bool mono = false;
    bool fixed = false;
    bool operator==(const FaceKey& o) const {
        return name == o.name && height == o.height && width == o.width && bold == o.bold && italic == o.italic &&
               mono == o.mono && fixed == o.fixed;
    }
};
struct FaceKeyHash {
    size_t operator()(const FaceKey& k) const {
        uint64_t h = 1469598103934665603ull;
        auto mix = [&h](uint64_t v) { h = (h ^ v) * 1099511628211ull; };
        for (wchar_t c : k.name) {
            if (!c) break;
            mix(uint64_t(uint32_t(c)));
        }
        mix(uint32_t(k.height));
        mix(uint32_t(k.width));
        mix((k.bold ? 1 : 0) | (k.italic ? 2 : 0) | (k.mono ? 4 : 0) | (k.fixed ? 8 : 0));
        return size_t(h);
    }
};

FaceKey KeyOf(const LOGFONTW& lf) {
    FaceKey k;
    for (size_t i = 0; i < LF_FACESIZE && lf.lfFaceName[i]; ++i) {
        wchar_t c = lf.lfFaceName[i];
        k.name[i] = (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c;
    }
    k.height = lf.lfHeight;
    k.width = lf.lfWidth < 0 ? 0 : lf.lfWidth;
    k.bold = lf.lfWeight >= FW_SEMIBOLD;
    k.italic = lf.lfItalic != 0;
    k.mono = lf.lfQuality == NONANTIALIASED_QUALITY;
    k.fixed = (lf.lfPitchAndFamily & 3) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN;
    return k;
}

// Faces are opened once per file, size and rendering flags, however many LOGFONT names
// lead to them.
struct FileKey {
    std::string file;
    int index;
    int32_t height, width;
    bool mono, bold, italic;
    bool operator==(const FileKey& o) const {
        return file == o.file && index == o.index && height == o.height && width == o.width && mono == o.mono &&
               bold == o.bold && italic == o.italic;
    }
};
struct FileKeyHash {
    size_t operator()(const FileKey& k) const {
        size_t h = std::hash<std::string>()(k.file);
        h = h * 31 + size_t(k.index);
        h = h * 31 + size_t(uint32_t(k.height));
        h = h * 31 + size_t(uint32_t(k.width));
        return h * 8 + size_t((k.mono ? 1 : 0) | (k.bold ? 2 : 0) | (k.italic ? 4 : 0));
    }
};

// Elements make a font, draw with it and delete it every paint, so the same LOGFONT comes
// back again and again. The last few are remembered by their bytes: an identical LOGFONT
// has an identical key, so a byte match skips building and hashing the key. A miss (even
// one caused by bytes after the face name's terminator) just takes the map.
struct RecentFaces {
    static constexpr size_t kSize = 4;
    std::array<LOGFONTW, kSize> lf{};
    std::array<std::shared_ptr<gdi::FontFace>, kSize> face;
    size_t next = 0;

    gdi::FontFace* Find(const LOGFONTW& want, std::shared_ptr<gdi::FontFace>* out) const {
        for (size_t i = 0; i < kSize; ++i)
            if (face[i] && std::memcmp(&lf[i], &want, sizeof want) == 0) return (*out = face[i]).get();
        return nullptr;
    }
    void Remember(const LOGFONTW& l, const std::shared_ptr<gdi::FontFace>& f) {
        lf[next] = l;
        face[next] = f;
        next = (next + 1) % kSize;
    }
};

struct FaceCache {
    static constexpr size_t kMaxEntries = 256;
    std::unordered_map<FaceKey, std::shared_ptr<gdi::FontFace>, FaceKeyHash> byLogFont;
    std::unordered_map<FileKey, std::weak_ptr<gdi::FontFace>, FileKeyHash> byFile;
    RecentFaces recent;

    // Drops faces nobody but the cache holds once it grows past its bound.
    void Trim() {
        if (byLogFont.size() < kMaxEntries) return;
        for (auto it = byLogFont.begin(); it != byLogFont.end();)
            it = it->second.use_count() == 1 ? byLogFont.erase(it) : std::next(it);
        for (auto it = byFile.begin(); it != byFile.end();)
            it = it->second.expired() ? byFile.erase(it) : std::next(it);
    }
};

FaceCache& Cache() {
    static FaceCache cache;  // like the platform's font cache: one per process
    return cache;
}

std::shared_ptr<gdi::FontFace> FaceFor(const LOGFONTW& lf) {
    FaceCache& cache = Cache();
    std::shared_ptr<gdi::FontFace> face;
    if (cache.recent.Find(lf, &face)) return face;

    const FaceKey key = KeyOf(lf);
    auto it = cache.byLogFont.find(key);
    if (it != cache.byLogFont.end()) {
        cache.recent.Remember(lf, it->second);
        return it->second;
    }

    Resolved resolved;
    if (!Resolve(lf, &resolved)) return nullptr;
    const OpenParams params{&resolved, key.height, key.width, key.mono, key.bold, key.italic};
    FileKey fileKey{resolved.match.file, resolved.match.index, key.height, key.width, key.mono, key.bold, key.italic};
    face = cache.byFile[fileKey].lock();
    if (!face) {
        face = Open(params);
        if (!face) return nullptr;
        cache.byFile[fileKey] = face;
    }
    cache.Trim();
    cache.byLogFont.emplace(key, face);
    cache.recent.Remember(lf, face);
    return face;
}

const LOGFONTW& DefaultLogFont() {
    static const LOGFONTW lf = [] {
        LOGFONTW l{};
        l.lfWeight = FW_NORMAL;
        l.lfCharSet = DEFAULT_CHARSET;
        const wchar_t* name = L"System";
        for (size_t i = 0; name[i]; ++i) l.lfFaceName[i] = name[i];
        return l;
    }();
    return lf;
}

}  // namespace

// ---- 5. Font lookup ----------------------------------------------------------------------------
FontRef FontOf(gdi::Font* font) {
    if (!font) return FontRef{};
    if (!font->face) font->face = FaceFor(font->lf);
    return FontRef{font->face.get(), &font->lf};
}

FontRef FontOf(gdi::DC* dc) {
    FontRef ref = FontOf(dc ? gdi::Get<gdi::Font>(dc->s.font) : nullptr);
    if (ref.face) return ref;
    static const std::shared_ptr<gdi::FontFace> fallback = FaceFor(DefaultLogFont());  // the system font
    return FontRef{fallback.get(), &DefaultLogFont()};
}

void FillTextMetrics(const FontRef& font, TEXTMETRICW* tm) {
    const gdi::FontFace& f = *font.face;
    *tm = TEXTMETRICW{};
    tm->tmHeight = f.height;
    tm->tmAscent = f.ascent;
    tm->tmDescent = f.descent;
    tm->tmInternalLeading = f.internalLeading;
    tm->tmExternalLeading = f.externalLeading;
    tm->tmAveCharWidth = f.aveCharWidth;
    tm->tmMaxCharWidth = f.maxCharWidth;
    tm->tmWeight = f.weight;
    tm->tmOverhang = 0;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = f.firstChar;
    tm->tmLastChar = f.lastChar;
    tm->tmDefaultChar = f.defaultChar;
    tm->tmBreakChar = f.breakChar;
    tm->tmItalic = f.italic ? 255 : 0;
    tm->tmUnderlined = font.lf->lfUnderline ? 255 : 0;
    tm->tmStruckOut = font.lf->lfStrikeOut ? 255 : 0;
    // TMPF_FIXED_PITCH (bit 0) is set for variable-pitch fonts; vector and TrueType bits.
    tm->tmPitchAndFamily = BYTE((f.fixedPitch ? 0 : 1) | 2 | 4 | (f.fixedPitch ? FF_MODERN : FF_SWISS));
    tm->tmCharSet = font.lf->lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : font.lf->lfCharSet;
}

int64_t MeasureRun(gdi::FontFace& face, const wchar_t* s, int count) {
    int64_t w = 0;
    for (int i = 0; i < count; ++i) w += face.Advance(uint32_t(s[i]));
    return w;
}

Stats& GetStats() {
    static Stats stats;
    return stats;
}

}  // namespace text

// ---- 6. Entry points -------------------------------------------------------------------------------
HFONT CreateFontIndirectW(const LOGFONTW* lplf) {
    if (!lplf) return nullptr;
    auto font = std::make_unique<gdi::Font>();
    font->lf = *lplf;
    return static_cast<HFONT>(gdi::Insert(std::move(font)));
}

HFONT CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                  DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                  DWORD iQuality, DWORD iPitchAndFamily, LPCWSTR pszFaceName) {
    LOGFONTW lf{};
    lf.lfHeight = cHeight;
    lf.lfWidth = cWidth;
    lf.lfEscapement = cEscapement;
    lf.lfOrientation = cOrientation;
    lf.lfWeight = cWeight;
    lf.lfItalic = BYTE(bItalic);
    lf.lfUnderline = BYTE(bUnderline);
    lf.lfStrikeOut = BYTE(bStrikeOut);
    lf.lfCharSet = BYTE(iCharSet);
    lf.lfOutPrecision = BYTE(iOutPrecision);
    lf.lfClipPrecision = BYTE(iClipPrecision);
    lf.lfQuality = BYTE(iQuality);
    lf.lfPitchAndFamily = BYTE(iPitchAndFamily);
    for (size_t i = 0; pszFaceName && i + 1 < LF_FACESIZE && pszFaceName[i]; ++i) lf.lfFaceName[i] = pszFaceName[i];
    return CreateFontIndirectW(&lf);
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc || !lptm) return FALSE;
    const text::FontRef font = text::FontOf(dc);
    if (!font.face) return FALSE;
    text::FillTextMetrics(font, lptm);
    return TRUE;
}

// The face name asked for when it is installed, otherwise the family drawn with.
int GetTextFaceW(HDC hdc, int c, LPWSTR lpName) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc) return 0;
    const text::FontRef font = text::FontOf(dc);
    if (!font.face) return 0;
    std::wstring name = text::FaceNameOf(*font.lf);
    if (!text::SameName(name, font.face->family)) name = font.face->family;
    if (!lpName) return int(name.size()) + 1;
    if (c <= 0) return 0;
    const size_t n = std::min(name.size(), size_t(c - 1));
    std::copy(name.begin(), name.begin() + ptrdiff_t(n), lpName);
    lpName[n] = 0;
    return int(n) + 1;
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit, LPINT lpnDx,
                           LPSIZE lpSize) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc || cchString < 0 || (cchString > 0 && !lpszString)) return FALSE;
    const text::FontRef font = text::FontOf(dc);
    if (!font.face) return FALSE;
    int64_t extent = 0;
    int fit = 0;
    for (int i = 0; i < cchString; ++i) {
        extent += font.face->Advance(uint32_t(lpszString[i]));
        if (extent <= nMaxExtent && fit == i) fit = i + 1;
        if (lpnDx) lpnDx[i] = int(std::min<int64_t>(extent, INT32_MAX));
    }
    if (lpnFit) *lpnFit = fit;
    if (lpSize)  // an empty string has no height either
        *lpSize = SIZE{LONG(std::min<int64_t>(extent, INT32_MAX)), cchString > 0 ? font.face->height : 0};
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
    if (!psizl) return FALSE;
    return GetTextExtentExPointW(hdc, lpString, c, 0, nullptr, nullptr, psizl);
}

BOOL GetTextExtentPointW(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
    return GetTextExtentPoint32W(hdc, lpString, c, psizl);
}

LONG GdiGetCharDimensions(HDC hdc, LPTEXTMETRICW lptm, LONG* height) {
    static const wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    TEXTMETRICW tm{};
    SIZE letters{};
    if (!GetTextMetricsW(hdc, &tm) || !GetTextExtentPoint32W(hdc, kLetters, 52, &letters)) return 0;
    if (lptm) *lptm = tm;
    if (height) *height = tm.tmHeight;
    return (letters.cx + 26) / 52;
}
