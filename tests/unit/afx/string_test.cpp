// CString: construction from null and narrow text, searching, extraction, editing and
// the Windows wide printf dialect of Format.
#include <gtest/gtest.h>

#include <string>

#include "platform.h"

namespace {

// Runs f and reports whether it raised CInvalidArgException (freeing it).
template <class F>
bool RaisesInvalidArg(F f) {
    try {
        f();
    } catch (CInvalidArgException* e) {
        e->Delete();
        return true;
    }
    return false;
}

TEST(CStringConstruct, NullAndNarrowSources) {
    struct Row {
        const char* name;
        CString value;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {"null wide pointer", CString(static_cast<LPCWSTR>(nullptr)), L""},
        {"null narrow pointer", CString(static_cast<const char*>(nullptr)), L""},
        {"string resource id (no table)", CString(MAKEINTRESOURCE(101)), L""},
        {"ascii", CString("abc"), L"abc"},
        {"utf-8 two-byte", CString("h\xC3\xA9"), L"h\u00E9"},
        {"utf-8 four-byte", CString("\xF0\x9F\x98\x80"), L"\U0001F600"},
        {"stray continuation byte", CString("a\x80z"), L"a\uFFFDz"},
        {"truncated sequence", CString("\xE2\x82"), L"\uFFFD\uFFFD"},
        {"narrow with length", CString("abcdef", 3), L"abc"},
        {"wide with length", CString(L"abcdef", 2), L"ab"},
        {"repeated char", CString(L'x', 3), L"xxx"},
        {"repeat count zero", CString(L'x', 0), L""},
    };
    for (const Row& r : rows) {
        EXPECT_STREQ(r.expected, r.value.GetString()) << r.name;
        EXPECT_EQ(int(wcslen(r.expected)), r.value.GetLength()) << r.name;
    }
}

TEST(CStringFind, EdgesOfStartAndNeedle) {
    const CString s(L"abcabc");
    struct Row {
        const char* name;
        int got;
        int expected;
    };
    const Row rows[] = {
        {"char from 0", s.Find(L'b'), 1},
        {"char from past first hit", s.Find(L'b', 2), 4},
        {"char start at length", s.Find(L'a', 6), -1},
        {"char negative start", s.Find(L'a', -1), -1},
        {"char missing", s.Find(L'z'), -1},
        {"string", s.Find(L"ca"), 2},
        {"string from start", s.Find(L"abc", 1), 3},
        {"empty needle at 0", s.Find(L""), 0},
        {"empty needle at length", s.Find(L"", 6), 6},
        {"string start past length", s.Find(L"a", 7), -1},
        {"null needle", s.Find(static_cast<LPCWSTR>(nullptr)), -1},
        {"needle longer than text", s.Find(L"abcabcabc"), -1},
        {"reverse find", s.ReverseFind(L'a'), 3},
        {"reverse find missing", s.ReverseFind(L'q'), -1},
        {"find one of", s.FindOneOf(L"xc"), 2},
    };
    for (const Row& r : rows) EXPECT_EQ(r.expected, r.got) << r.name;
}

TEST(CStringExtract, CountsAndPositionsAreClamped) {
    const CString s(L"hello");
    struct Row {
        const char* name;
        CString got;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {"mid inside", s.Mid(1, 3), L"ell"},
        {"mid negative first", s.Mid(-2, 2), L"he"},
        {"mid count past end", s.Mid(3, 100), L"lo"},
        {"mid first past end", s.Mid(10), L""},
        {"mid negative count", s.Mid(2, -1), L""},
        {"mid to end", s.Mid(2), L"llo"},
        {"left too many", s.Left(9), L"hello"},
        {"left negative", s.Left(-1), L""},
        {"right", s.Right(2), L"lo"},
        {"right too many", s.Right(9), L"hello"},
        {"span including", CString(L"aabxa").SpanIncluding(L"ab"), L"aab"},
        {"span excluding", CString(L"key=value").SpanExcluding(L"="), L"key"},
    };
    for (const Row& r : rows) EXPECT_STREQ(r.expected, r.got.GetString()) << r.name;
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
        {"replace missing", L"abc", [](CString& s) { return s.Replace(L"q", L"x"); }, 0, L"abc"},
        {"replace char", L"a.b.c", [](CString& s) { return s.Replace(L'.', L'/'); }, 2, L"a/b/c"},
        {"replace own text", L"xyx", [](CString& s) { return s.Replace(s.GetString(), L"z"); }, 1, L"z"},
        {"remove", L"banana", [](CString& s) { return s.Remove(L'a'); }, 3, L"bnn"},
        {"insert past end appends", L"ab", [](CString& s) { return s.Insert(100, L"cd"); }, 4, L"abcd"},
        {"insert negative prepends", L"ab", [](CString& s) { return s.Insert(-3, L'x'); }, 3, L"xab"},
        {"insert own text", L"ab", [](CString& s) { return s.Insert(1, s.GetString()); }, 4, L"aabb"},
        {"delete past end", L"abcdef", [](CString& s) { return s.Delete(1, 100); }, 1, L"a"},
        {"delete negative index", L"abcdef", [](CString& s) { return s.Delete(-2, 3); }, 3, L"def"},
        {"delete beyond length", L"abc", [](CString& s) { return s.Delete(5); }, 3, L"abc"},
        {"delete zero count", L"abc", [](CString& s) { return s.Delete(1, 0); }, 3, L"abc"},
    };
    for (const Row& r : rows) {
        CString s(r.start);
        EXPECT_EQ(r.expected_result, r.op(s)) << r.name;
        EXPECT_STREQ(r.expected_text, s.GetString()) << r.name;
    }
}

