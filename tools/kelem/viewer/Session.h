// What the interactive viewer is without its window: the desk in the reference host on
// the runtime's screen, the side pane, the event log (pane and file), the inspector, the
// skin switching and the screenshots. The SDL front end (SdlViewer.cpp) adds only the
// window, the real clock and the input that feeds the runtime, so everything here also
// runs headless, in tests.
//
// The runtime's screen is the viewer's picture: the host window at (0, 0), the pane to
// its right, popup menus over both.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tools/kelem/viewer/Desk.h"
#include "tools/kelem/viewer/Panel.h"

namespace kelem {

struct ViewerOptions {
    std::string skinDir;      // shown first
    std::string defaultSkin;  // F6 switches between these two
    std::string lightSkin;
    int scale = 1;        // integer zoom of the window and of its screenshots
    std::string logFile;  // event lines and "# ..." notes, flushed as they happen
    std::string pngPath;  // Ctrl+S target; empty: kelem-view-N.png in the current folder
};

// `kelem view` arguments from argv[first]: --skin DIR, --scale N (1..8), --log FILE,
// --png FILE. The defaults name the repository's skins. False with a message on a bad one.
bool ParseViewArgs(int argc, const char* const* argv, int first, ViewerOptions* out, std::string* error);

// Nearest-neighbour integer zoom of 0x00RRGGBB rows: each source pixel becomes a
// scale x scale block. dst holds (width * scale) x (height * scale) pixels.
void ScaleNearest(const uint32_t* src, int width, int height, int scale, uint32_t* dst);

// A parsed event line: "t=5 top 1324 tab selected id=3" gives sender "top", message
// 1324, wParam 3. Only the messages the desk decodes by name parse.
bool ParseControlMessageLine(const std::string& line, ControlMessage* out);
// Puts a posted message's effect on a desk without the element posting it: a selection,
// a menu command (with its renaming), a scroll position. False when it has none.
bool ReplayOnDesk(Desk& desk, const ControlMessage& cm);

class ViewerSession {
public:
    static const int kPanelWidth = 330;

    explicit ViewerSession(const ViewerOptions& options);
    ~ViewerSession();
    ViewerSession(const ViewerSession&) = delete;
    ViewerSession& operator=(const ViewerSession&) = delete;

    SIZE ScreenSize() const;  // unscaled
    int Scale() const { return options_.scale; }

    void ToggleInspector();
    bool ReloadSkin();  // the current skin again from disk
    bool SwitchSkin();  // the default skin <-> the light skin
    const std::string& SkinDir() const { return skinDir_; }
    // Writes the window's picture (scaled) as PNG; returns the path, or "" on failure.
    std::string SavePng();
    void SetPointer(POINT screen_pt) { pointer_ = screen_pt; }

    // Before the picture is shown: brings the inspector, the status and the notes on the
    // layout and the open menus up to date and paints what is pending.
    void Refresh();
    // A note in the log file ("# ..."); not shown in the pane.
    void Note(const std::string& line);
    // The screen's pixels, scaled (caller deletes).
    HBITMAP CaptureScaled() const;

    Desk& GetDesk() { return *desk_; }
    CHeadlessHost& Host() { return *host_; }
    CViewerPanel& Panel() { return *panel_; }

private:
    void OnEvent(const ControlMessage& cm);
    bool LoadSkin(const std::string& dir);
    void NoteChanges(const std::vector<std::string>& lines, std::vector<std::string>* last);
    std::vector<std::string> MenuLines() const;

    ViewerOptions options_;
    std::string skinDir_;
    Registry registry_;
    std::unique_ptr<CHeadlessHost> host_;
    std::unique_ptr<Desk> desk_;
    std::unique_ptr<CViewerPanel> panel_;
    std::ofstream log_;
    DWORD start_ = 0;
    POINT pointer_{-1, -1};
    bool ready_ = false;
    int shots_ = 0;
    std::vector<std::string> lastLayout_;
    std::vector<std::string> lastMenus_;
};

}  // namespace kelem
