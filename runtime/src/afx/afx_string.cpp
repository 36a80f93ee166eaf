// CString.
//
// Index
//   1. Helpers       clamping, the Windows -> C printf format rewrite
//   2. Construction
//   3. Characters and buffer
//   4. Concatenation and comparison
//   5. Searching and extraction
//   6. Editing
//   7. Formatting
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwctype>
#include <vector>

#include "afx/afx.h"
#include "utf8.h"

namespace {

// ---- 1. Helpers ------------------------------------------------------------------------
int ClampIndex(int i, int len) {
    return std::max(0, std::min(i, len));
}

bool IsResourceId(LPCWSTR psz) {
    return psz != nullptr && IS_INTRESOURCE(psz);
}

LPCWSTR OrEmpty(LPCWSTR psz) {
    return psz ? psz : L"";
}

// Rewrites one conversion's length modifier and conversion letter from the Windows
// wide printf dialect into the C library's.
void AppendConversion(std::wstring& out, const std::wstring& length, wchar_t conv) {
    const bool wide_len = length == L"l" || length == L"w";
    const bool narrow_len = length == L"h";
    switch (conv) {
        case L's':
        case L'c':
            if (!narrow_len) out += L'l';  // plain %s / %c are wide in wide functions
            out += conv;
            return;
        case L'S':
        case L'C':
            if (wide_len) out += L'l';  // %S / %C name the other width: narrow
            out += static_cast<wchar_t>(conv == L'S' ? L's' : L'c');
            return;
        default:
            break;
    }
    if (length == L"I64") {
        out += L"ll";
    } else if (length == L"I") {
        out += L'z';
    } else if (length != L"I32") {
        out += length;
    }
    out += conv;
}

std::wstring TranslateFormat(LPCWSTR fmt) {
    std::wstring out;
    const wchar_t* p = fmt;
    while (*p) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == L'%') {
            out += *p++;
            continue;
        }
        while (*p && wcschr(L"-+ #0'", *p)) out += *p++;               // flags
        while (*p == L'*' || (*p >= L'0' && *p <= L'9')) out += *p++;  // width
        if (*p == L'.') {                                              // precision
            out += *p++;
            while (*p == L'*' || (*p >= L'0' && *p <= L'9')) out += *p++;
        }
        std::wstring length;
        while (*p && wcschr(L"hlLqjztIw", *p)) {
            length += *p++;
            if (length.back() == L'I') {
                while (*p >= L'0' && *p <= L'9') length += *p++;
            }
        }
        if (!*p) {
            out += length;
            break;
        }
        AppendConversion(out, length, *p++);
    }
    return out;
}

// Formats into a string; false on an encoding error (narrow text the C locale
// cannot convert) or an absurd length.
bool FormatInto(std::wstring& out, LPCWSTR fmt, va_list args) {
    const std::wstring c_fmt = TranslateFormat(OrEmpty(fmt));
    constexpr size_t kMaxChars = size_t(1) << 22;
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        errno = 0;
        const int n = vswprintf(buf.data(), buf.size(), c_fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0 && size_t(n) < buf.size()) {
            out.assign(buf.data(), size_t(n));
            return true;
        }
        if (errno == EILSEQ || buf.size() >= kMaxChars) return false;
        // Too small: -1 (the C library's answer) or the length it needed (MinGW's).
        buf.resize(std::min(kMaxChars, n >= 0 ? size_t(n) + 1 : buf.size() * 4));
    }
}

}  // namespace

// ---- 2. Construction -------------------------------------------------------------------------
CString::CString(LPCWSTR psz) {
    if (IsResourceId(psz)) {
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(psz)));
    } else if (psz) {
        m_str = psz;
    }
}

CString::CString(LPCWSTR pch, int nLength) {
    if (nLength < 0) AfxThrowInvalidArgException();
    if (pch && nLength > 0) m_str.assign(pch, size_t(nLength));
}

CString::CString(const char* psz) {
    if (psz) m_str = rt::Utf8ToWide(psz, strlen(psz));
}

CString::CString(const char* pch, int nLength) {
    if (nLength < 0) AfxThrowInvalidArgException();
    if (pch) m_str = rt::Utf8ToWide(pch, size_t(nLength));
}

CString::CString(wchar_t ch, int nRepeat) : m_str(size_t(std::max(0, nRepeat)), ch) {}

CString& CString::operator=(LPCWSTR psz) {
    if (IsResourceId(psz)) {
        Empty();
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(psz)));
    } else {
        m_str = OrEmpty(psz);  // std::wstring copes with psz pointing into m_str
    }
    return *this;
}

CString& CString::operator=(const char* psz) {
    m_str = psz ? rt::Utf8ToWide(psz, strlen(psz)) : std::wstring();
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    m_str.assign(1, ch);
    return *this;
}

void CString::SetString(LPCWSTR psz) {
    m_str = OrEmpty(psz);
}

