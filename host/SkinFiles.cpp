#include "SkinFiles.h"

#include <sys/stat.h>

#include "utf8.h"
#include "win32/runtime_ext.h"

namespace skinfiles {

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void SwapHandle(CGdiObject* pObject, HGDIOBJ hNew) {
    pObject->DeleteObject();
    pObject->Attach(hNew);
}

// Skin images are only ever blitted: they are kept as device-dependent bitmaps, in the
// screen's format (32-bit, top-down), which copy as whole blocks. The file's own
// bottom-up DIB section would be copied row by row at every paint. The pixels are the same.
HBITMAP LoadSkinBitmap(const std::string& path, std::string* error) {
    if (HANDLE loaded = ::LoadImageW(nullptr, rt::Utf8ToWide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))
        return static_cast<HBITMAP>(loaded);
    // Read again for the reason: LoadImage only says that it failed.
    if (HBITMAP probe = rt::LoadBmpFile(path, error)) {
        ::DeleteObject(probe);
        if (error) *error = "cannot be converted to the screen's format";
    }
    return nullptr;
}

}  // namespace skinfiles
