// Index
//   1. Arguments and scaling
//   2. Event lines: parsing and replaying
//   3. The session: building, events, skins, screenshots, refresh
#include "tools/kelem/viewer/Session.h"

#include <cstdio>
#include <sstream>

#include "utf8.h"
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tabcontrol/ElementTabControl.h"
#include "tools/kelem/kinds/Kinds.h"
#include "tools/kelem/viewer/Inspector.h"
#include "win32/runtime_ext.h"

namespace kelem {

// ---- 1. Arguments and scaling
// ----------------------------------------------------------------------------------------
void ScaleNearest(const uint32_t* src, int width, int height, int scale, uint32_t* dst) {
    if (width <= 0 || height <= 0 || scale <= 0) return;
    const size_t dst_width = size_t(width) * size_t(scale);
    for (int y = 0; y < height; ++y) {
        uint32_t* dst_row = dst + size_t(y) * size_t(scale) * dst_width;
        const uint32_t* src_row = src + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < scale; ++k) dst_row[size_t(x) * size_t(scale) + size_t(k)] = src_row[x];
        for (int k = 1; k < scale; ++k) std::copy(dst_row, dst_row + dst_width, dst_row + size_t(k) * dst_width);
    }
}

bool ParseViewArgs(int argc, const char* const* argv, int first, ViewerOptions* out, std::string* error) {
    ViewerOptions o;
    o.defaultSkin = std::string(KELEM_SOURCE_DIR) + "/skins/default";
    o.lightSkin = std::string(KELEM_SOURCE_DIR) + "/skins/light";
    o.skinDir = o.defaultSkin;
    for (int i = first; i < argc; ++i) {
        const std::string a = argv[i];
        if (a != "--skin" && a != "--scale" && a != "--log" && a != "--png") {
            *error = "unknown option " + a;
            return false;
        }
        if (i + 1 >= argc) {
            *error = "missing value after " + a;
            return false;
        }
        const std::string value = argv[++i];
        if (a == "--skin") o.skinDir = value;
        if (a == "--log") o.logFile = value;
        if (a == "--png") o.pngPath = value;
        if (a == "--scale") {
            char* end = nullptr;
            const long scale = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || scale < 1 || scale > 8) {
                *error = "--scale takes a whole number from 1 to 8, not " + value;
                return false;
            }
            o.scale = int(scale);
        }
    }
    *out = o;
    return true;
}

// ---- 2. Event lines ------------------------------------------------------------------------------------
namespace {

bool ValueAfter(const std::string& line, const std::string& key, long long* out) {
    const size_t at = line.find(" " + key);
    if (at == std::string::npos) return false;
    const char* start = line.c_str() + at + 1 + key.size();
    char* end = nullptr;
    const long long v = std::strtoll(start, &end, 10);
    if (end == start) return false;
    *out = v;
    return true;
}

}  // namespace

bool ParseControlMessageLine(const std::string& line, ControlMessage* out) {
    std::istringstream in(line);
    std::string time, sender;
    long long msg = 0;
    if (!(in >> time >> sender >> msg) || time.rfind("t=", 0) != 0) return false;
    ControlMessage cm;
    cm.time = DWORD(std::strtoul(time.c_str() + 2, nullptr, 10));
    cm.senderName = rt::Utf8ToWide(sender);
    cm.msg = UINT(msg);
    long long v = 0;
    switch (cm.msg) {
        case 1324:
        case 1325:
        case 1326:
        case 1334:
        case WM_COMMAND:
            if (!ValueAfter(line, "id=", &v)) return false;
            cm.wParam = WPARAM(static_cast<int>(v));
            break;
        case 1344:
        case 1345:
            if (!ValueAfter(line, "pos=", &v)) return false;
            cm.wParam = cm.msg == 1344 ? 1 : 2;
            cm.lParam = LPARAM(v);
            break;
        default:
            return false;
    }
    *out = cm;
    return true;
}

