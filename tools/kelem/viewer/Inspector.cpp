#include "tools/kelem/viewer/Inspector.h"

#include "host/HostTypes.h"
#include "utf8.h"
#include "tabcontrol/ElementTabControl.h"

namespace kelem {
namespace {

std::vector<std::string> Split(const std::string& names) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < names.size()) {
        const size_t comma = names.find(',', start);
        const size_t end = comma == std::string::npos ? names.size() : comma;
        if (end > start) out.push_back(names.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

void AddFields(const ElementKind& kind, CElementContainer* element, const std::string& prefix,
               std::vector<std::string>* lines) {
    for (const std::string& name : ListFields(kind, element, prefix + kFieldListName)) {
        std::string value;
        if (kind.field(element, prefix + name, &value)) lines->push_back(prefix + name + " = " + value);
    }
}

// The tab strip's arrays: their sizes, and the tab or text button under the pointer.
void AddTabRecords(const ElementKind& kind, CElementContainer* element, POINT element_pt,
                   std::vector<std::string>* lines) {
    auto* strip = static_cast<CElementTabControl*>(element);
    lines->push_back("m_arrItems = " + std::to_string(strip->m_arrItems.GetSize()));
    lines->push_back("m_arrTextBtn = " + std::to_string(strip->m_arrTextBtn.GetSize()));
    for (INT_PTR i = 0; i < strip->m_arrItems.GetSize(); ++i)
        if (strip->m_arrItems[i]->m_rcItem.PtInRect(element_pt))
            AddFields(kind, element, "m_arrItems[" + std::to_string(i) + "].", lines);
    for (INT_PTR i = 0; i < strip->m_arrTextBtn.GetSize(); ++i)
        if (strip->m_arrTextBtn[i].rcBtn.PtInRect(element_pt))
            AddFields(kind, element, "m_arrTextBtn[" + std::to_string(i) + "].", lines);
}

}  // namespace

std::vector<std::string> ListFields(const ElementKind& kind, CElementContainer* element, const std::string& list_path) {
    std::string names;
    if (!kind.field || !kind.field(element, list_path, &names)) return {};
    return Split(names);
}

std::vector<std::string> InspectElement(const Registry& registry, CElementContainer* element, POINT window_pt) {
    if (!element) return {};
    const ElementKind* kind = registry.KindOf(element);
    const RECT& container_rect = element->HostState()->rcContainer;
    std::vector<std::string> lines;
    lines.push_back(rt::WideToUtf8(element->GetName() ? element->GetName() : L"") + " (" + (kind ? kind->name : "?") +
                    ") " + Fmt(container_rect));
    if (!kind) return lines;
    const POINT element_pt{window_pt.x - container_rect.left, window_pt.y - container_rect.top};
    AddFields(*kind, element, "", &lines);
    if (kind->name == "tabs") AddTabRecords(*kind, element, element_pt, &lines);
    return lines;
}

}  // namespace kelem
