#include "utf8.h"

#include <cstdint>

namespace rt {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;
constexpr bool kWide16 = sizeof(wchar_t) == 2;

bool IsSurrogate(uint32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

void AppendCodePoint(std::wstring* out, uint32_t cp) {
    if (kWide16 && cp > 0xFFFF) {
        cp -= 0x10000;
        out->push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out->push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out->push_back(static_cast<wchar_t>(cp));
    }
}

}  // namespace

std::wstring Utf8ToWide(const char* utf8, size_t len) {
    std::wstring out;
    out.reserve(len);
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    for (size_t i = 0; i < len;) {
        const unsigned char lead = s[i];
        int extra = -1;  // continuation bytes and leads no sequence may start with
        uint32_t cp = lead;
        if (lead < 0x80) {
            extra = 0;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            cp = lead & 0x07;
        }
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + size_t(k) >= len || (s[i + size_t(k)] & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = (cp << 6) | (s[i + size_t(k)] & 0x3F);
            }
        }
        static constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kLeast[extra] || cp > 0x10FFFF || IsSurrogate(cp))) ok = false;
        if (!ok) {
            AppendCodePoint(&out, kReplacement);
            ++i;
            continue;
        }
        AppendCodePoint(&out, cp);
        i += size_t(extra) + 1;
    }
    return out;
}

std::string WideToUtf8(const wchar_t* wide, size_t len) {
    std::string out;
    out.reserve(len);
    for (size_t i = 0; i < len; ++i) {
        uint32_t cp = static_cast<uint32_t>(wide[i]);
        if (kWide16 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < len) {
            const uint32_t low = static_cast<uint32_t>(wide[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (IsSurrogate(cp) || cp > 0x10FFFF) cp = kReplacement;
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace rt
