// CString: construction from null and narrow text, searching, comparing and the Windows
// wide printf dialect of Format.
#include <gtest/gtest.h>

#include <string>

#include "platform.h"

namespace {

// Construction from null and narrow text.
TEST(CStringValues, Sources) {
    const std::pair<CString, const wchar_t*> rows[] = {
        {CString(static_cast<LPCWSTR>(nullptr)), L""},
        {CString(static_cast<const char*>(nullptr)), L""},
        {CString(MAKEINTRESOURCE(101)), L""},  // a string resource id, and no table
        {CString("h\xC3\xA9"), L"h\u00E9"},
        {CString("abcdef", 3), L"abc"},
        {CString(L"abcdef", 2), L"ab"},
        {CString(L'x', 3), L"xxx"},
        {CString(L'x', 0), L""},
    };
    for (const auto& [value, expected] : rows) {
        EXPECT_STREQ(expected, value.GetString());
        EXPECT_EQ(int(wcslen(expected)), value.GetLength()) << value.GetString();
    }
}

TEST(CStringFind, EdgesOfStartAndNeedle) {
    const CString s(L"abcabc");
    struct Row {
        const char* name;
        int got, expected;
    } table[] = {
        {"char from past first hit", s.Find(L'b', 2), 4},
        {"char start at length", s.Find(L'a', 6), -1},
        {"char negative start", s.Find(L'a', -1), -1},
        {"string from start", s.Find(L"abc", 1), 3},
        {"empty needle at length", s.Find(L"", 6), 6},
        {"string start past length", s.Find(L"a", 7), -1},
        {"null needle", s.Find(static_cast<LPCWSTR>(nullptr)), -1},
        {"needle longer than text", s.Find(L"abcabcabc"), -1},
    };
    for (const Row& r : table) EXPECT_EQ(r.expected, r.got) << r.name;
}

TEST(CStringEdit, CompareAndConcat) {
    const CString abc(L"abc");
    EXPECT_LT(abc.CompareNoCase(L"ABD"), 0);
    EXPECT_EQ(0, abc.CompareNoCase(L"ABC"));
    EXPECT_TRUE(CString() == static_cast<LPCWSTR>(nullptr));  // null compares as ""
    CString s(L"ab");
    EXPECT_STREQ(L"cdab", (L"cd" + s).GetString());
    s += s;  // appending itself
    s += "\xC3\xA9";
    s += L'.';
    EXPECT_STREQ(L"abab\u00E9.", s.GetString());
}

TEST(CStringAccess, IndexRules) {
    CString s(L"ab");
    EXPECT_EQ(L'a', s.GetAt(0));
    EXPECT_EQ(L'\0', s.GetAt(2));  // the terminator is readable
    for (int bad : {3, -1}) {
        bool raised = false;
        try {
            s.GetAt(bad);
        } catch (CInvalidArgException* e) {
            raised = true;
            e->Delete();
        }
        EXPECT_TRUE(raised) << bad;
    }
}

TEST(CStringFormat, WindowsWideConventions) {
    auto fmt = [](LPCWSTR f, auto... args) {
        CString s;
        s.Format(f, args...);
        return s;
    };
    const std::pair<CString, const wchar_t*> rows[] = {
        {fmt(L"[%s]", L"w\u00E9"), L"[w\u00E9]"},  // %s is wide
        {fmt(L"%S|%hs", "narrow", "n"), L"narrow|n"},
        {fmt(L"%c%c", wchar_t(L'\u00E9'), wchar_t(L'z')), L"\u00E9z"},
        {fmt(L"%5.2f|%-4d|%04x", 3.14159, 7, 255u), L" 3.14|7   |00ff"},
        {fmt(L"%I64d", static_cast<long long>(-1234567890123LL)), L"-1234567890123"},
        {fmt(L"%I64u", static_cast<unsigned long long>(18446744073709551615ULL)), L"18446744073709551615"},
        {fmt(L"100%%"), L"100%"},
        {fmt(L"%*s|", 4, L"ab"), L"  ab|"},
    };
    for (const auto& [got, expected] : rows) EXPECT_STREQ(expected, got.GetString());

    const std::wstring long_text(3000, L'q');
    CString s;
    s.Format(L"<%s>", long_text.c_str());
    EXPECT_EQ(3002, s.GetLength());
}

}  // namespace
