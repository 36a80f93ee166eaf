// The gallery: every element in each of its visual states, as PNG files plus an
// index.html contact sheet with labels. Each element kind contributes a page
// (kinds/Gallery*.cpp, listed in RenderAllGalleryPages).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"

namespace kelem {

struct GalleryShot {
    std::string file;   // relative to the output folder
    std::string label;
    SIZE size{};
};

struct GallerySection {
    std::string title;
    std::vector<GalleryShot> shots;
};

class Gallery {
public:
    Gallery(std::string outDir, std::string skinDir);
    ~Gallery();

    void Section(const std::string& title);
    // A fresh host window of that size on the virtual screen, with the gallery's skin.
    std::unique_ptr<CHeadlessHost> Scene(SIZE size);
    // Starts a picture of the host: forgets the text runs drawn so far (an earlier scene's
    // repaints after its own picture) and has the host paint afresh, so that the runs
    // recorded are those of this scene.
    void Repaint(CHeadlessHost& host);
    // Paints the scene and writes it as <section-slug>/<name>.png.
    void Shot(CHeadlessHost& host, const std::string& name, const std::string& label);
    // Writes a picture drawn without a host (the runtime's test card, a scene with open
    // popups). systemDrawn: the parts the system draws itself (popup menu windows), in the
    // picture's coordinates, listed beside it for the Windows comparison.
    void Image(HBITMAP bmp, const std::string& name, const std::string& label,
               const std::vector<RECT>& systemDrawn = {});
    // Writes index.html; returns false when it cannot.
    bool WriteIndex();

    const std::string& OutDir() const { return outDir_; }
    const std::string& SkinDir() const { return skinDir_; }
    // A fault a page found in its own picture.
    void Problem(std::string text) { problems_.push_back(std::move(text)); }
    // Missing palette keys and factory bitmaps the pages asked for, leaks, write errors.
    std::vector<std::string> Problems() const;
    int ShotCount() const;

private:
    std::string outDir_;
    std::string skinDir_;
    std::unique_ptr<CSkin> skin_;  // loaded once, shared by every scene
    std::vector<GallerySection> sections_;
    std::vector<std::string> problems_;
    // The text runs drawn since the last picture, in its coordinates (the host's client
    // area, or the card's bitmap); written beside each picture as <name>.text.json.
    std::vector<RECT> textCells_;
    void WriteTextCells(const std::string& file, const std::vector<RECT>& systemDrawn = {});
};

void RenderAllGalleryPages(Gallery& gallery);

// One function per page.
void GalleryRuntime(Gallery& gallery);
void GalleryButtons(Gallery& gallery);
void GalleryScrollbars(Gallery& gallery);
void GalleryTabs(Gallery& gallery);
void GalleryMenus(Gallery& gallery);
void GalleryDesk(Gallery& gallery);  // the viewer's desk (viewer/GalleryDesk.cpp)

}  // namespace kelem
