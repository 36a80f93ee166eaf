// One registration function per element kind the scenario runner knows.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "tools/kelem/Reflect.h"

namespace kelem {
void RegisterButton(Registry& registry);
void RegisterScrollbars(Registry& registry);  // "vscroll" and "hscroll"
void RegisterTabs(Registry& registry);        // "tabs", and the verbs menuinfo, menuentry
void RegisterMenuVerbs(Registry& registry);   // "menu \"TEXT\"", "menu cancel" (kinds/Menus.cpp)
void RegisterMenuObjects(Registry& registry);  // menuex, menucall, menuget, menutrack (kinds/MenuObjects.cpp)
// Installs the scripted popup-menu answerer for a run: answers come from the `menu` verbs,
// report lines go to `line`; the returned object uninstalls it when released.
std::shared_ptr<void> StartMenuSession(RunState& state, std::function<void(const std::string&)> line,
                                       const std::string& out_dir);

// A palette font by key for operations that take a CFont* (null for null).
CFont* PaletteFontArg(const Args& args, size_t i);
}  // namespace kelem
