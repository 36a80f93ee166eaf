#include "menus.h"

namespace kt {

MenuAnswers::MenuAnswers() {
    rt::SetMenuAnswerer([this](const rt::MenuPopupView& popup, rt::MenuAnswer* answer) {
        tracked.push_back(popup);
        if (queue_.empty()) return false;
        *answer = std::move(queue_.front());
        queue_.pop_front();
        return true;
    });
    rt::SetMenuReportHook([this](const std::string& line) { lines.push_back(line); });
}

MenuAnswers::~MenuAnswers() {
    rt::SetMenuAnswerer(nullptr);
    rt::SetMenuReportHook(nullptr);
}

void MenuAnswers::Choose(const std::wstring& path, std::function<void()> on_shown) {
    Queue(false, path, std::move(on_shown));
}

void MenuAnswers::Cancel(std::function<void()> on_shown) {
    Queue(true, L"", std::move(on_shown));
}

void MenuAnswers::Queue(bool dismiss, const std::wstring& path, std::function<void()> on_shown) {
    rt::MenuAnswer answer;
    answer.dismiss = dismiss;
    answer.path = path;
    answer.onShown = [this, on_shown = std::move(on_shown)] {
        opened.push_back(rt::OpenMenus());
        if (on_shown) on_shown();
    };
    queue_.push_back(std::move(answer));
}

}  // namespace kt
