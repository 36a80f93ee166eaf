// Fuzz target: the skin palette loader (host/Skin.h). The input becomes palette.ini in a
// scratch skin folder that also holds one small valid bitmap, "ok.bmp". Everything the
// file names is then asked for, the folder is loaded a second time (a reload swaps
// contents in place), and releasing the palette must give every GDI object back.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/ElementDriver.h"
#include "host/Skin.h"
#include "utf8.h"
#include "win32/runtime_ext.h"

namespace {

// The keys of the key = value lines, as the loader would see them.
std::vector<std::wstring> KeysOf(const std::string& text) {
    std::vector<std::wstring> keys;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && keys.size() < 64) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
        size_t start = key.find_first_not_of(" \t");
        keys.push_back(rt::Utf8ToWide(start == std::string::npos ? "" : key.substr(start)));
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string dir = kfuzz::ScratchFolder("skin");
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(dir + "/palette.ini", std::ios::binary | std::ios::trunc) << text;
    kfuzz::RunParserInput("the palette", [&](std::string*) {
        auto* palette = new CSkinPalette;
        palette->AddRef();
        std::vector<std::string> problems;  // a palette reports problems and loads what it can
        for (int pass = 0; pass < 2; ++pass) {
            palette->Load(dir, &problems);
            for (const std::wstring& key : KeysOf(text)) {
                palette->GetColor(key.c_str());
                if (CFont* font = palette->GetFont(key.c_str())) {
                    LOGFONTW lf{};
                    font->GetLogFont(&lf);
                }
                if (CBitmap* bmp = palette->GetBitmap(key.c_str())) {
                    BITMAP bm{};
                    bmp->GetBitmap(&bm);
                }
            }
        }
        palette->GetColor(nullptr);
        palette->GetFont(nullptr);
        palette->GetBitmap(nullptr);
        palette->Release();
        return true;
    });
    return 0;
}
