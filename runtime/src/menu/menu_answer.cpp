// Scripted answers to tracked popups and their report lines, one code path for every
// platform: each answers by walking these steps through the popups it has open.
#include <sstream>

#include "menu/menu_private.h"
#include "utf8.h"

namespace menu {

std::wstring ShownText(const std::wstring& text) {
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\t') break;
        if (c == L'&' && i + 1 < text.size()) {
            ++i;  // "&x" shows x, "&&" shows &
            shown.push_back(text[i]);
            continue;
        }
        shown.push_back(c);
    }
    return shown;
}

std::string Quoted(const std::wstring& text) {
    std::string out = "\"";
    for (char c : rt::WideToUtf8(text)) {
        if (c == '"' || c == '\\') out.push_back('\\');
        if (c == '\t') {
            out += "\\t";
            continue;
        }
        out.push_back(c);
    }
    return out + "\"";
}

std::string RectText(const RECT& rc) {
    std::ostringstream s;
    s << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
    return s.str();
}

namespace {

bool Matches(const rt::MenuItemView& item, const std::wstring& wanted) {
    if (item.type & MFT_SEPARATOR) return false;
    if (wanted.size() > 1 && wanted[0] == L'#') {
        wchar_t* end = nullptr;
        const unsigned long id = std::wcstoul(wanted.c_str() + 1, &end, 10);
        if (end && *end == L'\0') return !item.subMenu && item.id == UINT(id);
    }
    if (item.type & MFT_OWNERDRAW) return false;
    return item.text == wanted || ShownText(item.text) == wanted;
}

}  // namespace

AnswerPath::AnswerPath(const std::wstring& path) : m_path(path), m_parts(1) {
    for (wchar_t c : path) {
        if (c == L'/') {
            m_parts.emplace_back();
        } else {
            m_parts.back().push_back(c);
        }
    }
}

AnswerStep AnswerPath::Next(const rt::MenuPopupView& popup) {
    // The longest run of parts that names an item: texts may hold a '/' of their own.
    AnswerStep step;
    size_t consumed = 0;
    for (size_t n = m_parts.size() - m_first; n >= 1 && step.index < 0; --n) {
        std::wstring candidate = m_parts[m_first];
        for (size_t k = 1; k < n; ++k) candidate += L"/" + m_parts[m_first + k];
        for (size_t i = 0; i < popup.items.size(); ++i) {
            if (Matches(popup.items[i], candidate)) {
                step.index = int(i);
                consumed = n;
                break;
            }
        }
    }
    if (step.index < 0) {
        step.dismissed = "no item " + Quoted(m_path);
        return step;
    }
    const rt::MenuItemView& item = popup.items[size_t(step.index)];
    m_first += consumed;
    step.last = m_first >= m_parts.size();
    if (item.state & (MF_GRAYED | MF_DISABLED))
        step.dismissed = Quoted(m_path) + ((item.state & MF_GRAYED) ? " is grayed" : " is disabled");
    else if (step.last && item.subMenu)
        step.dismissed = Quoted(m_path) + " opens a sub-menu";
    else if (!step.last && !item.subMenu)
        step.dismissed = Quoted(m_path) + ": no sub-menu at " + Quoted(item.text);
    return step;
}

std::string AnswerPath::ChooseLine(UINT id) const {
    return "menu choose " + Quoted(m_path) + " = " + std::to_string(id);
}

}  // namespace menu

namespace rt {

std::string DescribeMenuPopup(const MenuPopupView& popup) {
    std::string line = (popup.level == 0 ? "menu " : "submenu ") + menu::RectText(popup.screen_rect) + ":";
    for (size_t i = 0; i < popup.items.size(); ++i) {
        const MenuItemView& item = popup.items[i];
        line += i ? ", " : " ";
        if (i > 0 && (item.type & MFT_MENUBARBREAK)) {
            line += "|| ";
        } else if (i > 0 && (item.type & MFT_MENUBREAK)) {
            line += "| ";
        }
        if (item.type & MFT_SEPARATOR) {
            line += "-";
            continue;
        }
        line += (item.type & MFT_OWNERDRAW) ? "ownerdraw" : menu::Quoted(item.text);
        line += item.subMenu ? " >" : " " + std::to_string(item.id);
        if (item.state & MF_CHECKED) line += " checked";
        if (item.state & MF_GRAYED) {
            line += " grayed";
        } else if (item.state & MF_DISABLED) {
            line += " disabled";
        }
    }
    return line;
}

}  // namespace rt
