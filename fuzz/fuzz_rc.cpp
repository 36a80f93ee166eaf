// Fuzz target: the resource script parser (rt::RegisterResourceText). Whatever the script
// declares is then loaded back (menus by the names the script gives and by small ids,
// bitmaps likewise) and freed; menus and GDI objects must return to where they were.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "utf8.h"
#include "platform.h"
#include "win32/runtime_ext.h"

namespace {

HINSTANCE const kModule = reinterpret_cast<HINSTANCE>(0x4B454C);

std::string ScratchFolder() {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/kelem-fuzz-rc-XXXXXX";
        const char* made = ::mkdtemp(tmpl);
        if (!made) std::abort();
        HDC screen = ::GetDC(nullptr);
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, 4, 4);
        ::ReleaseDC(nullptr, screen);
        rt::SaveBmpFile(bmp, std::string(made) + "/ok.bmp");
        ::DeleteObject(bmp);
        return std::string(made);
    }();
    return dir;
}

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
    const int gdi_before = rt::GdiObjectTotal(), menus_before = rt::MenuObjectCount();
    std::string error;
    const bool ok = rt::RegisterResourceText(kModule, text, "fuzz.rc", ScratchFolder(), &error);
    if (!ok && error.empty()) {
        std::fprintf(stderr, "a refused script without a reason\n");
        std::abort();
    }
    if (ok) {
        for (const std::wstring& name : NamesOf(text)) LoadBack(name.c_str());
        for (WORD id = 1; id <= 8; ++id) LoadBack(MAKEINTRESOURCEW(id));
    }
    rt::UnregisterResources(kModule);
    if (rt::GdiObjectTotal() != gdi_before || rt::MenuObjectCount() != menus_before) {
        std::fprintf(stderr, "resources left behind: GDI %d -> %d, menus %d -> %d\n", gdi_before, rt::GdiObjectTotal(),
                     menus_before, rt::MenuObjectCount());
        std::abort();
    }
    return 0;
}
