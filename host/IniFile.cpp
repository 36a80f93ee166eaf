#include "IniFile.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Cuts a value at " ;" (or "\t;"), the start of a trailing comment.
std::string_view WithoutComment(std::string_view value) {
    for (size_t i = 1; i < value.size(); ++i)
        if (value[i] == ';' && IsBlank(value[i - 1])) return value.substr(0, i);
    return value;
}

}  // namespace

void ReadIni(std::string_view text, const IniHandlers& handlers) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    auto problem = [&](int line, const std::string& what) {
        if (handlers.onProblem) handlers.onProblem(line, what);
    };
    std::string section;
    bool in_section = false;
    int line = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t nl = text.find('\n', start);
        const size_t end = nl == std::string_view::npos ? text.size() : nl;
        const std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++line;
        if (raw.find('\0') != std::string_view::npos) {
            problem(line, "NUL byte in the line");
            continue;
        }
        const std::string_view s = Trim(raw);
        if (s.empty() || s.front() == ';' || s.front() == '#') continue;
        if (s.front() == '[') {
            const size_t close = s.find(']');
            if (close == std::string_view::npos) {
                problem(line, "no ']' after the section name");
                continue;
            }
            if (!Trim(WithoutComment(s.substr(close + 1))).empty()) {
                problem(line, "text after the section name");
                continue;
            }
            section.assign(Trim(s.substr(1, close - 1)));
            in_section = true;
            continue;
        }
        const size_t eq = s.find('=');
        if (eq == std::string_view::npos) {
            problem(line, "not a key = value line or [section]");
            continue;
        }
        IniEntry entry;
        entry.line = line;
        entry.section = section;
        entry.key = Trim(s.substr(0, eq));
        entry.value = Trim(WithoutComment(s.substr(eq + 1)));
        if (entry.key.empty()) {
            problem(line, "no key before '='");
            continue;
        }
        if (!in_section) {
            problem(line, "key '" + std::string(entry.key) + "' before the first [section]");
            continue;
        }
        if (handlers.onEntry) handlers.onEntry(entry);
    }
}