bool ReplayOnDesk(Desk& desk, const ControlMessage& cm) {
    CElementContainer* sender = desk.Host().Window().FindElementByName(cm.senderName);
    if (!sender) return false;
    CElementTabControl* strip = sender == desk.TopStrip()      ? desk.TopStrip()
                                : sender == desk.BottomStrip() ? desk.BottomStrip()
                                                               : nullptr;
    bool replayed = false;
    if (strip && cm.msg == 1324) replayed = strip->SetSelectedTab(static_cast<int>(cm.wParam)) != 0;
    if (strip && cm.msg == 1326) replayed = strip->OnMenuCommand(DWORD(cm.wParam)) != 0;
    if (sender == desk.VScroll() && cm.msg == 1344) {
        desk.VScroll()->UpdateThumbPos(int(cm.lParam));
        desk.Grid()->SetTopRow(int(cm.lParam));
        replayed = true;
    }
    if (sender == desk.HScroll() && cm.msg == 1345) {
        desk.HScroll()->UpdateThumbPos(int(cm.lParam));
        desk.Grid()->SetLeftColumn(int(cm.lParam));
        replayed = true;
    }
    if (replayed) ::InvalidateRect(desk.Host().Window().GetSafeHwnd(), nullptr, TRUE);
    return replayed;
}

// ---- 3. The session ------------------------------------------------------------------------------------
ViewerSession::ViewerSession(const ViewerOptions& options) : options_(options), skinDir_(options.skinDir) {
    if (options_.scale < 1) options_.scale = 1;
    RegisterAllKinds(registry_);
    RegisterDeskKinds(registry_);
    const DeskLayout layout;
    rt::SetScreenSize(layout.size.cx + kPanelWidth, layout.size.cy);
    host_ = std::make_unique<CHeadlessHost>(layout.size);
    host_->LoadSkin(skinDir_);
    if (!options_.logFile.empty()) log_.open(options_.logFile, std::ios::out | std::ios::trunc);
    desk_ = std::make_unique<Desk>(*host_, &registry_, layout);
    desk_->onControlMessage = [this](const ControlMessage& cm) { OnEvent(cm); };
    panel_ = std::make_unique<CViewerPanel>();
    panel_->CreatePanel(RECT{layout.size.cx, 0, layout.size.cx + kPanelWidth, layout.size.cy});
    // Keys go to the desk's window, and to a popup menu while one is tracked.
    ::SetActiveWindow(host_->Window().GetSafeHwnd());
    ::SetFocus(host_->Window().GetSafeHwnd());
    start_ = rt::ClockNow();
    rt::SetMenuReportHook([this](const std::string& line) { Note(line); });
    LoadSkin(skinDir_);
}

ViewerSession::~ViewerSession() {
    rt::SetMenuReportHook(nullptr);
    desk_.reset();
    panel_.reset();
    host_.reset();
}

SIZE ViewerSession::ScreenSize() const {
    return rt::GetScreenSize();
}

void ViewerSession::Note(const std::string& line) {
    if (!log_.is_open()) return;
    log_ << "# " << line << "\n";
    log_.flush();
}

void ViewerSession::OnEvent(const ControlMessage& cm) {
    const std::string line = ControlMessageLine(cm, start_);
    panel_->AddEvent(line);
    if (log_.is_open()) {
        log_ << line << "\n";
        log_.flush();
    }
}

bool ViewerSession::LoadSkin(const std::string& dir) {
    const bool ok = host_->LoadSkin(dir);
    if (ok) skinDir_ = dir;
    desk_->ApplySkin();
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    if (palette) {
        const COLORREF back = palette->GetColor(L"CElementTabControl.FillNormal");
        panel_->SetColors(back, palette->GetColor(L"Button.Text"), palette->GetColor(L"CElementTabControl.Text"));
    }
    // A load that fails or stumbles keeps what it could not read; the pane says what.
    const std::vector<std::string> problems = host_->Skin().Problems();
    for (const std::string& problem : problems) Note("skin problem: " + problem);
    panel_->SetProblems(problems);
    Note(std::string(ok ? "skin " : "skin failed ") + dir);
    return ok;
}

void ViewerSession::ToggleInspector() {
    panel_->SetInspector(!panel_->InspectorShown(), {});
}

bool ViewerSession::ReloadSkin() {
    return LoadSkin(skinDir_);
}

bool ViewerSession::SwitchSkin() {
    return LoadSkin(skinDir_ == options_.lightSkin ? options_.defaultSkin : options_.lightSkin);
}

