// File helpers shared by the palette and the bitmap factory of a skin.
#pragma once

#include <string>

#include "platform.h"

namespace skinfiles {

bool FileExists(const std::string& path);
// Replaces the handle inside a long-lived wrapper, keeping the C++ object.
void SwapHandle(CGdiObject* pObject, HGDIOBJ hNew);
// A skin image file as a bitmap in the screen's format; null with the reason on failure.
HBITMAP LoadSkinBitmap(const std::string& path, std::string* error);

}  // namespace skinfiles
