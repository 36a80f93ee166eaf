#include "Reflect.h"

#include <climits>

#include "utf8.h"

namespace kelem {

const Arg& Args::At(size_t i) const {
    if (i >= args_.size()) Fail("missing argument " + std::to_string(i + 1));
    return args_[i];
}

void Args::Fail(const std::string& what) const {
    throw ScriptError("line " + std::to_string(line_) + ": " + what);
}

int Args::Int(size_t i) const {
    const Arg& a = At(i);
    if (a.type != Arg::Type::Int) Fail("argument " + std::to_string(i + 1) + " must be an int, not " + a.Describe());
    if (a.i < INT_MIN || a.i > 0xFFFFFFFFLL) Fail("argument " + std::to_string(i + 1) + " is out of range");
    return static_cast<int>(static_cast<unsigned int>(a.i));  // 0xFFFFFFFF reads as -1, as in C
}

const wchar_t* Args::Str(size_t i) const {
    const Arg& a = At(i);
    if (a.type == Arg::Type::Null) return nullptr;
    if (a.type != Arg::Type::String) Fail("argument " + std::to_string(i + 1) + " must be a string, not " + a.Describe());
    return a.s.c_str();
}

std::string Args::Word(size_t i) const {
    const Arg& a = At(i);
    if (a.type != Arg::Type::Word) Fail("argument " + std::to_string(i + 1) + " must be a name, not " + a.Describe());
    return a.word;
}

std::string Args::OutputPath(size_t i, const std::string& outDir) const {
    const Arg& a = At(i);
    const std::string file = a.type == Arg::Type::Word ? a.word : rt::WideToUtf8(Str(i) ? Str(i) : L"");
    if (file.empty()) Fail("snapshot needs a file name");
    if (file[0] == '/' || file[0] == '\\') Fail("'" + file + "' is an absolute path; snapshots go into the --out folder");
    size_t start = 0;
    for (;;) {
        const size_t slash = file.find_first_of("/\\", start);
        const std::string part = file.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") Fail("'" + file + "' leaves the --out folder");
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return outDir.empty() ? file : outDir + "/" + file;
}

std::map<std::string, const Arg*> Args::Pairs(size_t from, const std::vector<std::string>& allowed) const {
    std::map<std::string, const Arg*> pairs;
    for (size_t i = from; i < args_.size(); ++i) {
        const Arg& a = args_[i];
        if (!a.IsPair()) Fail("expected field=value, not " + a.Describe());
        bool known = false;
        for (const std::string& name : allowed) known = known || name == a.word;
        if (!known) Fail("unknown field '" + a.word + "'");
        pairs[a.word] = &a.PairValue();
    }
    return pairs;
}

int Args::PairInt(const std::map<std::string, const Arg*>& pairs, const std::string& name, int fallback) const {
    auto it = pairs.find(name);
    if (it == pairs.end() || it->second->type == Arg::Type::Null) return fallback;
    if (it->second->type != Arg::Type::Int) Fail(name + " must be an int");
    return static_cast<int>(static_cast<unsigned int>(it->second->i));
}

const wchar_t* Args::PairStr(const std::map<std::string, const Arg*>& pairs, const std::string& name) const {
    auto it = pairs.find(name);
    if (it == pairs.end() || it->second->type == Arg::Type::Null) return nullptr;
    if (it->second->type != Arg::Type::String) Fail(name + " must be a string");
    return it->second->s.c_str();
}

void Args::ExpectCount(size_t n) const {
    if (args_.size() != n) Fail("expected " + std::to_string(n) + " arguments, got " + std::to_string(args_.size()));
}

void Args::ExpectAtLeast(size_t n) const {
    if (args_.size() < n)
        Fail("expected at least " + std::to_string(n) + " arguments, got " + std::to_string(args_.size()));
}

std::string Fmt(long long v) { return std::to_string(v); }

std::string Fmt(const std::wstring& s) {
    std::string out = "\"";
    for (char c : rt::WideToUtf8(s)) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::string Fmt(const wchar_t* s) { return s ? Fmt(std::wstring(s)) : "null"; }

std::string Fmt(const RECT& rc) {
    return "(" + Fmt(rc.left) + ", " + Fmt(rc.top) + ", " + Fmt(rc.right) + ", " + Fmt(rc.bottom) + ")";
}
std::string Fmt(const SIZE& sz) { return "(" + Fmt(sz.cx) + ", " + Fmt(sz.cy) + ")"; }
std::string Fmt(const POINT& pt) { return "(" + Fmt(pt.x) + ", " + Fmt(pt.y) + ")"; }

FieldPath FieldPath::Parse(const std::string& path) {
    FieldPath fp;
    const size_t dot = path.find('.');
    std::string first = path.substr(0, dot);
    fp.rest = dot == std::string::npos ? "" : path.substr(dot + 1);
    const size_t open = first.find('[');
    if (open != std::string::npos && first.back() == ']') {
        const std::string idx = first.substr(open + 1, first.size() - open - 2);
        char* end = nullptr;
        const long v = std::strtol(idx.c_str(), &end, 10);
        fp.index = (!idx.empty() && *end == '\0' && v >= 0 && v < INT_MAX) ? int(v) : INT_MAX;
        first = first.substr(0, open);
    }
    fp.head = first;
    return fp;
}

const ElementKind* Registry::Find(const std::string& name) const {
    auto it = kinds_.find(name);
    return it == kinds_.end() ? nullptr : &it->second;
}

const Verb* Registry::FindVerb(const std::string& verb) const {
    auto it = verbs_.find(verb);
    return it == verbs_.end() ? nullptr : &it->second;
}

const ElementKind* Registry::KindOf(CElementContainer* element) const {
    auto it = made_.find(element);
    return it == made_.end() ? nullptr : it->second;
}

}  // namespace kelem
