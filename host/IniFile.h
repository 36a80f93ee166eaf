// The palette file's syntax: an INI text of "[section]" lines and "key = value" lines.
//   - ';' or '#' first on a line starts a comment line; " ;" (a blank, then ';') starts a
//     comment at the end of a value ('#' there is part of the value: "#3A4150" is a colour).
//   - Blanks around sections, keys and values are dropped; a UTF-8 byte order mark at the
//     start is skipped; lines end with "\n" or "\r\n".
//   - A line is read whole, however long. A line that is neither of the above, a key
//     before the first section, an empty key or a NUL byte is a problem on its line;
//     reading goes on with the next line.
// Plain C++: the same reader serves every platform. The caller bounds the text's size.
#pragma once

#include <functional>
#include <string>
#include <string_view>

struct IniEntry {
    int line = 0;  // 1-based
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

struct IniHandlers {
    std::function<void(const IniEntry& entry)> onEntry;
    std::function<void(int line, const std::string& what)> onProblem;
};

void ReadIni(std::string_view text, const IniHandlers& handlers);
