// The skin's factory pictures: "folder/file" names under the skin folder, loaded when
// first asked for and kept; a new root reads what was asked for again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "SkinFiles.h"

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
    void SetRoot(const std::string& dir, int64_t pixel_budget = SkinLimits::kMaxSkinPixels);
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
