// One registration function per element kind the scenario runner knows.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "tools/kelem/Reflect.h"

namespace kelem {
void RegisterButton(Registry& registry);
void RegisterScrollbars(Registry& registry);  // "vscroll" and "hscroll"

// A palette font by key for operations that take a CFont* (null for null).
CFont* PaletteFontArg(const Args& args, size_t i);
}  // namespace kelem
