// What the portable runtime offers beyond the Windows API: object accounting,
// the virtual screen, PNG/BMP files and the clock that drives timers. Hosts, tools
// and tests use these; element code never does.
#pragma once

#include <string>

#include "windef.h"
#include "wingdi.h"

namespace rt {

// ---- GDI object accounting ---------------------------------------------------------------
// Live, non-stock objects of one kind (OBJ_DC also counts memory DCs, OBJ_MEMDC only them).
int GdiObjectCount(DWORD objType);
int GdiObjectTotal();  // DCs, bitmaps, pens, brushes, fonts and regions together

// ---- the virtual screen ---------------------------------------------------------------------
void SetScreenSize(int cx, int cy);  // default 1280 x 800
SIZE GetScreenSize();

// ---- image files ------------------------------------------------------------------------------
// Reads a Windows .bmp into a 32-bit DIB section. On failure returns null and, when
// error is given, says what is wrong with the file.
HBITMAP LoadBmpFile(const std::string& path, std::string* error = nullptr);
HBITMAP LoadBmpMemory(const void* data, size_t size, std::string* error = nullptr);
// Writes a bitmap (colour or monochrome) as a 32-bit or 24-bit .bmp / 8-bit RGB PNG.
bool SaveBmpFile(HBITMAP bmp, const std::string& path, std::string* error = nullptr);
bool SavePngFile(HBITMAP bmp, const std::string& path, std::string* error = nullptr);
// The pixels of a rectangle of the screen (or of any bitmap) as a new bitmap.
HBITMAP CopyScreenRect(const RECT& rc);

}  // namespace rt
