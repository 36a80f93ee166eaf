#include "TextExtentCache.h"

#include <cstring>

namespace tabcontrol {

// FNV-1a over the characters; the table takes its low bits, so they are mixed last.
uint64_t TextExtentCache::Hash(std::wstring_view text) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (wchar_t ch : text) h = (h ^ uint64_t(uint32_t(ch))) * 0x100000001b3ull;
    return h ^ (h >> 29);
}

const TextExtentCache::Entry* TextExtentCache::Probe(std::wstring_view text, uint64_t hash, size_t& nSlot) const {
    const size_t mask = m_slots.size() - 1;
    for (nSlot = size_t(hash) & mask;; nSlot = (nSlot + 1) & mask) {
        const uint32_t n = m_slots[nSlot];
        if (n == 0) return nullptr;
        const Entry& e = m_entries[n - 1];
        if (e.hash == hash && e.length == text.size() &&
            std::wmemcmp(m_chars.data() + e.offset, text.data(), text.size()) == 0)
            return &e;
    }
}

const CSize* TextExtentCache::Find(std::wstring_view text) const {
    if (m_slots.empty()) return nullptr;
    size_t nSlot = 0;
    const Entry* e = Probe(text, Hash(text), nSlot);
    return e ? &e->size : nullptr;
}

void TextExtentCache::Add(std::wstring_view text, CSize size) {
    // Offsets and lengths are 32-bit: a text that would not fit is simply not kept.
    if (text.size() > UINT32_MAX || m_chars.size() > UINT32_MAX - text.size()) return;
    if (m_entries.size() >= m_nLimit) Clear();
    if ((m_entries.size() + 1) * 2 > m_slots.size()) Grow();
    const uint64_t hash = Hash(text);
    size_t nSlot = 0;
    if (Probe(text, hash, nSlot)) return;  // kept already
    m_entries.push_back(Entry{hash, uint32_t(m_chars.size()), uint32_t(text.size()), size});
    m_chars.insert(m_chars.end(), text.begin(), text.end());
    m_slots[nSlot] = uint32_t(m_entries.size());
}

void TextExtentCache::Grow() {
    m_slots.assign(m_slots.empty() ? 64 : m_slots.size() * 2, 0);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        size_t nSlot = size_t(m_entries[i].hash) & mask;
        while (m_slots[nSlot] != 0) nSlot = (nSlot + 1) & mask;
        m_slots[nSlot] = uint32_t(i + 1);
    }
}

void TextExtentCache::Clear() {
    m_chars.clear();
    m_entries.clear();
    m_slots.clear();
}

bool TextExtentCache::IsForFont(bool bHasFont, const LOGFONT& lf) const {
    return m_bHasFont == bHasFont && (!bHasFont || std::memcmp(&m_logFont, &lf, sizeof(LOGFONT)) == 0);
}

void TextExtentCache::SetFont(bool bHasFont, const LOGFONT& lf) {
    Clear();
    m_bHasFont = bHasFont;
    m_logFont = lf;
}

}  // namespace tabcontrol
