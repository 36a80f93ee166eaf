// Module resources: registration of resource scripts, look-up, LoadMenuW, LoadBitmapW,
// FindResourceW.
//
// Index
//   1. The module table
//   2. Names
//   3. Files a script names
//   4. Registration (rt::)
//   5. Loading
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cwctype>

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

constexpr long long kMaxScriptBytes = 16LL << 20;

// The canonical form of a path (symbolic links followed); empty when it does not exist.
std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return std::string();
    std::string out(real);
    std::free(real);
    return out;
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

// ---- 3. Files a script names ---------------------------------------------------------------------
bool ResolveScriptFile(const rt::ResourceScriptFolders& folders, const std::string& name, std::string* path,
                       std::string* why) {
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty()) {
        *why = "no file name";
        return false;
    }
    if (relative[0] == '/') {
        *why = "an absolute path is not allowed; name a file in the script's folder";
        return false;
    }
    std::vector<std::string> dirs{folders.base.empty() ? std::string(".") : folders.base};
    dirs.insert(dirs.end(), folders.include.begin(), folders.include.end());
    *why = folders.include.empty() ? "not found in the script's folder"
                                   : "not found in the script's folder or the include folders";
    for (const std::string& dir : dirs) {
        const std::string root = RealPath(dir.empty() ? std::string(".") : dir);
        const std::string found = RealPath(dir + "/" + relative);
        if (root.empty() || found.empty()) continue;
        const std::string prefix = root == "/" ? root : root + "/";
        if (found.compare(0, prefix.size(), prefix) != 0) {
            *why = "it lies outside the script's folders";
            continue;
        }
        struct stat st {};
        if (::stat(found.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            *why = "it is not a regular file";
            continue;
        }
        *path = found;
        return true;
    }
    return false;
}

bool ReadScriptFile(const std::string& path, long long max_bytes, std::string* text, std::string* why) {
    // Non-blocking: opening a FIFO for reading would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = "cannot open";
        return false;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = "not a regular file";
        return false;
    }
    const auto too_big = [&](long long size) {
        *why = "the file is " + std::to_string(size) + " bytes; the limit is " + std::to_string(max_bytes);
        return false;
    };
    if (st.st_size > max_bytes) return too_big(st.st_size);
    text->assign(size_t(st.st_size), '\0');
    size_t done = 0;
    while (done < text->size()) {
        const ssize_t n = ::read(fd, &(*text)[done], text->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // shorter than it was a moment ago
        done += size_t(n);
    }
    text->resize(done);
    char extra;
    if (::read(fd, &extra, 1) > 0) return too_big(st.st_size + 1);  // grew while being read
    return true;
}

}  // namespace res

// ---- 4. Registration ------------------------------------------------------------------------------
namespace rt {

bool RegisterResourceText(HINSTANCE module, const std::string& text, const std::string& name,
                          const ResourceScriptFolders& folders, std::string* error) {
    std::vector<std::unique_ptr<res::Resource>> parsed;
    if (!res::ParseScript(text, name, folders, &parsed, error)) return false;
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
    return RegisterResourceScript(module, path, {}, error);
}

bool RegisterResourceScript(HINSTANCE module, const std::string& path, const std::vector<std::string>& include_dirs,
                            std::string* error) {
    std::string text, why;
    if (!res::ReadScriptFile(path, res::kMaxScriptBytes, &text, &why)) {
        if (error) *error = path + ": " + why;
        return false;
    }
    return RegisterResourceText(module, text, path, ResourceScriptFolders{res::DirOf(path), include_dirs}, error);
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

// ---- 5. Loading ------------------------------------------------------------------------------------
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
