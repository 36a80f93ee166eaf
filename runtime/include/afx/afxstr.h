// CString: the wide (Unicode build) MFC string. A std::wstring inside; wchar_t is
// 32-bit here, so one element is one code point and there are no surrogate pairs.
//
// Index
//   1. Construction and assignment
//   2. Length, characters, raw buffer
//   3. Concatenation and comparison
//   4. Searching and extraction
//   5. Editing in place
//   6. Formatting (Windows wide printf conventions, see FormatV)
#pragma once

#include <cstdarg>
#include <string>

#include "win32/windef.h"

[[noreturn]] void AfxThrowInvalidArgException();

class CString {
public:
    // ---- 1. Construction and assignment ----------------------------------------------
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    ~CString() = default;

    // A null pointer gives an empty string; MAKEINTRESOURCE(id) loads string resource id.
    CString(LPCWSTR psz);  // NOLINT(google-explicit-constructor): MFC converts implicitly
    CString(LPCWSTR pch, int nLength);
    // Narrow text is taken as UTF-8 (ASCII being the common case).
    CString(const char* psz);  // NOLINT(google-explicit-constructor)
    CString(const char* pch, int nLength);
    explicit CString(wchar_t ch, int nRepeat = 1);

    CString& operator=(LPCWSTR psz);
    CString& operator=(const char* psz);
    CString& operator=(wchar_t ch);

    void SetString(LPCWSTR psz);
    void SetString(LPCWSTR pch, int nLength);

    // String resources: there is no resource table in this runtime yet, so every
    // load fails and leaves the string unchanged.
    BOOL LoadString(UINT nID);

    // ---- 2. Length, characters, raw buffer ----------------------------------------------
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    // Index GetLength() reads the terminating zero; anything else outside throws.
    wchar_t GetAt(int iChar) const;
    void SetAt(int iChar, wchar_t ch);
    wchar_t operator[](int iChar) const { return GetAt(iChar); }

    operator LPCWSTR() const { return m_str.c_str(); }  // NOLINT(google-explicit-constructor)
    LPCWSTR GetString() const { return m_str.c_str(); }

    // The buffer has room for at least nMinBufferLength characters plus a terminator;
    // after writing into it, ReleaseBuffer fixes the length (-1: up to the first zero).
    LPWSTR GetBuffer() { return &m_str[0]; }
    LPWSTR GetBuffer(int nMinBufferLength);
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void Preallocate(int nLength);
    void FreeExtra() { m_str.shrink_to_fit(); }
    void Truncate(int nNewLength);

    // ---- 3. Concatenation and comparison ---------------------------------------------------
    CString& operator+=(const CString& str);
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(const char* psz);
    CString& operator+=(wchar_t ch);
    void Append(const CString& str) { *this += str; }
    void Append(LPCWSTR psz) { *this += psz; }
    void Append(LPCWSTR pch, int nLength);
    void AppendChar(wchar_t ch) { m_str.push_back(ch); }

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCWSTR b);
    friend CString operator+(LPCWSTR a, const CString& b);
    friend CString operator+(const CString& a, wchar_t b);
    friend CString operator+(wchar_t a, const CString& b);

    // <0, 0 or >0 as wcscmp; a null pointer compares as the empty string.
    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;
    int Collate(LPCWSTR psz) const { return Compare(psz); }
    int CollateNoCase(LPCWSTR psz) const { return CompareNoCase(psz); }

    // ---- 4. Searching and extraction ---------------------------------------------------------
    // -1 when not found or when iStart is outside the string.
    int Find(wchar_t ch, int iStart = 0) const;
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    int FindOneOf(LPCWSTR pszCharSet) const;
    int ReverseFind(wchar_t ch) const;

    // Counts and positions are clamped into the string, as MFC does.
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString SpanIncluding(LPCWSTR pszCharSet) const;
    CString SpanExcluding(LPCWSTR pszCharSet) const;
    // Next token after iStart, skipping leading delimiters; iStart becomes the position
    // after the token, or -1 (with an empty result) when no token is left.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const;

    // ---- 5. Editing in place -----------------------------------------------------------------
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();  // white space
    CString& Trim(wchar_t chTarget);
    CString& Trim(LPCWSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t chTarget);
    CString& TrimLeft(LPCWSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(wchar_t chTarget);
    CString& TrimRight(LPCWSTR pszTargets);

    // Replace/Remove return how many replacements or removals were made; Insert and
    // Delete return the new length.
    int Replace(wchar_t chOld, wchar_t chNew);
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    int Remove(wchar_t chRemove);
    int Insert(int iIndex, wchar_t ch);
    int Insert(int iIndex, LPCWSTR psz);
    int Delete(int iIndex, int nCount = 1);

    // ---- 6. Formatting --------------------------------------------------------------------------
    // The format follows the Windows wide printf: %s and %c take wide arguments, %S,
    // %hs and %C narrow ones, %I64d a 64-bit integer. The runtime rewrites the format
    // for the C library here (whose %s would be narrow) before formatting. Pass a
    // CString argument as (LPCWSTR)str or str.GetString(), never the object itself.
    void Format(LPCWSTR pszFormat, ...);
    void AppendFormat(LPCWSTR pszFormat, ...);
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormatV(LPCWSTR pszFormat, va_list args);

private:
    std::wstring m_str;
};

typedef CString CStringW;

// Comparison with another CString or with a wide C string on either side.
inline bool operator==(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCWSTR b) {
    return a.Compare(b) == 0;
}
inline bool operator==(LPCWSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(const CString& a, LPCWSTR b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(LPCWSTR a, const CString& b) {
    return b.Compare(a) != 0;
}
inline bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
inline bool operator<(const CString& a, LPCWSTR b) {
    return a.Compare(b) < 0;
}
inline bool operator<(LPCWSTR a, const CString& b) {
    return b.Compare(a) > 0;
}
inline bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
inline bool operator>(const CString& a, LPCWSTR b) {
    return a.Compare(b) > 0;
}
inline bool operator>(LPCWSTR a, const CString& b) {
    return b.Compare(a) < 0;
}
inline bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
inline bool operator<=(const CString& a, LPCWSTR b) {
    return a.Compare(b) <= 0;
}
inline bool operator<=(LPCWSTR a, const CString& b) {
    return b.Compare(a) >= 0;
}
inline bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}
inline bool operator>=(const CString& a, LPCWSTR b) {
    return a.Compare(b) >= 0;
}
inline bool operator>=(LPCWSTR a, const CString& b) {
    return b.Compare(a) <= 0;
}
