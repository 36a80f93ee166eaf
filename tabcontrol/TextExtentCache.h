// Text widths by string, for one font: what the tab control measured, so that layout
// passes over a long strip never measure a name twice.
//
// Flat on purpose: the names lie back to back in one buffer and the entries in the order
// they were measured, found through an open-addressed table of entry numbers. A walk over
// thousands of tabs asks in about that order, so a look-up costs one probe of the table
// (small enough to stay in cache) and reads the entries and names in order.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform.h"

namespace tabcontrol {

class TextExtentCache {
public:
    explicit TextExtentCache(size_t nLimit) : m_nLimit(nLimit) {}

    // The width measured for this text, or null.
    const CSize* Find(std::wstring_view text) const;
    // Records a width (the text must not be in the cache). Past the limit of distinct
    // texts everything is forgotten first.
    void Add(std::wstring_view text, CSize size);
    void Clear();
    size_t GetCount() const { return m_entries.size(); }

    // The font the widths belong to; a change of font clears the cache.
    bool IsForFont(bool bHasFont, const LOGFONT& lf) const;
    void SetFont(bool bHasFont, const LOGFONT& lf);

private:
    struct Entry {
        uint64_t hash;
        uint32_t offset;  // into m_chars
        uint32_t length;
        CSize size;
    };
    static uint64_t Hash(std::wstring_view text);
    const Entry* Probe(std::wstring_view text, uint64_t hash, size_t& nSlot) const;
    void Grow();

    size_t m_nLimit;
    std::vector<wchar_t> m_chars;   // every text measured, back to back
    std::vector<Entry> m_entries;   // in the order measured
    std::vector<uint32_t> m_slots;  // entry number + 1, 0 free; a power of two, at most half full
    LOGFONT m_logFont{};
    bool m_bHasFont = false;
};

}  // namespace tabcontrol
