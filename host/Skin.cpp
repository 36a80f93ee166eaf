// Index
//   1. Skin files     paths inside the skin folder, regular files, bounded sizes
//   2. Palette file parsing (IniFile.h)
//   3. CSkinPalette
//   4. CSkinBitmapFactory
//   5. CSkin
#include "Skin.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "IniFile.h"
#include "utf8.h"
#include "win32/runtime_ext.h"

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

// Callers may ask for any name: the list of missing ones is bounded like the cache.
void NoteMissing(std::set<std::wstring>* missing, const std::wstring& name) {
    if (missing->size() < SkinLimits::kMaxFactoryNames) missing->insert(name);
}

// Replaces the handle inside a long-lived wrapper, keeping the C++ object.
void SwapHandle(CGdiObject* pObject, HGDIOBJ hNew) {
    pObject->DeleteObject();
    pObject->Attach(hNew);
}

}  // namespace

// ---- 1. Skin files ------------------------------------------------------------------------------
namespace {

namespace fs = std::filesystem;

bool Fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

// Whether `inner` is `outer` or lies below it (both canonical).
bool IsInside(const fs::path& outer, const fs::path& inner) {
    auto o = outer.begin(), i = inner.begin();
    for (; o != outer.end(); ++o, ++i)
        if (i == inner.end() || *o != *i) return false;
    return true;
}

}  // namespace

bool ResolveSkinFile(const std::string& root, const std::string& relative, std::string* path, std::string* error) {
    if (relative.empty()) return Fail(error, "an empty file name");
    if (relative.find('\0') != std::string::npos) return Fail(error, "a NUL byte in the file name");
    const fs::path rel = fs::u8path(relative);
    const std::string shown = root + "/" + relative;
    if (rel.has_root_name() || rel.has_root_directory())
        return Fail(error, "'" + relative + "' is an absolute path; skin files are named relative to the skin folder");
    for (const fs::path& part : rel)
        if (part == "..") return Fail(error, "'" + relative + "' leaves the skin folder");
    const fs::path full = fs::u8path(root) / rel;
    std::error_code ec;
    const fs::file_status st = fs::status(full, ec);
    if (!fs::exists(st)) return Fail(error, shown + ": no such file");
    if (fs::is_directory(st)) return Fail(error, shown + ": a folder, not a file");
    // A FIFO or a device would block the reader or never end.
    if (!fs::is_regular_file(st)) return Fail(error, shown + ": not a regular file");
    // A link inside the folder may still point out of it.
    std::error_code ecRoot, ecFull;
    const fs::path canonicalRoot = fs::canonical(fs::u8path(root), ecRoot);
    const fs::path canonicalFull = fs::canonical(full, ecFull);
    if (ecRoot || ecFull || !IsInside(canonicalRoot, canonicalFull))
        return Fail(error, "'" + relative + "' leaves the skin folder");
    if (path) *path = full.u8string();
    return true;
}

bool ReadSkinFile(const std::string& root, const std::string& relative, uintmax_t maxBytes, std::string* bytes,
                  std::string* error) {
    std::string path;
    if (!ResolveSkinFile(root, relative, &path, error)) return false;
    std::error_code ec;
    const uintmax_t size = fs::file_size(fs::u8path(path), ec);
    if (ec) return Fail(error, path + ": cannot read: " + ec.message());
    if (size > maxBytes)
        return Fail(error, path + ": " + std::to_string(size) + " bytes; the limit is " + std::to_string(maxBytes));
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) return Fail(error, path + ": cannot open");
    bytes->assign(size_t(size), '\0');
    // The file may have grown since: what is read stays within the size checked above.
    in.read(bytes->data(), std::streamsize(size));
    bytes->resize(size_t(in.gcount()));
    if (in.bad()) return Fail(error, path + ": cannot read");
    return true;
}

