#include "Gallery.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "utf8.h"
#include "win32/runtime_ext.h"

namespace kelem {
namespace {

std::string Slug(const std::string& title) {
    std::string slug;
    for (char c : title) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) slug.push_back(c);
        else if (c >= 'A' && c <= 'Z') slug.push_back(char(c - 'A' + 'a'));
        else if (!slug.empty() && slug.back() != '-') slug.push_back('-');
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    return slug.empty() ? "section" : slug;
}

void MakeDirs(const std::string& path) {
    std::error_code ignored;  // a folder that cannot be made shows as a picture that cannot be written
    std::filesystem::create_directories(path, ignored);
}

std::string Html(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out.push_back(c);
    }
    return out;
}

}  // namespace

Gallery::Gallery(std::string outDir, std::string skinDir)
    : outDir_(std::move(outDir)), skinDir_(std::move(skinDir)), skin_(std::make_unique<CSkin>()) {
    rt::SetScreenSize(1600, 1200);
    MakeDirs(outDir_);
    skin_->Load(skinDir_);
    // Pictures start at the screen's origin. Elements paint with the viewport moved to their
    // place: the viewport origin takes a cell to its window's client coordinates, and the
    // window's place on the screen to the picture's (a popup menu's owner-drawn items). A
    // double buffer drawn on while an element paints is in the element's coordinates (its
    // window origin follows the part it mirrors), and is copied back to the element's place.
    rt::SetTextRunHook([this](HDC hdc, const RECT& cell) {
        POINT org{};
        ::GetViewportOrgEx(hdc, &org);
        if (HWND window = ::WindowFromDC(hdc)) {
            ::ClientToScreen(window, &org);
        } else {
            for (const CHostWindow* host : CHostWindow::AllHosts())
                if (host->PaintingDC() && host->PaintingDC() != hdc) {
                    org.x += host->PaintingRect().left;
                    org.y += host->PaintingRect().top;
                    break;
                }
        }
        textCells_.push_back(RECT{cell.left + org.x, cell.top + org.y, cell.right + org.x, cell.bottom + org.y});
    });
}

Gallery::~Gallery() { rt::SetTextRunHook(nullptr); }

// Sorted, without repeats: a run painted twice (a paint, then a print) is one cell.
void Gallery::WriteTextCells(const std::string& file, const std::vector<RECT>& systemDrawn) {
    auto key = [](const RECT& r) { return std::make_tuple(r.top, r.left, r.bottom, r.right); };
    std::sort(textCells_.begin(), textCells_.end(), [&](const RECT& a, const RECT& b) { return key(a) < key(b); });
    textCells_.erase(std::unique(textCells_.begin(), textCells_.end(),
                                 [&](const RECT& a, const RECT& b) { return key(a) == key(b); }),
                     textCells_.end());
    const std::string path = outDir_ + "/" + file.substr(0, file.size() - 4) + ".text.json";
    std::ofstream out(path);
    auto list = [&out](const std::vector<RECT>& rects) {
        for (size_t i = 0; i < rects.size(); ++i) {
            const RECT& r = rects[i];
            out << (i ? ", " : "") << "[" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "]";
        }
    };
    out << "{\"cells\": [";
    list(textCells_);
    out << "]";
    if (!systemDrawn.empty()) {
        out << ", \"system_drawn\": [";
        list(systemDrawn);
        out << "]";
    }
    out << "}\n";
    if (!out) problems_.push_back(file + ": cannot write " + path);
    textCells_.clear();
}

void Gallery::Section(const std::string& title) { sections_.push_back(GallerySection{title, {}}); }

std::unique_ptr<CHeadlessHost> Gallery::Scene(SIZE size) {
    auto host = std::make_unique<CHeadlessHost>(size);
    // The scene's own skin stays empty: the gallery's shared one is in the environment.
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    env->SetSkinPalette(skin_->Palette());
    env->SetBitmapFactory(skin_->Factory());
    return host;
}

void Gallery::Repaint(CHeadlessHost& host) {
    textCells_.clear();
    ::InvalidateRect(host.Window().GetSafeHwnd(), nullptr, TRUE);
}

