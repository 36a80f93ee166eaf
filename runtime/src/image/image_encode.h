// BMP and PNG files from rows of pixels: one encoder for every platform, so that a
// picture written on one is the same file on the other.
//
// Rows are 0x00RRGGBB. A monochrome picture stores only black and white; any other value
// in it is taken as white.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace imagefile {

struct Pixels {
    int width = 0;
    int height = 0;
    bool mono = false;
    const uint8_t* scan0 = nullptr;  // the top row
    ptrdiff_t stride = 0;            // bytes from one row to the next; negative for bottom-up storage

    const uint32_t* Row(int y) const { return reinterpret_cast<const uint32_t*>(scan0 + y * stride); }
};

enum class Format {
    Bmp,  // 24-bit BI_RGB, or 1-bit black and white for a monochrome picture; bottom-up rows
    Png,  // 8-bit RGB without alpha, unfiltered rows compressed by zlib
};

// Encodes the picture and writes it to path, replacing the file. On failure error says
// why (naming the path where the file is at fault); on success it is cleared.
bool Save(const Pixels& pixels, Format format, const std::string& path, std::string* error);

}  // namespace imagefile
