// Writes bitmaps to .bmp and .png files (image_encode.h).
//
// Both writers read any bitmap (DDB, DIB section, the screen) through its rows, so the
// row order of the source does not matter.
#include <string>
#include <vector>

#include "gdi/gdi_private.h"
#include "image/image_encode.h"
#include "win32/runtime_ext.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool ReadPixels(HBITMAP h, imagefile::Pixels* out, std::string* error) {
    gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(h);
    if (!bmp) return Fail(error, "not a bitmap handle");
    bmp->Realize();
    if (bmp->width <= 0 || bmp->height <= 0 || !bmp->scan0) return Fail(error, "the bitmap has no pixels");
    out->width = bmp->width;
    out->height = bmp->height;
    out->mono = bmp->IsMono();
    out->scan0 = bmp->scan0;
    out->stride = bmp->stride;
    return true;
}

}  // namespace

namespace rt {

bool SaveBmpFile(HBITMAP h, const std::string& path, std::string* error) {
    imagefile::Pixels pixels;
    return ReadPixels(h, &pixels, error) && imagefile::Save(pixels, imagefile::Format::Bmp, path, error);
}

bool SavePngFile(HBITMAP h, const std::string& path, std::string* error) {
    imagefile::Pixels pixels;
    return ReadPixels(h, &pixels, error) && imagefile::Save(pixels, imagefile::Format::Png, path, error);
}

}  // namespace rt