void CString::SetString(LPCWSTR pch, int nLength) {
    if (nLength < 0) AfxThrowInvalidArgException();
    if (!pch || nLength == 0) {
        m_str.clear();
        return;
    }
    m_str.assign(pch, size_t(nLength));
}

BOOL CString::LoadString(UINT nID) {
    (void)nID;
    return FALSE;  // no string table in this runtime yet
}

// ---- 3. Characters and buffer ---------------------------------------------------------------------
wchar_t CString::GetAt(int iChar) const {
    if (iChar < 0 || iChar > GetLength()) AfxThrowInvalidArgException();
    return m_str.c_str()[iChar];
}

void CString::SetAt(int iChar, wchar_t ch) {
    if (iChar < 0 || iChar >= GetLength()) AfxThrowInvalidArgException();
    m_str[size_t(iChar)] = ch;
}

LPWSTR CString::GetBuffer(int nMinBufferLength) {
    if (nMinBufferLength < 0) AfxThrowInvalidArgException();
    if (size_t(nMinBufferLength) > m_str.size()) m_str.resize(size_t(nMinBufferLength));
    return &m_str[0];
}

LPWSTR CString::GetBufferSetLength(int nLength) {
    if (nLength < 0) AfxThrowInvalidArgException();
    m_str.resize(size_t(nLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    const size_t buffer_len = m_str.size();
    size_t len = nNewLength < 0 ? wcsnlen(m_str.c_str(), buffer_len) : std::min(size_t(nNewLength), buffer_len);
    m_str.resize(len);
}

void CString::Preallocate(int nLength) {
    if (nLength > 0) m_str.reserve(size_t(nLength));
}

void CString::Truncate(int nNewLength) {
    if (nNewLength < 0 || nNewLength > GetLength()) AfxThrowInvalidArgException();
    m_str.resize(size_t(nNewLength));
}

// ---- 4. Concatenation and comparison ------------------------------------------------------------
CString& CString::operator+=(const CString& str) {
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCWSTR psz) {
    if (psz) m_str.append(psz);  // append copes with psz pointing into m_str
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz) m_str += rt::Utf8ToWide(psz, strlen(psz));
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_str.push_back(ch);
    return *this;
}

void CString::Append(LPCWSTR pch, int nLength) {
    if (nLength < 0) AfxThrowInvalidArgException();
    if (pch) m_str.append(pch, size_t(nLength));
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCWSTR b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCWSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(wchar_t a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

int CString::Compare(LPCWSTR psz) const {
    const int c = wcscmp(m_str.c_str(), OrEmpty(psz));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCWSTR psz) const {
    const wchar_t* a = m_str.c_str();
    const wchar_t* b = OrEmpty(psz);
    for (;; ++a, ++b) {
        const wint_t ca = towlower(wint_t(*a));
        const wint_t cb = towlower(wint_t(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

// ---- 5. Searching and extraction ---------------------------------------------------------------------
int CString::Find(wchar_t ch, int iStart) const {
    if (iStart < 0 || iStart >= GetLength()) return -1;
    const size_t pos = m_str.find(ch, size_t(iStart));
    return pos == std::wstring::npos ? -1 : int(pos);
}

int CString::Find(LPCWSTR pszSub, int iStart) const {
    if (!pszSub || iStart < 0 || iStart > GetLength()) return -1;
    const size_t pos = m_str.find(pszSub, size_t(iStart));
    return pos == std::wstring::npos ? -1 : int(pos);
}

int CString::FindOneOf(LPCWSTR pszCharSet) const {
    if (!pszCharSet) return -1;
    const size_t pos = m_str.find_first_of(pszCharSet);
    return pos == std::wstring::npos ? -1 : int(pos);
}

int CString::ReverseFind(wchar_t ch) const {
    const size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : int(pos);
}

CString CString::Left(int nCount) const {
    const int n = ClampIndex(nCount, GetLength());
    return CString(m_str.c_str(), n);
}

CString CString::Right(int nCount) const {
    const int n = ClampIndex(nCount, GetLength());
    return CString(m_str.c_str() + (GetLength() - n), n);
}

CString CString::Mid(int iFirst) const {
    return Mid(iFirst, GetLength() - ClampIndex(iFirst, GetLength()));
}

CString CString::Mid(int iFirst, int nCount) const {
    const int first = ClampIndex(iFirst, GetLength());
    const int n = ClampIndex(nCount, GetLength() - first);
    return CString(m_str.c_str() + first, n);
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const {
    return Left(int(wcsspn(m_str.c_str(), OrEmpty(pszCharSet))));
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const {
    return Left(int(wcscspn(m_str.c_str(), OrEmpty(pszCharSet))));
}

CString CString::Tokenize(LPCWSTR pszTokens, int& iStart) const {
    if (iStart < 0) AfxThrowInvalidArgException();
    if (!pszTokens || !*pszTokens) {
        // No delimiters: the rest of the string is the token.
        if (iStart < GetLength()) return Mid(iStart);
    } else if (iStart < GetLength()) {
        const wchar_t* start = m_str.c_str() + iStart;
        const wchar_t* token = start + wcsspn(start, pszTokens);
        if (*token) {
            const int token_len = int(wcscspn(token, pszTokens));
            const int token_pos = int(token - m_str.c_str());
            iStart = token_pos + token_len + 1;
            return CString(token, token_len);
        }
    }
    iStart = -1;
    return CString();
}

// ---- 6. Editing ------------------------------------------------------------------------------------
CString& CString::MakeUpper() {
    for (wchar_t& c : m_str) c = wchar_t(towupper(wint_t(c)));
    return *this;
}

CString& CString::MakeLower() {
    for (wchar_t& c : m_str) c = wchar_t(towlower(wint_t(c)));
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

namespace {
template <class Pred>
void TrimLeftIf(std::wstring& s, Pred is_target) {
    size_t n = 0;
    while (n < s.size() && is_target(s[n])) ++n;
    s.erase(0, n);
}
template <class Pred>
void TrimRightIf(std::wstring& s, Pred is_target) {
    size_t n = s.size();
    while (n > 0 && is_target(s[n - 1])) --n;
    s.resize(n);
}
// What the trims remove: white space, one character, or any character of a set.
bool IsSpace(wchar_t c) {
    return iswspace(wint_t(c)) != 0;
}
auto Is(wchar_t chTarget) {
    return [chTarget](wchar_t c) { return c == chTarget; };
}
auto InSet(LPCWSTR pszTargets) {
    const wchar_t* set = OrEmpty(pszTargets);
    return [set](wchar_t c) { return c != 0 && wcschr(set, c) != nullptr; };
}
}  // namespace

CString& CString::TrimLeft() {
    TrimLeftIf(m_str, IsSpace);
    return *this;
}
CString& CString::TrimLeft(wchar_t chTarget) {
    TrimLeftIf(m_str, Is(chTarget));
    return *this;
}
CString& CString::TrimLeft(LPCWSTR pszTargets) {
    TrimLeftIf(m_str, InSet(pszTargets));
    return *this;
}

CString& CString::TrimRight() {
    TrimRightIf(m_str, IsSpace);
    return *this;
}
CString& CString::TrimRight(wchar_t chTarget) {
    TrimRightIf(m_str, Is(chTarget));
    return *this;
}
CString& CString::TrimRight(LPCWSTR pszTargets) {
    TrimRightIf(m_str, InSet(pszTargets));
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::Trim(wchar_t chTarget) {
    return TrimRight(chTarget).TrimLeft(chTarget);
}
CString& CString::Trim(LPCWSTR pszTargets) {
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

int CString::Replace(wchar_t chOld, wchar_t chNew) {
    if (chOld == chNew) return 0;
    int count = 0;
    for (wchar_t& c : m_str) {
        if (c == chOld) {
            c = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
    if (!pszOld || !*pszOld) return 0;
    const std::wstring old_text(pszOld);  // copies: either may point into m_str
    const std::wstring new_text(OrEmpty(pszNew));
    std::wstring result;
    int count = 0;
    size_t from = 0;
    for (size_t pos; (pos = m_str.find(old_text, from)) != std::wstring::npos; from = pos + old_text.size()) {
        result.append(m_str, from, pos - from);
        result += new_text;
        ++count;
    }
    if (count == 0) return 0;
    result.append(m_str, from, std::wstring::npos);
    m_str.swap(result);
    return count;
}

int CString::Remove(wchar_t chRemove) {
    const size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), chRemove), m_str.end());
    return int(before - m_str.size());
}

int CString::Insert(int iIndex, wchar_t ch) {
    m_str.insert(size_t(ClampIndex(iIndex, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int iIndex, LPCWSTR psz) {
    const std::wstring text(OrEmpty(psz));  // psz may point into m_str
    m_str.insert(size_t(ClampIndex(iIndex, GetLength())), text);
    return GetLength();
}

int CString::Delete(int iIndex, int nCount) {
    const int first = std::max(0, iIndex);
    if (nCount > 0 && first < GetLength()) m_str.erase(size_t(first), size_t(std::min(nCount, GetLength() - first)));
    return GetLength();
}

// ---- 7. Formatting -----------------------------------------------------------------------------------
void CString::FormatV(LPCWSTR pszFormat, va_list args) {
    std::wstring out;
    if (!FormatInto(out, pszFormat, args)) AfxThrowInvalidArgException();
    m_str.swap(out);
}

void CString::AppendFormatV(LPCWSTR pszFormat, va_list args) {
    std::wstring out;
    if (!FormatInto(out, pszFormat, args)) AfxThrowInvalidArgException();
    m_str += out;
}

void CString::Format(LPCWSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::wstring out;
    const bool ok = FormatInto(out, pszFormat, args);
    va_end(args);
    if (!ok) AfxThrowInvalidArgException();
    m_str.swap(out);
}

void CString::AppendFormat(LPCWSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::wstring out;
    const bool ok = FormatInto(out, pszFormat, args);
    va_end(args);
    if (!ok) AfxThrowInvalidArgException();
    m_str += out;
}
