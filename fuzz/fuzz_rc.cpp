// Fuzz target: the resource script parser (rt::RegisterResourceText). Whatever the script
// declares is then loaded back (menus by the names the script gives and by small ids,
// bitmaps likewise) and freed; menus and GDI objects must return to where they were.
#include <sstream>
#include <string>
#include <vector>

#include "driver/ElementDriver.h"
#include "utf8.h"
#include "win32/runtime_ext.h"

namespace {

HINSTANCE const kModule = reinterpret_cast<HINSTANCE>(0x4B454C);

// First words of lines that declare a resource: "NAME MENU", "NAME BITMAP ...".
std::vector<std::wstring> NamesOf(const std::string& text) {
    std::vector<std::wstring> names;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && names.size() < 32) {
        std::istringstream words(line);
        std::string name, type;
        if (words >> name >> type)
            if (type == "MENU" || type == "MENUEX" || type == "BITMAP" || type == "TOOLBAR")
                names.push_back(rt::Utf8ToWide(name));
    }
    return names;
}

void LoadBack(LPCWSTR name) {
    if (HMENU menu = ::LoadMenuW(kModule, name)) ::DestroyMenu(menu);
    if (HBITMAP bmp = ::LoadBitmapW(kModule, name)) ::DeleteObject(bmp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    kfuzz::RunParserInput("the resource script", [&](std::string* error) {
        const bool ok = rt::RegisterResourceText(kModule, text, "fuzz.rc", kfuzz::ScratchFolder("rc"), error);
        if (ok) {
            for (const std::wstring& name : NamesOf(text)) LoadBack(name.c_str());
            for (WORD id = 1; id <= 8; ++id) LoadBack(MAKEINTRESOURCEW(id));
        }
        rt::UnregisterResources(kModule);
        return ok;
    });
    return 0;
}