void Gallery::Shot(CHeadlessHost& host, const std::string& name, const std::string& label) {
    if (sections_.empty()) Section("Elements");
    const std::string dir = Slug(sections_.back().title);
    MakeDirs(outDir_ + "/" + dir);
    const std::string file = dir + "/" + name + ".png";
    Repaint(host);
    std::string error;
    if (!host.SaveSnapshot(outDir_ + "/" + file, &error)) problems_.push_back(file + ": " + error);
    WriteTextCells(file);
    for (const std::wstring& p : host.Window().Problems()) problems_.push_back(file + ": " + rt::WideToUtf8(p));
    sections_.back().shots.push_back(GalleryShot{file, label, host.Size()});
}

void Gallery::Image(HBITMAP bmp, const std::string& name, const std::string& label,
                    const std::vector<RECT>& systemDrawn) {
    if (sections_.empty()) Section("Runtime");
    const std::string dir = Slug(sections_.back().title);
    MakeDirs(outDir_ + "/" + dir);
    const std::string file = dir + "/" + name + ".png";
    std::string error;
    if (!rt::SavePngFile(bmp, outDir_ + "/" + file, &error)) problems_.push_back(file + ": " + error);
    WriteTextCells(file, systemDrawn);
    BITMAP bm{};
    ::GetObjectW(bmp, sizeof bm, &bm);
    sections_.back().shots.push_back(GalleryShot{file, label, SIZE{bm.bmWidth, bm.bmHeight}});
}

std::vector<std::string> Gallery::Problems() const {
    // The skin's own problems include pictures first asked for by a scene.
    std::vector<std::string> all = skin_->Problems();
    all.insert(all.end(), problems_.begin(), problems_.end());
    for (const std::wstring& key : skin_->Palette()->MissingKeys()) all.push_back("missing palette " + rt::WideToUtf8(key));
    for (const std::wstring& file : skin_->Factory()->MissingFiles()) all.push_back("missing bitmap " + rt::WideToUtf8(file));
    return all;
}

int Gallery::ShotCount() const {
    int n = 0;
    for (const GallerySection& s : sections_) n += int(s.shots.size());
    return n;
}

bool Gallery::WriteIndex() {
    std::ofstream html(outDir_ + "/index.html");
    if (!html) return false;
    html << "<!doctype html>\n<html><head><meta charset=\"utf-8\"><title>KelEMBase gallery</title>\n"
            "<style>body{background:#111318;color:#d8dee9;font:14px sans-serif;margin:24px}"
            "h2{border-bottom:1px solid #3a4150;padding-bottom:4px;margin-top:32px}"
            ".shots{display:flex;flex-wrap:wrap;gap:18px}figure{margin:0}"
            "img{image-rendering:pixelated;border:1px solid #3a4150;display:block}"
            "figcaption{font-size:12px;color:#8a93a6;margin-top:4px;max-width:640px}</style></head><body>\n"
            "<h1>KelEMBase gallery</h1>\n<p>Skin: "
         << Html(skinDir_) << "</p>\n";
    for (const GallerySection& section : sections_) {
        html << "<h2>" << Html(section.title) << "</h2>\n<div class=\"shots\">\n";
        for (const GalleryShot& shot : section.shots)
            html << "<figure><img src=\"" << Html(shot.file) << "\" width=\"" << shot.size.cx * 2 << "\" height=\""
                 << shot.size.cy * 2 << "\" alt=\"" << Html(shot.label) << "\"><figcaption>" << Html(shot.label)
                 << "</figcaption></figure>\n";
        html << "</div>\n";
    }
    const std::vector<std::string> problems = Problems();
    html << "<h2>Problems</h2>\n<p>" << problems.size() << " found</p>\n<ul>\n";
    for (const std::string& p : problems) html << "<li>" << Html(p) << "</li>\n";
    html << "</ul>\n</body></html>\n";
    return bool(html);
}

void RenderAllGalleryPages(Gallery& gallery) {
    GalleryRuntime(gallery);
    GalleryButtons(gallery);
    GalleryScrollbars(gallery);
    GalleryTabs(gallery);
    GalleryMenus(gallery);
    GalleryDesk(gallery);
}

}  // namespace kelem
