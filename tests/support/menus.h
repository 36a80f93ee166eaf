// The scripted popup-menu answerer of the menu tests: installed as the thread's answerer
// for its life. Answers the tracked popups in order (a popup without an answer is
// dismissed), records every tracked popup, what was open at each answer, and the
// runtime's report lines.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "win32/runtime_ext.h"

namespace kt {

class MenuAnswers {
public:
    MenuAnswers();
    ~MenuAnswers();
    MenuAnswers(const MenuAnswers&) = delete;
    MenuAnswers& operator=(const MenuAnswers&) = delete;

    // on_shown runs once the popups on the way are open, before the answer takes effect.
    void Choose(const std::wstring& path, std::function<void()> on_shown = nullptr);
    void Cancel(std::function<void()> on_shown = nullptr);

    std::vector<rt::MenuPopupView> tracked;              // each tracked popup as it opened
    std::vector<std::vector<rt::MenuPopupView>> opened;  // what was open at each answer
    std::vector<std::string> lines;                      // the runtime's report lines

private:
    void Queue(bool dismiss, const std::wstring& path, std::function<void()> on_shown);
    std::deque<rt::MenuAnswer> queue_;
};

}  // namespace kt
