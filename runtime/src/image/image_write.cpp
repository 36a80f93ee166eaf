// Writes bitmaps to .bmp and .png files.
//
// Index
//   1. Source bitmap     handle lookup and pixel access
//   2. BMP               24-bit BI_RGB for colour, 1-bit black/white for monochrome
//   3. PNG               8-bit RGB without alpha through libpng's simplified API
//
// Both writers read any bitmap (DDB, DIB section, the screen) through its rows, so the
// row order of the source does not matter. A monochrome bitmap stores only black and
// white; any other value in it is taken as white.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gdi/gdi_private.h"
#include "win32/runtime_ext.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool Succeed(std::string* error) {
    if (error) error->clear();
    return true;
}

// ---- 1. Source bitmap -----------------------------------------------------------------------
const gdi::Bitmap* SourceBitmap(HBITMAP h, std::string* error) {
    const gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(h);
    if (!bmp) {
        Fail(error, "not a bitmap handle");
        return nullptr;
    }
    if (bmp->width <= 0 || bmp->height <= 0 || !bmp->scan0) {
        Fail(error, "the bitmap has no pixels");
        return nullptr;
    }
    return bmp;
}

bool IsWhite(uint32_t pixel) {
    return (pixel & 0xFFFFFF) != 0;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return Fail(error, "cannot create '" + path + "': " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed)
        return Fail(error, "cannot write '" + path + "': " + std::strerror(written ? errno : writeErrno));
    return true;
}

// ---- 2. BMP ---------------------------------------------------------------------------------
class ByteWriter {
public:
    explicit ByteWriter(size_t reserve) { out_.reserve(reserve); }
    void U8(uint32_t v) { out_.push_back(uint8_t(v)); }
    void U16(uint32_t v) {
        U8(v & 0xFF);
        U8(v >> 8);
    }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Zeros(size_t n) { out_.insert(out_.end(), n, 0); }
    std::vector<uint8_t>& bytes() { return out_; }

private:
    std::vector<uint8_t> out_;
};

struct BmpShape {
    int bitCount;
    uint32_t paletteEntries;
    uint64_t rowBytes;
    uint64_t offBits;
    uint64_t fileBytes;
};

BmpShape ShapeFor(const gdi::Bitmap& bmp) {
    BmpShape s{};
    s.bitCount = bmp.IsMono() ? 1 : 24;
    s.paletteEntries = bmp.IsMono() ? 2 : 0;
    s.rowBytes = (uint64_t(bmp.width) * uint64_t(s.bitCount) + 31) / 32 * 4;
    s.offBits = 14 + 40 + 4 * uint64_t(s.paletteEntries);
    s.fileBytes = s.offBits + s.rowBytes * uint64_t(bmp.height);
    return s;
}

void WriteHeaders(const gdi::Bitmap& bmp, const BmpShape& s, ByteWriter* w) {
    w->U16(0x4D42);  // 'BM'
    w->U32(uint32_t(s.fileBytes));
    w->U32(0);  // two reserved words
    w->U32(uint32_t(s.offBits));
    w->U32(40);
    w->U32(uint32_t(bmp.width));
    w->U32(uint32_t(bmp.height));  // positive: bottom-up rows
    w->U16(1);
    w->U16(uint32_t(s.bitCount));
    w->U32(BI_RGB);
    w->U32(uint32_t(s.rowBytes * uint64_t(bmp.height)));
    w->U32(0);  // no resolution recorded
    w->U32(0);
    w->U32(s.paletteEntries);
    w->U32(0);
    if (s.paletteEntries == 2) {
        w->U32(0x000000);  // index 0 black, index 1 white
        w->U32(0xFFFFFF);
    }
}

void WriteRow(const uint32_t* src, int width, const BmpShape& s, ByteWriter* w) {
    const size_t start = w->bytes().size();
    if (s.bitCount == 1) {
        uint32_t acc = 0;
        for (int x = 0; x < width; ++x) {
            acc = (acc << 1) | (IsWhite(src[x]) ? 1u : 0u);
            if ((x & 7) == 7) {
                w->U8(acc);
                acc = 0;
            }
        }
        if (width & 7) w->U8(acc << (8 - (width & 7)));
    } else {
        for (int x = 0; x < width; ++x) {
            w->U8(src[x] & 0xFF);  // blue, green, red
            w->U8((src[x] >> 8) & 0xFF);
            w->U8((src[x] >> 16) & 0xFF);
        }
    }
    w->Zeros(size_t(s.rowBytes) - (w->bytes().size() - start));
}

}  // namespace

namespace rt {

bool SaveBmpFile(HBITMAP h, const std::string& path, std::string* error) {
    const gdi::Bitmap* bmp = SourceBitmap(h, error);
    if (!bmp) return false;
    const BmpShape shape = ShapeFor(*bmp);
    if (shape.fileBytes > 0xFFFFFFFFu) return Fail(error, "the bitmap is too large for a BMP file");
    ByteWriter w{size_t(shape.fileBytes)};
    WriteHeaders(*bmp, shape, &w);
    for (int y = bmp->height - 1; y >= 0; --y) WriteRow(bmp->Row(y), bmp->width, shape, &w);
    return WriteWholeFile(path, w.bytes(), error) && Succeed(error);
}

// ---- 3. PNG ---------------------------------------------------------------------------------
bool SavePngFile(HBITMAP h, const std::string& path, std::string* error) {
    const gdi::Bitmap* bmp = SourceBitmap(h, error);
    if (!bmp) return false;
    const size_t rowBytes = size_t(bmp->width) * 3;
    std::vector<uint8_t> rgb(rowBytes * size_t(bmp->height));
    for (int y = 0; y < bmp->height; ++y) {
        const uint32_t* src = bmp->Row(y);
        uint8_t* dst = rgb.data() + size_t(y) * rowBytes;
        for (int x = 0; x < bmp->width; ++x) {
            const uint32_t p = bmp->IsMono() ? (IsWhite(src[x]) ? 0xFFFFFF : 0) : src[x];
            dst[3 * x] = uint8_t(p >> 16);
            dst[3 * x + 1] = uint8_t(p >> 8);
            dst[3 * x + 2] = uint8_t(p);
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(bmp->width);
    image.height = uint32_t(bmp->height);
    image.format = PNG_FORMAT_RGB;
    // The simplified API reports failures through image.message instead of longjmp.
    const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), png_int_32(rowBytes), nullptr);
    const std::string message = image.message;
    png_image_free(&image);
    if (!ok) return Fail(error, "cannot write PNG '" + path + "': " + message);
    return Succeed(error);
}

}  // namespace rt
