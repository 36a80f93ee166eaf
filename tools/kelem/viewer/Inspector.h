// The inspector: the fields of the element under the pointer, by their names, read
// through the kinds' field tables (kinds/*.cpp). Arrays of records (the tab strip's tabs
// and text buttons) show their size, and the record under the pointer in full.
#pragma once

#include <string>
#include <vector>

#include "tools/kelem/Reflect.h"

namespace kelem {

// The names a field getter lists for `path` ("*" or "m_arrItems[2].*"); empty when none.
std::vector<std::string> ListFields(const ElementKind& kind, CElementContainer* element,
                                    const std::string& list_path = kFieldListName);

// "top (tabs) (0, 0, 840, 24)", then "m_nSelTab = 1", ... One line per field; an element
// of no known kind gives its header line alone. window_pt picks the record under the pointer.
std::vector<std::string> InspectElement(const Registry& registry, CElementContainer* element, POINT window_pt);

}  // namespace kelem