HBITMAP ViewerSession::CaptureScaled() const {
    const SIZE screen = ScreenSize();
    HBITMAP shot = rt::CopyScreenRect(RECT{0, 0, screen.cx, screen.cy});
    if (!shot || options_.scale == 1) return shot;
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER),
                                    LONG(screen.cx * options_.scale),
                                    -LONG(screen.cy * options_.scale),
                                    1,
                                    32,
                                    BI_RGB,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0};
    void* dst_bits = nullptr;
    HBITMAP scaled = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &dst_bits, nullptr, 0);
    BITMAP src{};
    ::GetObjectW(shot, sizeof src, &src);
    if (scaled && dst_bits && src.bmBits)
        ScaleNearest(static_cast<const uint32_t*>(src.bmBits), screen.cx, screen.cy, options_.scale,
                     static_cast<uint32_t*>(dst_bits));
    ::DeleteObject(shot);
    return scaled;
}

std::string ViewerSession::SavePng() {
    // Paint what is pending, popups last, so that the file shows what the window shows.
    ::UpdateWindow(host_->Window().GetSafeHwnd());
    ::UpdateWindow(panel_->GetSafeHwnd());
    if (!rt::OpenMenus().empty()) rt::RedrawOpenMenus();
    const std::string path =
        options_.pngPath.empty() ? "kelem-view-" + std::to_string(++shots_) + ".png" : options_.pngPath;
    HBITMAP shot = CaptureScaled();
    std::string error;
    // Written aside and renamed, so that a reader never sees half a file.
    const std::string partial = path + ".partial";
    bool ok = shot && rt::SavePngFile(shot, partial, &error) && std::rename(partial.c_str(), path.c_str()) == 0;
    if (shot) ::DeleteObject(shot);
    Note(ok ? "png " + path : "png failed " + path + ": " + error);
    return ok ? path : "";
}

std::vector<std::string> ViewerSession::MenuLines() const {
    std::vector<std::string> lines;
    for (const rt::MenuPopupView& popup : rt::OpenMenus()) {
        lines.push_back("popup level=" + std::to_string(popup.level) + " " + Fmt(popup.screen_rect));
        for (const rt::MenuItemView& item : popup.items)
            lines.push_back("menuitem level=" + std::to_string(popup.level) + " id=" + std::to_string(item.id) + " " +
                            Fmt(item.text) + " " + Fmt(item.screen_rect));
    }
    return lines;
}

void ViewerSession::NoteChanges(const std::vector<std::string>& lines, std::vector<std::string>* last) {
    if (lines == *last) return;
    *last = lines;
    for (const std::string& line : lines) Note(line);
}

void ViewerSession::Refresh() {
    ::UpdateWindow(host_->Window().GetSafeHwnd());
    // The layout changes when a tab is renamed or the skin changes its fonts; the tabs lay
    // out at paint, so this follows the update.
    NoteChanges(desk_->DescribeLayout(), &lastLayout_);
    if (!ready_) {
        ready_ = true;
        const SIZE screen = ScreenSize();
        Note("ready " + std::to_string(screen.cx) + "x" + std::to_string(screen.cy) + " scale " +
             std::to_string(options_.scale));
    }
    const std::vector<std::string> menus = MenuLines();
    if (menus.empty() && !lastMenus_.empty()) Note("menus closed");
    NoteChanges(menus, &lastMenus_);

    std::vector<std::string> inspected;
    if (panel_->InspectorShown()) inspected = InspectElement(registry_, host_->Window().ElementAt(pointer_), pointer_);
    panel_->SetInspector(panel_->InspectorShown(), std::move(inspected));
    const std::string skin =
        skinDir_.substr(skinDir_.find_last_of('/') == std::string::npos ? 0 : skinDir_.find_last_of('/') + 1);
    panel_->SetProblems(host_->Skin().Problems());  // pictures first asked for by this paint
    panel_->SetStatus("skin " + skin + "  scale " + std::to_string(options_.scale) + "  " +
                      std::to_string(panel_->Events().size()) + " events");
    ::UpdateWindow(panel_->GetSafeHwnd());
    if (!rt::OpenMenus().empty()) rt::RedrawOpenMenus();
}

}  // namespace kelem