TEST(CStringEdit, TrimAndCase) {
    CString s(L" \t x y \r\n");
    EXPECT_STREQ(L"x y", s.Trim().GetString());
    CString t(L"--a-b--");
    EXPECT_STREQ(L"a-b--", CString(t).TrimLeft(L'-').GetString());
    EXPECT_STREQ(L"--a-b", CString(t).TrimRight(L"-+").GetString());
    EXPECT_STREQ(L"a-b", t.Trim(L'-').GetString());
    CString u(L"MiXeD \u00C9");
    EXPECT_STREQ(L"MIXED \u00C9", CString(u).MakeUpper().GetString());
    EXPECT_STREQ(L"ABC", CString(L"abc").MakeUpper().GetString());
    EXPECT_STREQ(L"cba", CString(L"abc").MakeReverse().GetString());
}

TEST(CStringCompare, OrderingAndCase) {
    const CString abc(L"abc");
    EXPECT_TRUE(abc == L"abc");
    EXPECT_TRUE(L"abc" == abc);
    EXPECT_TRUE(abc != CString(L"abd"));
    EXPECT_TRUE(abc < L"abd");
    EXPECT_TRUE(L"ab" < abc);
    EXPECT_FALSE(abc < abc);
    EXPECT_LT(abc.Compare(L"b"), 0);
    EXPECT_GT(abc.Compare(L"ab"), 0);
    EXPECT_EQ(0, abc.CompareNoCase(L"ABC"));
    EXPECT_LT(abc.CompareNoCase(L"ABD"), 0);
    EXPECT_TRUE(CString() == static_cast<LPCWSTR>(nullptr));  // null compares as ""
}

TEST(CStringConcat, OperatorsKeepBothSides) {
    const CString a(L"ab");
    EXPECT_STREQ(L"abcd", (a + L"cd").GetString());
    EXPECT_STREQ(L"cdab", (L"cd" + a).GetString());
    EXPECT_STREQ(L"abab", (a + a).GetString());
    EXPECT_STREQ(L"ab!", (a + L'!').GetString());
    CString s(a);
    s += s;  // appending itself
    s += "\xC3\xA9";
    s += L'.';
    EXPECT_STREQ(L"abab\u00E9.", s.GetString());
}

