// One registration function per element kind the scenario runner knows.
#pragma once

#include "tools/kelem/Reflect.h"

namespace kelem {
void RegisterButton(Registry& registry);

// A palette font by key for operations that take a CFont* (null for null).
CFont* PaletteFontArg(const Args& args, size_t i);
}  // namespace kelem