namespace {

// The picture's size from its header, before anything is decoded: width and rows, or
// false when the header is too short to tell (the decoder then says what is wrong).
bool PeekBmpSize(const std::string& bytes, int64_t* width, int64_t* rows) {
    auto u8 = [&](size_t at) { return uint32_t(uint8_t(bytes[at])); };
    auto u16 = [&](size_t at) { return u8(at) | (u8(at + 1) << 8); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    if (u32(14) == 12) {  // the old core header: 16-bit sizes
        *width = u16(18);
        *rows = u16(20);
        return true;
    }
    *width = std::llabs(int64_t(int32_t(u32(18))));
    *rows = std::llabs(int64_t(int32_t(u32(22))));
    return true;
}

// Skin images are only ever blitted: they are kept as device-dependent bitmaps, in the
// screen's format (32-bit, top-down), which copy as whole blocks. The file's own
// bottom-up DIB section would be copied row by row at every paint. The pixels are the same.
HBITMAP ToScreenFormat(HBITMAP dib) {
    BITMAP bm{};
    if (!::GetObjectW(dib, sizeof bm, &bm)) return nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP ddb = ::CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight);
    ::ReleaseDC(nullptr, screen);
    if (!ddb) return nullptr;
    HDC src = ::CreateCompatibleDC(nullptr), dst = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = ::SelectObject(src, dib), oldDst = ::SelectObject(dst, ddb);
    ::BitBlt(dst, 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
    ::SelectObject(src, oldSrc);
    ::SelectObject(dst, oldDst);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    return ddb;
}

}  // namespace

HBITMAP LoadSkinImage(const std::string& root, const std::string& relative, int64_t* pixelsLeft, std::string* error) {
    std::string bytes;
    if (!ReadSkinFile(root, relative, SkinLimits::kMaxImageFileBytes, &bytes, error)) return nullptr;
    const std::string path = root + "/" + relative;
    int64_t width = 0, rows = 0;
    if (PeekBmpSize(bytes, &width, &rows)) {
        const int64_t pixels = width * rows;
        if (pixels > SkinLimits::kMaxImagePixels) {
            Fail(error, path + ": " + std::to_string(width) + " x " + std::to_string(rows) +
                            " pixels; a skin image may have at most " + std::to_string(SkinLimits::kMaxImagePixels));
            return nullptr;
        }
        if (pixelsLeft && pixels > *pixelsLeft) {
            Fail(error, path + ": " + std::to_string(width) + " x " + std::to_string(rows) +
                            " pixels would take the skin's images past " +
                            std::to_string(SkinLimits::kMaxSkinPixels) + " pixels in all");
            return nullptr;
        }
        if (pixelsLeft) *pixelsLeft -= pixels;
    }
    std::string why;
    HBITMAP dib = rt::LoadBmpMemory(bytes.data(), bytes.size(), &why);
    if (!dib) {
        Fail(error, path + ": " + why);
        return nullptr;
    }
    HBITMAP ddb = ToScreenFormat(dib);
    ::DeleteObject(dib);
    if (!ddb) Fail(error, path + ": cannot be converted to the screen's format");
    return ddb;
}

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

bool CSkinPalette::Load(const std::string& dir, std::vector<std::string>* problems, int64_t* pixelsLeft) {
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

    int64_t ownBudget = SkinLimits::kMaxSkinPixels;
    if (!pixelsLeft) pixelsLeft = &ownBudget;
    std::unordered_map<std::wstring, HBITMAP> bitmaps;
    std::unordered_map<std::wstring, size_t> lastLine;
    for (size_t i = 0; i < parser.bitmapLines.size(); ++i) lastLine[parser.bitmapLines[i].key] = i;
    for (size_t i = 0; i < parser.bitmapLines.size(); ++i) {
        const PaletteParser::BitmapLine& b = parser.bitmapLines[i];
        if (lastLine[b.key] != i) continue;
        HBITMAP hbm = LoadSkinImage(dir, b.path, pixelsLeft, &error);
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

CFont* CSkinPalette::GetFont(const wchar_t* key) {
    if (!key) return nullptr;
    auto it = m_fonts.find(Key(key));
    if (it != m_fonts.end() && it->second.present) return it->second.object.get();
    NoteMissing(&m_missing, L"font " + std::wstring(key));
    return nullptr;
}

CBitmap* CSkinPalette::GetBitmap(const wchar_t* key) {
    if (!key) return nullptr;
    auto it = m_bitmaps.find(Key(key));
    if (it != m_bitmaps.end() && it->second.present) return it->second.object.get();
    NoteMissing(&m_missing, L"bitmap " + std::wstring(key));
    return nullptr;
}

// ---- 4. CSkinBitmapFactory ----------------------------------------------------------------
CSkinBitmapFactory::~CSkinBitmapFactory() = default;

HRESULT CSkinBitmapFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!IsEqualIID(riid, IID_IUnknown)) return E_FAIL;
    if (!ppv) return E_POINTER;
    AddRef();
    *ppv = static_cast<IUnknown*>(this);
    return S_OK;
}
ULONG CSkinBitmapFactory::AddRef() {
    return ULONG(InterlockedIncrement(&m_lRefCount));
}
ULONG CSkinBitmapFactory::Release() {
    const LONG n = InterlockedDecrement(&m_lRefCount);
    if (n == 0) delete this;
    return ULONG(n);
}

void CSkinBitmapFactory::SetRoot(const std::string& dir, int64_t pixelBudget) {
    m_root = dir;
    m_rootWide = rt::Utf8ToWide(dir);
    m_pixelBudget = pixelBudget;
    // Only the pictures asked for so far are read again; the others load when first asked.
    Reload();
}

CSkinBitmapFactory::Entry& CSkinBitmapFactory::CacheEntry(const std::wstring& relative_path) {
    Entry& entry = m_cache[relative_path];
    m_index.emplace(relative_path, &entry);  // map entries never move
    return entry;
}

CSkinBitmapFactory::Entry& CSkinBitmapFactory::LoadEntry(const std::wstring& relative_path) {
    Entry& entry = CacheEntry(relative_path);
    if (!entry.bitmap) entry.bitmap = std::make_unique<CBitmap>();
    const std::string relative = rt::WideToUtf8(relative_path);
    std::string path, error;
    // A file this skin does not have is only missing (the caller asked for a name); one it
    // has but cannot use is a problem. Either way a picture loaded before stays.
    const bool exists = ResolveSkinFile(m_root, relative, &path, &error);
    HBITMAP hbm = exists ? LoadSkinImage(m_root, relative, &m_pixelsLeft, &error) : nullptr;
    if (hbm) {
        SwapHandle(entry.bitmap.get(), hbm);
        entry.present = true;
    } else if (exists || entry.present) {
        problems.push_back(error + (entry.present ? "; the previous picture is kept" : ""));
    }
    return entry;
}

CBitmap* CSkinBitmapFactory::Find(std::wstring_view folder, std::wstring_view fileName) {
    if (fileName.empty()) return nullptr;
    m_keyBuffer.assign(folder).append(1, L'/').append(fileName);
    // A name that climbs out of the skin folder is not a skin bitmap.
    if (m_keyBuffer.find(L"..") != std::wstring::npos) return nullptr;
    auto it = m_index.find(m_keyBuffer);
    if (it == m_index.end() && m_cache.size() >= SkinLimits::kMaxFactoryNames) {
        NoteMissing(&m_missing, m_keyBuffer);
        return nullptr;
    }
    // LoadEntry may insert into the cache, so it gets its own copy of the key.
    Entry& entry = it != m_index.end() ? *it->second : LoadEntry(std::wstring(m_keyBuffer));
    if (entry.present) return entry.bitmap.get();
    NoteMissing(&m_missing, m_keyBuffer);
    return nullptr;
}

CBitmap* CSkinBitmapFactory::GetFolderBitmap(const wchar_t* folder, const wchar_t* fileName) {
    if (!folder || !fileName) return nullptr;
    return Find(folder, fileName);
}

CBitmap* CSkinBitmapFactory::GetBitmap(const wchar_t* key) {
    if (!key) return nullptr;
    const std::wstring_view k(key);
    const size_t slash = k.find(L'/');
    if (slash == std::wstring_view::npos) return nullptr;
    return Find(k.substr(0, slash), k.substr(slash + 1));
}

BOOL CSkinBitmapFactory::HasFolder(const wchar_t* folder) {
    if (!folder || !*folder) return FALSE;
    const std::string name = rt::WideToUtf8(folder);
    if (name.find("..") != std::string::npos || name[0] == '/') return FALSE;
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::u8path(m_root + "/" + name), ec) ? TRUE : FALSE;
}

