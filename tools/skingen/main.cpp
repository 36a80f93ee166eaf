// skingen: draws the bitmaps of the project's skins with the runtime and writes the
// skin folders (palette.ini and .bmp files).
//   skingen OUTROOT            writes OUTROOT/default and OUTROOT/light
#include <iostream>
#include <string>

#include "SkinWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: skingen OUTROOT   (writes OUTROOT/default and OUTROOT/light)\n";
        return 2;
    }
    const std::string root = argv[1];
    for (const skingen::Theme& theme : {skingen::DarkTheme(), skingen::LightTheme()}) {
        skingen::SkinWriter writer;
        skingen::DrawButtonSkin(theme, writer);
        skingen::DrawScrollbarSkin(theme, writer);
        skingen::DrawTabsSkin(theme, writer);
        skingen::DrawMenuSkin(theme, writer);
        std::string error;
        if (!writer.Write(root + "/" + theme.name, theme.name, &error)) {
            std::cerr << "skingen: " << error << "\n";
            return 1;
        }
        std::cout << "skingen: wrote " << root << "/" << theme.name << "\n";
    }
    return 0;
}
