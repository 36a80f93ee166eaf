// Skins on disk. A skin is a folder with a palette file, "palette.ini" (sections
// [colors], [fonts] and [bitmaps], keyed exactly by the palette keys the elements ask
// for), and sub-folders of factory bitmaps ("tab_control/arrow.bmp", "menu/menu_pic.bmp").
//
//   [colors]   CElementTabControl.Border = #3A4150        (or 58,65,80)
//   [fonts]    QuoteTab.Button = DejaVu Sans, -12, 400     (face, lfHeight[, weight[, italic[, underline]]])
//   [bitmaps]  scroll_bar.UpArrow = scroll_bar/up_arrow.bmp   (relative to the skin folder)
//
// Bad lines and missing files are reported with file and line; everything valid is
// kept. Loading another skin (or the same one again) keeps every font and bitmap
// object an element may still point at and swaps its contents, so a skin change
// shows at the next paint. What a load cannot read keeps its previous value: a bad
// line keeps its key's colour, font or bitmap, a picture that fails keeps the old
// picture, and a folder without a readable palette file changes nothing at all.
// The parts: SkinFiles.h (files and limits), SkinPalette.h, SkinBitmapFactory.h.
#pragma once

#include <string>
#include <vector>

#include "SkinBitmapFactory.h"
#include "SkinFiles.h"
#include "SkinPalette.h"

// A loaded skin installed in the global environment.
class CSkin {
public:
    CSkin();
    ~CSkin();
    CSkin(const CSkin&) = delete;
    CSkin& operator=(const CSkin&) = delete;

    // Loads (or reloads) the skin folder and makes it the environment's palette and factory.
    // False when the folder has no readable palette file; the skin loaded before stays.
    bool Load(const std::string& dir);
    const std::string& Dir() const { return m_dir; }
    // Of the last load, and of the pictures read since.
    std::vector<std::string> Problems() const;
    CSkinPalette* Palette() const { return m_pPalette; }
    CSkinBitmapFactory* Factory() const { return m_pFactory; }

private:
    std::string m_dir;
    std::vector<std::string> m_problems;  // of the palette file
    CSkinPalette* m_pPalette;        // one reference held
    CSkinBitmapFactory* m_pFactory;  // one reference held
};
