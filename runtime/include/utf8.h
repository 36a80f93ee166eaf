// The one UTF-8 codec of the tree: skin files, scripts, resource files, font names and
// file names all go through it, so that every input meets one policy.
//   - Each byte that does not begin a well-formed sequence (a stray continuation byte, an
//     overlong form, a surrogate, a value above U+10FFFF, a sequence cut short) becomes
//     one U+FFFD; decoding goes on at the next byte.
//   - Code points above U+FFFF become a surrogate pair where wchar_t has 16 bits, and one
//     wchar_t where it has 32. Encoding reads the pairs back; a lone surrogate, or a value
//     no code point has, is written as U+FFFD.
#pragma once

#include <cstddef>
#include <string>

namespace rt {

std::wstring Utf8ToWide(const char* utf8, size_t len);
inline std::wstring Utf8ToWide(const std::string& utf8) { return Utf8ToWide(utf8.data(), utf8.size()); }

std::string WideToUtf8(const wchar_t* wide, size_t len);
inline std::string WideToUtf8(const std::wstring& wide) { return WideToUtf8(wide.data(), wide.size()); }

}  // namespace rt
