// The one UTF-8 codec: every malformed byte is one U+FFFD and decoding goes on after it.
#include <gtest/gtest.h>

#include <string>

#include "utf8.h"

namespace {

// A code point as this platform's wchar_t holds it: one unit, or a pair where it has 16 bits.
std::wstring Cp(uint32_t cp) {
    std::wstring out;
    if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
        out.push_back(wchar_t(0xD800 + ((cp - 0x10000) >> 10)));
        out.push_back(wchar_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
        out.push_back(wchar_t(cp));
    }
    return out;
}

const std::wstring kBad = Cp(0xFFFD);

TEST(Utf8, DecodesWellFormedAndReplacesEachBadByte) {
    struct Row {
        const char* name;
        std::string utf8;
        std::wstring wide;
    };
    const Row rows[] = {
        {"ascii", "aZ", L"aZ"},
        {"two bytes", "\xC3\xBC", Cp(0xFC)},
        {"three bytes", "\xE2\x82\xAC", Cp(0x20AC)},
        {"four bytes", "\xF0\x9F\x98\x80", Cp(0x1F600)},
        {"last code point", "\xF4\x8F\xBF\xBF", Cp(0x10FFFF)},
        {"embedded nul", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"stray continuation", "a\x80z", L"a" + kBad + L"z"},
        {"overlong slash", "\xC0\xAF", kBad + kBad},
        {"overlong three", "\xE0\x80\xAF", kBad + kBad + kBad},
        {"surrogate", "\xED\xA0\x80", kBad + kBad + kBad},
        {"past U+10FFFF", "\xF4\x90\x80\x80", kBad + kBad + kBad + kBad},
        {"cut short at the end", "a\xE2\x82", L"a" + kBad + kBad},
        {"cut short by ascii", "\xE2x", kBad + L"x"},
        {"lead F5", "\xF5\x80", kBad + kBad},
    };
    for (const Row& row : rows) EXPECT_EQ(rt::Utf8ToWide(row.utf8), row.wide) << row.name;
}

TEST(Utf8, EncodesCodePointsAndReplacesWhatNoneIs) {
    struct Row {
        const char* name;
        std::wstring wide;
        std::string utf8;
    };
    const Row rows[] = {
        {"ascii", L"aZ", "aZ"},
        {"two bytes", Cp(0x7FF), "\xDF\xBF"},
        {"three bytes", Cp(0xFFFF), "\xEF\xBF\xBF"},
        {"four bytes", Cp(0x10000), "\xF0\x90\x80\x80"},
        {"last code point", Cp(0x10FFFF), "\xF4\x8F\xBF\xBF"},
        {"lone high surrogate", std::wstring(1, wchar_t(0xD800)) + L"x", "\xEF\xBF\xBDx"},
        {"lone low surrogate", std::wstring(1, wchar_t(0xDFFF)), "\xEF\xBF\xBD"},
    };
    for (const Row& row : rows) EXPECT_EQ(rt::WideToUtf8(row.wide), row.utf8) << row.name;
}

}  // namespace
