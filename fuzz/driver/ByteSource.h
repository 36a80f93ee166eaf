// Where the element drivers take their choices from: the bytes of a fuzz input, or a
// pseudo-random stream for the soak. Every value is derived from bytes so that a fuzz
// input replays exactly; an exhausted input reads as zeros.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kfuzz {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool Done() const = 0;
    virtual uint8_t Byte() = 0;

    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
        return v;
    }
    bool Flag() { return (Byte() & 1) != 0; }

    // An int biased towards the values that break arithmetic: 0, +-1, the extremes,
    // small values of both signs, and now and then any 32-bit value.
    int Int() {
        static const int kEdges[] = {0, -1, 1, INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1};
        const uint8_t sel = Byte() % 16;
        if (sel < 7) return kEdges[sel];
        if (sel == 7) return int32_t(U32());
        if (sel < 11) return int8_t(Byte());
        return int((uint32_t(Byte()) << 8 | Byte()) % 1000);
    }
    // An index into something of `count` entries: in range mostly, else -1, count,
    // count + 1 or any int.
    int Index(int count) {
        const uint8_t sel = Byte() % 8;
        if (sel == 0) return -1;
        if (sel == 1) return count;
        if (sel == 2) return count < INT_MAX ? count + 1 : INT_MIN;
        if (sel == 3) return Int();
        return count > 0 ? int(Byte() % unsigned(count)) : 0;
    }
    // A coordinate near [0, extent): mostly inside, sometimes just outside or extreme.
    int Coord(int extent) {
        const uint8_t sel = Byte() % 8;
        if (sel == 0) return Int();
        if (sel == 1) return -int(Byte() % 16);
        if (sel == 2) return extent + int(Byte() % 16);
        return extent > 0 ? int(((uint32_t(Byte()) << 8) | Byte()) % uint32_t(extent)) : 0;
    }

    // Free text (captions, names): empty, short with awkward characters, or 10,000
    // characters. `is_null` reports the null choice; the result is then empty.
    std::wstring Text(bool* is_null) {
        *is_null = false;
        const uint8_t sel = Byte();
        if (sel % 8 == 0) {
            *is_null = true;
            return {};
        }
        if (sel % 8 == 1) return {};
        if (sel == 0xFF) return std::wstring(10000, L'W');
        static const wchar_t kChars[] = L"AbcXyz 0189&\t\n.-_/\\%\x00E9\x4E2D\xFFFD\x05D0";
        const size_t kCount = sizeof kChars / sizeof kChars[0] - 1;
        std::wstring s;
        const int n = 1 + Byte() % 12;
        for (int i = 0; i < n; ++i) {
            const uint8_t c = Byte();
            if (c == 0xFE)
                s.push_back(wchar_t(0xD800));  // a lone surrogate
            else
                s.push_back(kChars[c % kCount]);
        }
        return s;
    }
};

// The bytes of one fuzz input.
class BufferSource : public ByteSource {
public:
    BufferSource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Done() const override { return m_pos >= m_size; }
    uint8_t Byte() override { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// An endless stream (xorshift64*), the same for the same seed.
class RandomSource : public ByteSource {
public:
    explicit RandomSource(uint64_t seed) : m_state(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    bool Done() const override { return false; }
    uint8_t Byte() override {
        if (m_left == 0) {
            m_state ^= m_state >> 12;
            m_state ^= m_state << 25;
            m_state ^= m_state >> 27;
            m_word = m_state * 0x2545F4914F6CDD1Dull;
            m_left = 8;
        }
        --m_left;
        const uint8_t b = uint8_t(m_word);
        m_word >>= 8;
        return b;
    }

private:
    uint64_t m_state;
    uint64_t m_word = 0;
    int m_left = 0;
};

}  // namespace kfuzz
