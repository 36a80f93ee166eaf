// Private model of module resources: what a resource script declares, per module.
// Shared by runtime/src/res and the MFC classes in runtime/src/menu.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace res {

struct MenuNode {
    std::wstring text;
    UINT id = 0;
    UINT flags = 0;  // MF_ flags: MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED, ...
    std::vector<MenuNode> children;
};

enum class Type { Menu, Bitmap, Toolbar };

struct Name {
    bool isId = true;
    WORD id = 0;
    std::wstring text;  // upper case: resource names compare without case
    bool operator==(const Name& o) const { return isId == o.isId && (isId ? id == o.id : text == o.text); }
};
Name NameOf(LPCWSTR name);  // MAKEINTRESOURCE values and strings
std::string Describe(const Name& name);

struct Resource {
    Type type = Type::Menu;
    Name name;
    std::string file;  // the script, for messages
    int line = 0;
    std::vector<MenuNode> menu;  // Type::Menu: the top-level items
    std::string bitmapPath;      // Type::Bitmap: resolved against the script's folder
    SIZE buttonSize{};           // Type::Toolbar
    std::vector<UINT> buttons;   // Type::Toolbar: command ids, 0 for a separator
};

// Parses a script; on success appends its resources, on failure sets "file:line: what".
bool ParseScript(const std::string& text, const std::string& file, const rt::ResourceScriptFolders& folders,
                 std::vector<std::unique_ptr<Resource>>* out, std::string* error);

// The regular file a script names (`name` relative, '\\' or '/' between folders) in the
// first of the script's folders that has it; false with the reason otherwise.
bool ResolveScriptFile(const rt::ResourceScriptFolders& folders, const std::string& name, std::string* path,
                       std::string* why);
// A whole regular file of at most max_bytes; never waits on a FIFO or a device.
bool ReadScriptFile(const std::string& path, long long max_bytes, std::string* text, std::string* why);

// A resource of a module (null: of any module, in registration order); *module receives
// the module that holds it.
const Resource* Find(HINSTANCE module, LPCWSTR name, Type type, HINSTANCE* found_in = nullptr);
// A type given as RT_MENU, RT_BITMAP or RT_TOOLBAR; false for other types.
bool TypeOf(LPCWSTR rt_type, Type* type);

}  // namespace res