const wchar_t* CSkinBitmapFactory::GetSkinRoot() {
    return m_rootWide.c_str();
}

BOOL CSkinBitmapFactory::Reload() {
    m_pixelsLeft = m_pixelBudget;
    problems.clear();
    m_missing.clear();
    for (auto& [rel, entry] : m_cache) LoadEntry(rel);
    return TRUE;
}

int CSkinBitmapFactory::GetLoadedCount() {
    int n = 0;
    for (auto& [rel, entry] : m_cache) n += entry.present ? 1 : 0;
    return n;
}

// ---- 5. CSkin --------------------------------------------------------------------------------
CSkin::CSkin() : m_pPalette(new CSkinPalette), m_pFactory(new CSkinBitmapFactory) {
    m_pPalette->AddRef();
    m_pFactory->AddRef();
}

CSkin::~CSkin() {
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    if (env && env->GetSkinPalette() == static_cast<IUnknown*>(m_pPalette)) env->SetSkinPalette(nullptr);
    if (env && env->GetBitmapFactory() == static_cast<IUnknown*>(m_pFactory)) env->SetBitmapFactory(nullptr);
    m_pPalette->Release();
    m_pFactory->Release();
}

bool CSkin::Load(const std::string& dir) {
    m_problems.clear();
    int64_t pixelsLeft = SkinLimits::kMaxSkinPixels;
    const bool ok = m_pPalette->Load(dir, &m_problems, &pixelsLeft);
    // Without its palette file the folder is no skin: the loaded one stays whole.
    if (ok) {
        m_dir = dir;
        m_pFactory->SetRoot(dir, pixelsLeft);
    }
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    env->SetSkinPalette(m_pPalette);
    env->SetBitmapFactory(m_pFactory);
    return ok;
}

std::vector<std::string> CSkin::Problems() const {
    std::vector<std::string> all = m_problems;
    all.insert(all.end(), m_pFactory->problems.begin(), m_pFactory->problems.end());
    return all;
}