TEST(CStringAccess, IndexRules) {
    CString s(L"ab");
    EXPECT_EQ(L'b', s[1]);
    EXPECT_EQ(L'\0', s.GetAt(2));  // the terminator is readable
    EXPECT_TRUE(RaisesInvalidArg([&] { s.GetAt(3); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { s.GetAt(-1); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { s.SetAt(2, L'x'); }));
    s.SetAt(0, L'z');
    EXPECT_STREQ(L"zb", s.GetString());
}

TEST(CStringBuffer, ReleaseBufferFindsTheLength) {
    CString s(L"xy");
    wchar_t* buf = s.GetBuffer(10);
    wcscpy(buf, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    EXPECT_STREQ(L"hello", s.GetString());

    buf = s.GetBufferSetLength(3);
    buf[0] = L'a';
    buf[1] = L'b';
    buf[2] = L'c';
    s.ReleaseBuffer(2);
    EXPECT_STREQ(L"ab", s.GetString());

    buf = s.GetBuffer(0);  // never smaller than the text
    EXPECT_STREQ(L"ab", buf);
    s.ReleaseBuffer();
    EXPECT_EQ(2, s.GetLength());
}

TEST(CStringTokenize, SkipsRunsOfDelimiters) {
    const CString s(L"  a, b,,c ");
    int pos = 0;
    std::wstring joined;
    for (CString tok = s.Tokenize(L", ", pos); pos != -1; tok = s.Tokenize(L", ", pos)) {
        joined += tok.GetString();
        joined += L'|';
    }
    EXPECT_EQ(L"a|b|c|", joined);
    EXPECT_EQ(-1, pos);

    int start = 2;
    EXPECT_STREQ(L"c", CString(L"abc").Tokenize(L"", start).GetString());  // no delimiters: the rest
}

TEST(CStringFormat, WindowsWideConventions) {
    struct Row {
        const char* name;
        CString got;
        const wchar_t* expected;
    };
    auto fmt = [](LPCWSTR f, auto... args) {
        CString s;
        s.Format(f, args...);
        return s;
    };
    const Row rows[] = {
        {"%s is wide", fmt(L"[%s]", L"w\u00E9"), L"[w\u00E9]"},
        {"%ls is wide", fmt(L"%ls", L"x"), L"x"},
        {"%S is narrow", fmt(L"%S", "narrow"), L"narrow"},
        {"%hs is narrow", fmt(L"%hs", "n"), L"n"},
        {"%c is wide", fmt(L"%c%c", wchar_t(L'\u00E9'), wchar_t(L'z')), L"\u00E9z"},
        {"width and precision", fmt(L"%5.2f|%-4d|%04x", 3.14159, 7, 255u), L" 3.14|7   |00ff"},
        {"%I64d", fmt(L"%I64d", static_cast<long long>(-1234567890123LL)), L"-1234567890123"},
        {"%I64u", fmt(L"%I64u", static_cast<unsigned long long>(18446744073709551615ULL)), L"18446744073709551615"},
        {"%% literal", fmt(L"100%%"), L"100%"},
        {"star width", fmt(L"%*s|", 4, L"ab"), L"  ab|"},
    };
    for (const Row& r : rows) EXPECT_STREQ(r.expected, r.got.GetString()) << r.name;
}

TEST(CStringFormat, LongOutputAndAppend) {
    const std::wstring long_text(3000, L'q');
    CString s;
    s.Format(L"<%s>", long_text.c_str());
    EXPECT_EQ(3002, s.GetLength());
    EXPECT_EQ(L'>', s[3001]);
    s.Format(L"%d", 1);
    s.AppendFormat(L"+%d=%s", 2, L"3");
    EXPECT_STREQ(L"1+2=3", s.GetString());
}

}  // namespace
