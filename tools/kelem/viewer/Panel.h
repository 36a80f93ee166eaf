// The viewer's side pane: a runtime window beside the desk that lists the control
// messages as they are posted and, with the inspector on, the fields of the element
// under the pointer. It paints onto the runtime's screen like every other window, so a
// screenshot shows it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform.h"

namespace kelem {

class CViewerPanel : public CWnd {
public:
    static const size_t kMaxEvents = 400;

    BOOL CreatePanel(const RECT& screen_rect);

    void AddEvent(const std::string& line);
    void SetInspector(bool shown, std::vector<std::string> lines);
    void SetStatus(const std::string& status);
    void SetColors(COLORREF back, COLORREF text, COLORREF dim);
    // What the last skin load could not read or use, shown above the status line.
    void SetProblems(std::vector<std::string> problems);

    const std::deque<std::string>& Events() const { return events_; }
    const std::vector<std::string>& Problems() const { return problems_; }
    bool InspectorShown() const { return inspectorShown_; }
    const std::vector<std::string>& InspectorLines() const { return inspector_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    // Draws lines from top downward in rc; returns the bottom of the last line.
    int DrawLines(CDC& dc, const std::vector<std::string>& lines, RECT rc, int line_height, COLORREF color);

    std::deque<std::string> events_;
    std::vector<std::string> inspector_;
    std::vector<std::string> problems_;
    bool inspectorShown_ = false;
    std::string status_;
    COLORREF back_ = RGB(24, 27, 33);
    COLORREF text_ = RGB(216, 222, 233);
    COLORREF dim_ = RGB(138, 147, 166);
};

}  // namespace kelem
