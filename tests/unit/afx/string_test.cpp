// CString: construction from null and narrow text, searching, extraction, editing and
// the Windows wide printf dialect of Format.
#include <gtest/gtest.h>

#include <string>

#include "platform.h"

namespace {

TEST(CStringConstruct, NullAndNarrowSources) {
    const std::pair<CString, const wchar_t*> rows[] = {
        {CString(static_cast<LPCWSTR>(nullptr)), L""},
        {CString(static_cast<const char*>(nullptr)), L""},
        {CString(MAKEINTRESOURCE(101)), L""},  // a string resource id, and no table
        {CString("h\xC3\xA9"), L"h\u00E9"},
        {CString("\xF0\x9F\x98\x80"), L"\U0001F600"},
        {CString("a\x80z"), L"a\uFFFDz"},  // a stray continuation byte
        {CString("\xE2\x82"), L"\uFFFD\uFFFD"},  // a truncated sequence
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
        {"reverse find", s.ReverseFind(L'a'), 3},
        {"find one of", s.FindOneOf(L"xc"), 2},
    };
    for (const Row& r : table) EXPECT_EQ(r.expected, r.got) << r.name;
}

TEST(CStringExtract, CountsAndPositionsAreClamped) {
    const CString s(L"hello");
    const std::pair<CString, const wchar_t*> rows[] = {
        {s.Mid(-2, 2), L"he"},
        {s.Mid(3, 100), L"lo"},
        {s.Mid(10), L""},
        {s.Mid(2, -1), L""},
        {s.Left(9), L"hello"},
        {s.Left(-1), L""},
        {s.Right(9), L"hello"},
        {CString(L"aabxa").SpanIncluding(L"ab"), L"aab"},
        {CString(L"key=value").SpanExcluding(L"="), L"key"},
    };
    for (const auto& [got, expected] : rows) EXPECT_STREQ(expected, got.GetString());
}

TEST(CStringEdit, ReplaceRemoveInsertDelete) {
    struct Row {
        const char* name;
        const wchar_t* start;
        int (*op)(CString&);
        int expected_result;
        const wchar_t* expected_text;
    };
    const Row rows[] = {
        {"replace runs left to right", L"aaa", [](CString& s) { return s.Replace(L"aa", L"b"); }, 1, L"ba"},
        {"replace with longer text containing the old", L"abab", [](CString& s) { return s.Replace(L"ab", L"abab"); },
         2, L"abababab"},
        {"replace with null deletes", L"a-b-c", [](CString& s) { return s.Replace(L"-", nullptr); }, 2, L"abc"},
        {"replace empty old does nothing", L"abc", [](CString& s) { return s.Replace(L"", L"x"); }, 0, L"abc"},
        {"replace char", L"a.b.c", [](CString& s) { return s.Replace(L'.', L'/'); }, 2, L"a/b/c"},
        {"replace own text", L"xyx", [](CString& s) { return s.Replace(s.GetString(), L"z"); }, 1, L"z"},
        {"remove", L"banana", [](CString& s) { return s.Remove(L'a'); }, 3, L"bnn"},
        {"insert past end appends", L"ab", [](CString& s) { return s.Insert(100, L"cd"); }, 4, L"abcd"},
        {"insert negative prepends", L"ab", [](CString& s) { return s.Insert(-3, L'x'); }, 3, L"xab"},
        {"insert own text", L"ab", [](CString& s) { return s.Insert(1, s.GetString()); }, 4, L"aabb"},
        {"delete past end", L"abcdef", [](CString& s) { return s.Delete(1, 100); }, 1, L"a"},
        {"delete negative index", L"abcdef", [](CString& s) { return s.Delete(-2, 3); }, 3, L"def"},
        {"delete beyond length", L"abc", [](CString& s) { return s.Delete(5); }, 3, L"abc"},
    };
    for (const Row& r : rows) {
        CString s(r.start);
        EXPECT_EQ(r.expected_result, r.op(s)) << r.name;
        EXPECT_STREQ(r.expected_text, s.GetString()) << r.name;
    }
}

TEST(CStringEdit, TrimCaseCompareAndConcat) {
    EXPECT_STREQ(L"x y", CString(L" \t x y \r\n").Trim().GetString());
    const CString t(L"--a-b--");
    EXPECT_STREQ(L"a-b--", CString(t).TrimLeft(L'-').GetString());
    EXPECT_STREQ(L"--a-b", CString(t).TrimRight(L"-+").GetString());
    EXPECT_STREQ(L"MIXED \u00C9", CString(L"MiXeD \u00C9").MakeUpper().GetString());
    EXPECT_STREQ(L"cba", CString(L"abc").MakeReverse().GetString());

    const CString abc(L"abc");
    EXPECT_TRUE(abc < L"abd");
    EXPECT_FALSE(abc < abc);
    EXPECT_GT(abc.Compare(L"ab"), 0);
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

TEST(CStringAccess, IndexRulesAndBuffers) {
    CString s(L"ab");
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
    s.SetAt(0, L'z');
    EXPECT_STREQ(L"zb", s.GetString());

    wcscpy(s.GetBuffer(10), L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    s.GetBufferSetLength(3)[2] = L'c';
    s.ReleaseBuffer(2);
    EXPECT_STREQ(L"he", s.GetString());
    EXPECT_STREQ(L"he", s.GetBuffer(0));  // never smaller than the text
    s.ReleaseBuffer();
}

TEST(CStringTokenize, SkipsRunsOfDelimiters) {
    const CString s(L"  a, b,,c ");
    int pos = 0;
    std::wstring joined;
    for (CString tok = s.Tokenize(L", ", pos); pos != -1; tok = s.Tokenize(L", ", pos)) joined += (tok + L"|").GetString();
    EXPECT_EQ(L"a|b|c|", joined);
    int start = 2;
    EXPECT_STREQ(L"c", CString(L"abc").Tokenize(L"", start).GetString());  // no delimiters: the rest
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
    s.Format(L"%d", 1);
    s.AppendFormat(L"+%d=%s", 2, L"3");
    EXPECT_STREQ(L"1+2=3", s.GetString());
}

}  // namespace
