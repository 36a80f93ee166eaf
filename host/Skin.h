// Skins on disk. A skin is a folder with a palette file, "palette.ini" (sections
// [colors], [fonts] and [bitmaps], keyed exactly by the palette keys the elements ask
// for), and sub-folders of factory bitmaps ("tab_control/arrow.bmp", "menu/menu_pic.bmp").
//
//   [colors]   CElementTabControl.Border = #3A4150        (or 58,65,80)
//   [fonts]    QuoteTab.Button = DejaVu Sans, -12, 400     (face, lfHeight[, weight[, italic[, underline]]])
//   [bitmaps]  scroll_bar.UpArrow = scroll_bar/up_arrow.bmp   (relative to the skin folder)
//
// Bad lines and missing files are reported with file and line; everything valid is
// kept. Loading another skin (or the same one again) keeps every font and bitmap
// object an element may still point at and swaps its contents, so a skin change
// shows at the next paint. What a load cannot read keeps its previous value: a bad
// line keeps its key's colour, font or bitmap, a picture that fails keeps the old
// picture, and a folder without a readable palette file changes nothing at all.
//
// Every file a skin names resolves inside the skin folder and must be a regular file
// (no absolute paths, no "..", no links leading out, no FIFOs or devices); sizes are
// bounded by SkinLimits. Factory pictures load when first asked for, not at start-up.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/HostServices.h"

struct SkinLimits {
    static constexpr uintmax_t kMaxPaletteBytes = 1 << 20;
    static constexpr uintmax_t kMaxImageFileBytes = 32 << 20;
    static constexpr int64_t kMaxImagePixels = 4 << 20;   // decoded, per picture (16 MB at 32 bits)
    static constexpr int64_t kMaxSkinPixels = 16 << 20;   // decoded, all pictures of one load
    static constexpr size_t kMaxFactoryNames = 4096;      // distinct folder/file names asked for
};

// A file the skin names, as a path under root; false with the reason when it is not a
// regular file inside the skin folder.
bool ResolveSkinFile(const std::string& root, const std::string& relative, std::string* path, std::string* error);
// The whole file, at most maxBytes.
bool ReadSkinFile(const std::string& root, const std::string& relative, uintmax_t maxBytes, std::string* bytes,
                  std::string* error);
// A skin picture in the screen's format. Its decoded pixels are taken from *pixelsLeft
// (when given); a picture that would pass it, or SkinLimits, is refused.
HBITMAP LoadSkinImage(const std::string& root, const std::string& relative, int64_t* pixelsLeft, std::string* error);

class CSkinPalette : public CSWPalette {
public:
    ~CSkinPalette() override;
    COLORREF GetColor(const wchar_t* key) override;
    CFont* GetFont(const wchar_t* key) override;
    CBitmap* GetBitmap(const wchar_t* key) override;

    // Reads dir/palette.ini. Problems are appended; returns false (changing nothing) when
    // the file cannot be read. Bitmaps take their pixels from *pixelsLeft when given.
    bool Load(const std::string& dir, std::vector<std::string>* problems, int64_t* pixelsLeft = nullptr);
    const std::set<std::wstring>& MissingKeys() const { return m_missing; }
    void ClearMissing() { m_missing.clear(); }

private:
    template <class T>
    struct Slot {
        std::unique_ptr<T> object;  // lives as long as the palette, whatever skin is loaded
        bool present = false;
    };
    // Hashed: a tab strip looks up some sixty colours a paint, and its keys share long
    // prefixes ("CElementTabControl."), which an ordered map compares again and again.
    std::unordered_map<std::wstring, COLORREF> m_colors;
    std::unordered_map<std::wstring, Slot<CFont>> m_fonts;
    std::unordered_map<std::wstring, Slot<CBitmap>> m_bitmaps;
    std::wstring m_key;  // the current look-up's key; keeps its capacity, so no allocation
    const std::wstring& Key(const wchar_t* key) { return m_key.assign(key); }
    std::set<std::wstring> m_missing;
    friend struct PaletteParser;
};

class CSkinBitmapFactory : public CUnknownTmp<IBitmapFactory> {
public:
    virtual ~CSkinBitmapFactory();
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    CBitmap* GetBitmap(const wchar_t* key) override;
    BOOL HasFolder(const wchar_t* folder) override;
    const wchar_t* GetSkinRoot() override;
    BOOL Reload() override;
    int GetLoadedCount() override;
    CBitmap* GetFolderBitmap(const wchar_t* folder, const wchar_t* fileName) override;

    // The skin folder the pictures come from; what was asked for before is read again.
    void SetRoot(const std::string& dir, int64_t pixelBudget = SkinLimits::kMaxSkinPixels);
    const std::set<std::wstring>& MissingFiles() const { return m_missing; }
    void ClearMissing() { m_missing.clear(); }
    std::vector<std::string> problems;  // pictures that exist but could not be read, since the last load

private:
    struct Entry {
        std::unique_ptr<CBitmap> bitmap;
        bool present = false;
    };
    Entry& LoadEntry(const std::wstring& relative_path);
    CBitmap* Find(std::wstring_view folder, std::wstring_view fileName);
    std::string m_root;
    std::wstring m_rootWide;
    int64_t m_pixelBudget = SkinLimits::kMaxSkinPixels;
    int64_t m_pixelsLeft = SkinLimits::kMaxSkinPixels;
    Entry& CacheEntry(const std::wstring& relative_path);  // finds or adds, indexed
    std::map<std::wstring, Entry> m_cache;                 // by "folder/file", in reload order
    std::unordered_map<std::wstring, Entry*> m_index;      // the same entries, hashed
    std::wstring m_keyBuffer;                              // "folder/file" of the current look-up; keeps its capacity
    std::set<std::wstring> m_missing;
};

// A loaded skin installed in the global environment.
class CSkin {
public:
    CSkin();
    ~CSkin();
    CSkin(const CSkin&) = delete;
    CSkin& operator=(const CSkin&) = delete;

    // Loads (or reloads) the skin folder and makes it the environment's palette and factory.
    // False when the folder has no readable palette file; the skin loaded before stays.
    bool Load(const std::string& dir);
    const std::string& Dir() const { return m_dir; }
    // Of the last load, and of the pictures read since.
    std::vector<std::string> Problems() const;
    CSkinPalette* Palette() const { return m_pPalette; }
    CSkinBitmapFactory* Factory() const { return m_pFactory; }

private:
    std::string m_dir;
    std::vector<std::string> m_problems;  // of the palette file
    CSkinPalette* m_pPalette;        // one reference held
    CSkinBitmapFactory* m_pFactory;  // one reference held
};
