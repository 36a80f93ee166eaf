// Module resources: registration of resource scripts, look-up, LoadMenuW, LoadBitmapW,
// FindResourceW.
//
// Index
//   1. The module table
//   2. Names
//   3. Registration (rt::)
//   4. Loading
#include <cwctype>
#include <fstream>
#include <sstream>

#include "res/res_private.h"
#include "win32/runtime_ext.h"

namespace res {
namespace {

// ---- 1. The module table ----------------------------------------------------------------------
struct Module {
    HINSTANCE handle = nullptr;
    std::vector<std::unique_ptr<Resource>> resources;
};

struct Modules {
    std::vector<Module> list;  // registration order
};

Modules& modules() {
    static Modules m;  // modules are loaded once per process
    return m;
}

Module& ModuleFor(Modules& m, HINSTANCE handle) {
    for (Module& mod : m.list)
        if (mod.handle == handle) return mod;
    m.list.push_back(Module{handle, {}});
    return m.list.back();
}

std::string DirOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

// ---- 2. Names -------------------------------------------------------------------------------------
Name NameOf(LPCWSTR name) {
    Name n;
    if (IS_INTRESOURCE(name)) {
        n.id = WORD(reinterpret_cast<ULONG_PTR>(name));
        return n;
    }
    n.isId = false;
    if (name[0] == L'#') {  // "#123" names the integer resource 123
        wchar_t* end = nullptr;
        const unsigned long id = std::wcstoul(name + 1, &end, 10);
        if (end && *end == L'\0' && end != name + 1) {
            n.isId = true;
            n.id = WORD(id);
            return n;
        }
    }
    for (const wchar_t* p = name; *p; ++p) n.text.push_back(wchar_t(std::towupper(wint_t(*p))));
    return n;
}

std::string Describe(const Name& name) {
    if (name.isId) return std::to_string(name.id);
    std::string s = "'";
    for (wchar_t c : name.text) s.push_back(c < 0x80 ? char(c) : '?');
    return s + "'";
}

bool TypeOf(LPCWSTR rt_type, Type* type) {
    if (rt_type == RT_MENU) {
        *type = Type::Menu;
    } else if (rt_type == RT_BITMAP) {
        *type = Type::Bitmap;
    } else if (rt_type == RT_TOOLBAR) {
        *type = Type::Toolbar;
    } else {
        return false;
    }
    return true;
}

const Resource* Find(HINSTANCE module, LPCWSTR name, Type type, HINSTANCE* found_in) {
    if (!name) return nullptr;
    const Name wanted = NameOf(name);
    Modules& m = modules();
    for (const Module& mod : m.list) {
        if (module && mod.handle != module) continue;
        for (const auto& r : mod.resources) {
            if (r->type != type || !(r->name == wanted)) continue;
            if (found_in) *found_in = mod.handle;
            return r.get();
        }
    }
    return nullptr;
}

}  // namespace res

// ---- 3. Registration ------------------------------------------------------------------------------
namespace rt {

bool RegisterResourceText(HINSTANCE module, const std::string& text, const std::string& name,
                          const std::string& base_dir, std::string* error) {
    std::vector<std::unique_ptr<res::Resource>> parsed;
    if (!res::ParseScript(text, name, base_dir, &parsed, error)) return false;
    res::Modules& m = res::modules();
    res::Module& mod = res::ModuleFor(m, module);
    // Names must stay unique in a module across its scripts.
    for (const auto& r : parsed) {
        for (const auto& earlier : mod.resources) {
            if (earlier->type == r->type && earlier->name == r->name) {
                if (error)
                    *error = r->file + ":" + std::to_string(r->line) + ": resource " + res::Describe(r->name) +
                             " is already registered by " + earlier->file + ":" + std::to_string(earlier->line);
                return false;
            }
        }
    }
    for (auto& r : parsed) mod.resources.push_back(std::move(r));
    return true;
}

bool RegisterResourceScript(HINSTANCE module, const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = path + ": cannot open";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return RegisterResourceText(module, text.str(), path, res::DirOf(path), error);
}

void UnregisterResources(HINSTANCE module) {
    res::Modules& m = res::modules();
    if (!module) {
        m.list.clear();
        return;
    }
    for (auto it = m.list.begin(); it != m.list.end(); ++it) {
        if (it->handle == module) {
            m.list.erase(it);
            return;
        }
    }
}

}  // namespace rt

// ---- 4. Loading ------------------------------------------------------------------------------------
namespace {

bool BuildMenu(HMENU hmenu, const std::vector<res::MenuNode>& nodes) {
    for (const res::MenuNode& node : nodes) {
        if (node.flags & MF_POPUP) {
            HMENU sub = CreatePopupMenu();
            if (!sub || !BuildMenu(sub, node.children) ||
                !AppendMenuW(hmenu, node.flags, reinterpret_cast<UINT_PTR>(sub), node.text.c_str())) {
                DestroyMenu(sub);
                return false;
            }
        } else if (!AppendMenuW(hmenu, node.flags, node.id, node.text.c_str())) {
            return false;
        }
    }
    return true;
}

}  // namespace

HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName) {
    const res::Resource* r = res::Find(hInstance, lpMenuName, res::Type::Menu);
    if (!r) return nullptr;
    const std::vector<res::MenuNode> nodes = r->menu;  // the table may change while building
    HMENU hmenu = CreateMenu();
    if (!hmenu) return nullptr;
    if (!BuildMenu(hmenu, nodes)) {
        DestroyMenu(hmenu);
        return nullptr;
    }
    return hmenu;
}

HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
    const res::Resource* r = res::Find(hInstance, lpBitmapName, res::Type::Bitmap);
    if (!r) return nullptr;
    const std::string path = r->bitmapPath;
    return rt::LoadBmpFile(path);
}

HRSRC FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
    res::Type type;
    if (!res::TypeOf(lpType, &type)) return nullptr;
    return reinterpret_cast<HRSRC>(const_cast<res::Resource*>(res::Find(hModule, lpName, type)));
}
