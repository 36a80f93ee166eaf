// What the scenario runner knows of each element kind: how to create one, its public
// operations by their exact names, and its fields by their names. Each kind describes
// itself in kinds/<Kind>.cpp and is listed in kinds/Kinds.cpp.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Script.h"
#include "frame/ElementContainer.h"

namespace kelem {

// Per-run state that kinds may keep between commands (records declared by script
// verbs, for example), keyed by a name the kind chooses.
struct RunState {
    std::map<std::string, std::any> slots;
    template <class T>
    T& Slot(const std::string& key) {
        std::any& a = slots[key];
        if (!a.has_value()) a = T{};
        return std::any_cast<T&>(a);
    }
};

// Arguments of one call, with typed access that reports bad arguments as script errors.
class Args {
public:
    Args(const std::vector<Arg>& args, int line, RunState& state) : args_(args), line_(line), state_(state) {}
    size_t Count() const { return args_.size(); }
    const Arg& At(size_t i) const;
    int Int(size_t i) const;                      // ints only
    const wchar_t* Str(size_t i) const;           // a string, or null for null
    std::string Word(size_t i) const;             // a bare word (a name)
    // A file name (a word or a string) to write: a relative path without "..", so that
    // it stays inside outDir (the current folder when empty). Returns outDir/name.
    std::string OutputPath(size_t i, const std::string& outDir) const;
    // field=value pairs from index `from` on; unknown names are errors.
    std::map<std::string, const Arg*> Pairs(size_t from, const std::vector<std::string>& allowed) const;
    int PairInt(const std::map<std::string, const Arg*>& pairs, const std::string& name, int fallback) const;
    const wchar_t* PairStr(const std::map<std::string, const Arg*>& pairs, const std::string& name) const;
    void ExpectCount(size_t n) const;
    void ExpectAtLeast(size_t n) const;
    [[noreturn]] void Fail(const std::string& what) const;
    RunState& State() const { return state_; }
    int Line() const { return line_; }

private:
    const std::vector<Arg>& args_;
    int line_;
    RunState& state_;
};

// Value formatting shared by every kind: ints in decimal, flags 0/1, strings quoted,
// rectangles "(l, t, r, b)", sizes "(cx, cy)", points "(x, y)".
std::string Fmt(long long v);
std::string Fmt(const std::wstring& s);
std::string Fmt(const wchar_t* s);
std::string Fmt(const RECT& rc);
std::string Fmt(const SIZE& sz);
std::string Fmt(const POINT& pt);

// A field path such as "m_arrItems[2].m_rcItem" split into ("m_arrItems", 2, "m_rcItem").
struct FieldPath {
    std::string head;
    int index = -1;      // -1: no [i]
    std::string rest;    // after the first '.', may be empty
    static FieldPath Parse(const std::string& path);
};

// Asked for this name, a kind's field getter answers the names of its fields, comma
// separated ("m_arrItems[0].*" lists an item's): the viewer's inspector lists with it.
inline constexpr const char* kFieldListName = "*";
template <class FieldMap>
std::string FieldNameList(const FieldMap& fields) {
    std::string names;
    for (const auto& field : fields) names += (names.empty() ? "" : ",") + field.first;
    return names;
}

using Operation = std::function<std::string(CElementContainer* element, const Args& args)>;
// Returns false for an unknown field; throws ScriptError for a bad index.
using FieldGetter = std::function<bool(CElementContainer* element, const std::string& path, std::string* out)>;
// Script verbs a kind adds (for records, e.g. "menuinfo"); returns transcript text or "".
using Verb = std::function<std::string(const Args& args)>;

struct ElementKind {
    std::string name;  // "button", "vscroll", "hscroll", "tabs"
    std::function<CElementContainer*(const Args& args, size_t first)> create;  // extra create args from `first`
    std::map<std::string, Operation> operations;
    FieldGetter field;
};

class Registry {
public:
    void Add(ElementKind kind) { kinds_[kind.name] = std::move(kind); }
    void AddVerb(const std::string& verb, Verb v) { verbs_[verb] = std::move(v); }
    const ElementKind* Find(const std::string& name) const;
    const Verb* FindVerb(const std::string& verb) const;
    // Which kind an element was created as (set by the runner).
    void Remember(CElementContainer* element, const ElementKind* kind) { made_[element] = kind; }
    const ElementKind* KindOf(CElementContainer* element) const;

private:
    std::map<std::string, ElementKind> kinds_;
    std::map<std::string, Verb> verbs_;
    std::map<CElementContainer*, const ElementKind*> made_;
};

// Every kind the tool knows (kinds/Kinds.cpp).
void RegisterAllKinds(Registry& registry);

}  // namespace kelem
