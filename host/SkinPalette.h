// The skin's palette: colours, fonts and bitmaps by key, from the skin folder's
// "palette.ini" (format in Skin.h). Font and bitmap objects live as long as the palette;
// a reload swaps their contents.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/HostServices.h"

class CSkinPalette : public CSWPalette {
public:
    ~CSkinPalette() override;
    COLORREF GetColor(const wchar_t* key) override;
    CFont* GetFont(const wchar_t* key) override;
    CBitmap* GetBitmap(const wchar_t* key) override;

    // Reads dir/palette.ini. Problems are appended; returns false (changing nothing) when
    // the file cannot be read. Bitmaps take their pixels from *pixels_left when given.
    bool Load(const std::string& dir, std::vector<std::string>* problems, int64_t* pixels_left = nullptr);
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
    // The present object of key, or null with "<kind>key" noted as missing.
    template <class T>
    T* FindObject(std::unordered_map<std::wstring, Slot<T>>& slots, const wchar_t* key, const wchar_t* kind);
    std::set<std::wstring> m_missing;
    friend struct PaletteParser;
};
