// The skin generator's toolbox: a theme (the colours a skin is drawn in), a small
// pixel canvas over a 32-bit DIB section, and a writer that collects palette entries
// and bitmap files and writes them as a skin folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform.h"

namespace skingen {

struct Theme {
    std::string name;        // "default", "light"
    COLORREF window;         // the desk behind the elements
    COLORREF panel;          // strips and bars
    COLORREF panelHot;
    COLORREF panelDown;
    COLORREF frame;          // 1-pixel frames
    COLORREF frameHot;
    COLORREF text;
    COLORREF textDim;
    COLORREF textHot;
    COLORREF accent;         // the one accent colour
    COLORREF accentText;     // text on the accent
    COLORREF track;          // scrollbar tracks
    COLORREF thumb;
    COLORREF thumbHot;
    COLORREF arrow;          // arrow glyphs
    COLORREF disabled;
    COLORREF disabledText;
    std::string fontFace;
};

Theme DarkTheme();
Theme LightTheme();

// Pixels of a top-down 32-bit DIB section, drawn directly.
class Canvas {
public:
    Canvas(int w, int h, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return w_; }
    int Height() const { return h_; }
    void Pixel(int x, int y, COLORREF c);
    void Fill(int x, int y, int w, int h, COLORREF c);
    void Frame(int x, int y, int w, int h, COLORREF c);
    // Vertical gradient from top to bottom colour over the rectangle.
    void VGradient(int x, int y, int w, int h, COLORREF top, COLORREF bottom);
    void HGradient(int x, int y, int w, int h, COLORREF left, COLORREF right);
    // A filled triangle pointing up/down/left/right, centred in the rectangle.
    enum class Dir { Up, Down, Left, Right };
    void Arrow(int x, int y, int w, int h, Dir dir, int size, COLORREF c);
    HBITMAP Bitmap() const { return bmp_; }
    HBITMAP Detach();  // the caller owns the bitmap

private:
    int w_, h_;
    HBITMAP bmp_;
    uint32_t* bits_;
};

COLORREF Mix(COLORREF a, COLORREF b, int percentB);

class SkinWriter {
public:
    SkinWriter() = default;
    ~SkinWriter();
    SkinWriter(const SkinWriter&) = delete;
    SkinWriter& operator=(const SkinWriter&) = delete;
    void Color(const std::string& key, COLORREF c);
    void Font(const std::string& key, const std::string& spec);
    // A palette bitmap: written to file (relative to the skin folder) and keyed.
    void PaletteBitmap(const std::string& key, const std::string& file, Canvas& canvas);
    // A factory bitmap: folder/file under the skin folder.
    void FolderBitmap(const std::string& file, Canvas& canvas);
    // Writes palette.ini and every bitmap; returns false with a message on failure.
    bool Write(const std::string& dir, const std::string& themeName, std::string* error) const;

private:
    std::map<std::string, std::string> colors_, fonts_, paletteBitmaps_;
    std::map<std::string, HBITMAP> files_;  // owned
};

// One function per area of the skin.
void DrawButtonSkin(const Theme& theme, SkinWriter& out);
void DrawScrollbarSkin(const Theme& theme, SkinWriter& out);
void DrawTabsSkin(const Theme& theme, SkinWriter& out);
void DrawMenuSkin(const Theme& theme, SkinWriter& out);

}  // namespace skingen
