// Reads Windows .bmp files into 32-bit DIB sections. The input may be anything (this
// is the entry point a fuzzer drives): every field is checked before it is used and
// every read is bounds-checked, so a hostile file gives an error string, not a crash.
//
// Index
//   1. Limits and conventions
//   2. Byte access        bounds-checked little-endian reads
//   3. Headers            file header, the five info header sizes, masks, palette
//   4. Pixel decoders     packed rows (1/4/8/16/24/32 bits) and RLE8 / RLE4
//   5. Entry points       rt::LoadBmpMemory, rt::LoadBmpFile
//
// Conventions of the result:
//   - The DIB section keeps the file's row order: a bottom-up file (biHeight > 0) gives
//     a bottom-up DIB section, a top-down file a top-down one, as a DIB section created
//     from the file's own header would be.
//   - X bytes are 0; 32-bit files' fourth byte (alpha or padding) is dropped.
//   - A palette index past the end of the palette reads as black, as GDI draws it.
//   - Pixels an RLE stream skips (delta, end of line, early end of bitmap) stay black,
//     the content of a fresh DIB section.
//   - Channels narrower than 8 bits (5-5-5, 5-6-5, other bitfields) are widened by bit
//     replication, so full intensity stays full: 31 -> 255.
//   - bfSize and, for uncompressed data, biSizeImage are not trusted (writers often get
//     them wrong); the real file length decides what is there.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "win32/runtime_ext.h"
#include "win32/wingdi.h"

namespace {

// ---- 1. Limits and conventions -------------------------------------------------------------
constexpr int64_t kMaxDimension = 16384;
constexpr int64_t kMaxPixels = 64 * 1024 * 1024;
constexpr int64_t kMaxFileBytes = 256 * 1024 * 1024;
// An RLE stream may end early and leave the rest black, so its length does not bound
// the image size. Beyond this many pixels, refuse streams that would expand more than
// kMaxRlePixelsPerByte times: a few bytes must not buy a quarter-gigabyte allocation.
constexpr int64_t kRleFreePixels = 1024 * 1024;
constexpr int64_t kMaxRlePixelsPerByte = 1024;

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;  // BITMAPCOREHEADER: 16-bit sizes, RGB triples
constexpr uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

std::string Num(int64_t v) {
    return std::to_string(v);
}

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

// The rows of a 32-bit DIB section, 0x00RRGGBB pixels, in top-down order whatever the layout.
struct Pixels {
    uint8_t* scan0;    // first byte of the top row
    ptrdiff_t stride;  // bytes; negative for bottom-up rows

    uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(scan0 + y * stride); }
};

// ---- 2. Byte access -------------------------------------------------------------------------
struct Bytes {
    const uint8_t* data;
    size_t size;

    bool Has(size_t offset, uint64_t count) const { return offset <= size && count <= size - offset; }
    uint16_t U16(size_t at) const { return uint16_t(data[at] | (data[at + 1] << 8)); }
    uint32_t U32(size_t at) const {
        return uint32_t(data[at]) | (uint32_t(data[at + 1]) << 8) | (uint32_t(data[at + 2]) << 16) |
               (uint32_t(data[at + 3]) << 24);
    }
    int32_t I32(size_t at) const { return int32_t(U32(at)); }  // two's complement wrap, as GCC and Clang define it
};

// "need 1200 bytes at offset 54, file has 600"
std::string NeedMessage(const char* what, uint64_t count, uint64_t offset, size_t fileSize) {
    return std::string("truncated ") + what + ": need " + Num(int64_t(count)) + " bytes at offset " +
           Num(int64_t(offset)) + ", file has " + Num(int64_t(fileSize));
}

// ---- 3. Headers -----------------------------------------------------------------------------
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

struct Layout {
    int width = 0;
    int height = 0;  // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = BI_RGB;
    Channel red, green, blue;       // 16 and 32 bits per pixel
    std::vector<uint32_t> palette;  // 0x00RRGGBB, 1 to 8 bits per pixel
    size_t pixelOffset = 0;
    size_t pixelBytes = 0;  // packed: rows * rowBytes; RLE: the stream's length
    size_t rowBytes = 0;    // packed rows are padded to 4 bytes
};

bool MakeChannel(uint32_t mask, const char* name, int bitCount, Channel* out, std::string* error) {
    *out = Channel{};
    if (mask == 0) return true;  // the channel is absent and reads as 0
    if (bitCount < 32 && (mask >> bitCount) != 0)
        return Fail(error, std::string(name) + " mask " + Hex(mask) + " does not fit " + Num(bitCount) + "-bit pixels");
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return Fail(error, std::string(name) + " mask " + Hex(mask) + " is not contiguous");
    int bits = 0;
    for (uint32_t r = run; r != 0; r >>= 1) ++bits;
    *out = Channel{mask, shift, bits};
    return true;
}

bool ReadMasks(const Bytes& in, size_t at, int bitCount, Layout* layout, std::string* error) {
    const uint32_t r = in.U32(at), g = in.U32(at + 4), b = in.U32(at + 8);
    if ((r | g | b) == 0) return Fail(error, "bitfield masks are all zero");
    if ((r & g) | (r & b) | (g & b)) return Fail(error, "bitfield masks overlap");
    return MakeChannel(r, "red", bitCount, &layout->red, error) &&
           MakeChannel(g, "green", bitCount, &layout->green, error) &&
           MakeChannel(b, "blue", bitCount, &layout->blue, error);
}

bool CheckCompression(const Layout& l, std::string* error) {
    switch (l.compression) {
        case BI_RGB:
            return true;
        case BI_RLE8:
        case BI_RLE4: {
            const int wanted = l.compression == BI_RLE8 ? 8 : 4;
            const char* name = l.compression == BI_RLE8 ? "RLE8" : "RLE4";
            if (l.bitCount != wanted)
                return Fail(error, std::string(name) + " compression needs " + Num(wanted) + "-bit pixels, not " +
                                       Num(l.bitCount));
            if (l.topDown) return Fail(error, std::string(name) + " bitmaps must be bottom-up (biHeight > 0)");
            return true;
        }
        case BI_BITFIELDS:
            if (l.bitCount != 16 && l.bitCount != 32)
                return Fail(error, "BI_BITFIELDS needs 16- or 32-bit pixels, not " + Num(l.bitCount));
            return true;
        default:
            return Fail(error, "unsupported compression " + Num(l.compression));
    }
}

bool CheckDimensions(int64_t width, int64_t signedHeight, Layout* layout, std::string* error) {
    if (width <= 0) return Fail(error, "bad width " + Num(width) + ": must be positive");
    if (signedHeight == 0) return Fail(error, "bad height 0");
    const int64_t rows = signedHeight < 0 ? -signedHeight : signedHeight;
    if (width > kMaxDimension || rows > kMaxDimension)
        return Fail(error,
                    "dimensions " + Num(width) + " x " + Num(rows) + " exceed the limit of " + Num(kMaxDimension));
    if (width * rows > kMaxPixels)
        return Fail(error, "dimensions " + Num(width) + " x " + Num(rows) + " exceed the limit of " + Num(kMaxPixels) +
                               " pixels");
    layout->width = int(width);
    layout->height = int(rows);
    layout->topDown = signedHeight < 0;
    return true;
}

bool ReadPalette(const Bytes& in, size_t at, uint32_t clrUsed, size_t entryBytes, Layout* layout, std::string* error) {
    const uint32_t full = 1u << layout->bitCount;
    if (clrUsed > full)
        return Fail(error, "biClrUsed " + Num(clrUsed) + " exceeds the " + Num(full) + " colours of " +
                               Num(layout->bitCount) + "-bit pixels");
    const uint32_t count = clrUsed == 0 ? full : clrUsed;
    if (!in.Has(at, uint64_t(count) * entryBytes))
        return Fail(error, NeedMessage("palette", count * entryBytes, at, in.size));
    layout->palette.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* q = in.data + at + i * entryBytes;  // blue, green, red[, reserved]
        layout->palette[i] = (uint32_t(q[2]) << 16) | (uint32_t(q[1]) << 8) | q[0];
    }
    return true;
}

bool LocatePixels(const Bytes& in, uint32_t offBits, size_t headersEnd, uint32_t sizeImage, Layout* l,
                  std::string* error) {
    if (offBits < headersEnd)
        return Fail(error,
                    "bfOffBits " + Num(offBits) + " points into the headers, which end at " + Num(int64_t(headersEnd)));
    if (offBits >= in.size)
        return Fail(error,
                    "bfOffBits " + Num(offBits) + " is past the end of the file (" + Num(int64_t(in.size)) + " bytes)");
    l->pixelOffset = offBits;
    if (l->compression == BI_RLE8 || l->compression == BI_RLE4) {
        const size_t available = in.size - offBits;
        if (sizeImage > available) return Fail(error, NeedMessage("RLE data", sizeImage, offBits, in.size));
        l->pixelBytes = sizeImage != 0 ? sizeImage : available;  // 0: the stream runs to the end of the file
        const int64_t pixels = int64_t(l->width) * l->height;
        if (pixels > kRleFreePixels && pixels > int64_t(l->pixelBytes) * kMaxRlePixelsPerByte)
            return Fail(error, "RLE data of " + Num(int64_t(l->pixelBytes)) + " bytes is implausibly short for " +
                                   Num(l->width) + " x " + Num(l->height) + " pixels");
        return true;
    }
    const int64_t rowBytes = (int64_t(l->width) * l->bitCount + 31) / 32 * 4;
    const int64_t need = rowBytes * l->height;
    if (!in.Has(offBits, uint64_t(need)))
        return Fail(error, NeedMessage("pixel data", uint64_t(need), offBits, in.size));
    l->rowBytes = size_t(rowBytes);
    l->pixelBytes = size_t(need);
    return true;
}

bool ParseHeaders(const Bytes& in, Layout* l, std::string* error) {
    if (in.size < kFileHeaderBytes + 4)
        return Fail(error, "file too short for BMP headers: " + Num(int64_t(in.size)) + " bytes");
    if (in.U16(0) != 0x4D42) return Fail(error, "not a BMP file: signature " + Hex(in.U16(0)) + ", expected 'BM'");
    const uint32_t offBits = in.U32(10);
    const uint32_t headerBytes = in.U32(kFileHeaderBytes);
    switch (headerBytes) {
        case kCoreHeaderBytes:
        case kInfoHeaderBytes:
        case 52:   // adds the RGB masks
        case 56:   // adds the alpha mask
        case 108:  // BITMAPV4HEADER
        case 124:  // BITMAPV5HEADER
            break;
        default:
            return Fail(error, "unsupported info header size " + Num(headerBytes));
    }
    if (!in.Has(kFileHeaderBytes, headerBytes))
        return Fail(error, NeedMessage("info header", headerBytes, kFileHeaderBytes, in.size));
    const size_t h = kFileHeaderBytes;
    const bool core = headerBytes == kCoreHeaderBytes;
    int64_t width, signedHeight;
    uint32_t planes, clrUsed = 0, sizeImage = 0;
    if (core) {
        width = in.U16(h + 4);
        signedHeight = in.U16(h + 6);
        planes = in.U16(h + 8);
        l->bitCount = in.U16(h + 10);
    } else {
        width = in.I32(h + 4);
        signedHeight = in.I32(h + 8);
        planes = in.U16(h + 12);
        l->bitCount = in.U16(h + 14);
        l->compression = in.U32(h + 16);
        sizeImage = in.U32(h + 20);
        clrUsed = in.U32(h + 32);
    }
    if (planes != 1) return Fail(error, "biPlanes is " + Num(planes) + ", must be 1");
    const int bpp = l->bitCount;
    const bool knownDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || (!core && (bpp == 16 || bpp == 32));
    if (!knownDepth) return Fail(error, "unsupported bit count " + Num(bpp));
    if (!CheckDimensions(width, signedHeight, l, error) || !CheckCompression(*l, error)) return false;

    size_t headersEnd = h + headerBytes;
    if (l->compression == BI_BITFIELDS) {
        size_t masksAt = h + kInfoHeaderBytes;  // inside the larger headers, after the 40-byte one
        if (headerBytes == kInfoHeaderBytes) {
            if (!in.Has(masksAt, 12)) return Fail(error, NeedMessage("bitfield masks", 12, masksAt, in.size));
            headersEnd += 12;
        }
        if (!ReadMasks(in, masksAt, bpp, l, error)) return false;
    } else if (bpp == 16) {
        MakeChannel(0x7C00, "red", 16, &l->red, error);  // 5-5-5
        MakeChannel(0x03E0, "green", 16, &l->green, error);
        MakeChannel(0x001F, "blue", 16, &l->blue, error);
    } else if (bpp == 32) {
        MakeChannel(0xFF0000, "red", 32, &l->red, error);
        MakeChannel(0x00FF00, "green", 32, &l->green, error);
        MakeChannel(0x0000FF, "blue", 32, &l->blue, error);
    }
    if (bpp <= 8) {
        const size_t entryBytes = core ? 3 : 4;
        if (!ReadPalette(in, headersEnd, clrUsed, entryBytes, l, error)) return false;
        headersEnd += l->palette.size() * entryBytes;
    }
    return LocatePixels(in, offBits, headersEnd, sizeImage, l, error);
}

// ---- 4. Pixel decoders ----------------------------------------------------------------------
uint32_t Widen(uint32_t value, int bits) {
    if (bits == 0) return 0;
    if (bits >= 8) return (value >> (bits - 8)) & 0xFF;
    uint32_t v = value << (8 - bits);
    for (int filled = bits; filled < 8; filled *= 2) v |= v >> filled;
    return v & 0xFF;
}

uint32_t Extract(uint32_t raw, const Channel& c) {
    return Widen((raw & c.mask) >> c.shift, c.bits);
}

struct PackedDecoder {
    const Layout& l;

    uint32_t PaletteColor(uint32_t index) const { return index < l.palette.size() ? l.palette[index] : 0; }
    uint32_t FromRaw(uint32_t raw) const {
        return (Extract(raw, l.red) << 16) | (Extract(raw, l.green) << 8) | Extract(raw, l.blue);
    }

    void Row(const uint8_t* src, uint32_t* dst) const {
        const int w = l.width;
        switch (l.bitCount) {
            case 1:
                for (int x = 0; x < w; ++x) dst[x] = PaletteColor((src[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                for (int x = 0; x < w; ++x) dst[x] = PaletteColor((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
                break;
            case 8:
                for (int x = 0; x < w; ++x) dst[x] = PaletteColor(src[x]);
                break;
            case 16:
                for (int x = 0; x < w; ++x) dst[x] = FromRaw(uint32_t(src[2 * x]) | (uint32_t(src[2 * x + 1]) << 8));
                break;
            case 24:
                for (int x = 0; x < w; ++x) {
                    const uint8_t* p = src + 3 * x;  // blue, green, red
                    dst[x] = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
                }
                break;
            case 32:
                for (int x = 0; x < w; ++x) {
                    const uint8_t* p = src + 4 * x;
                    dst[x] = FromRaw(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                                     (uint32_t(p[3]) << 24));
                }
                break;
        }
    }

    void Decode(const uint8_t* pixels, Pixels* bmp) const {
        for (int fileRow = 0; fileRow < l.height; ++fileRow) {
            const int y = l.topDown ? fileRow : l.height - 1 - fileRow;
            Row(pixels + size_t(fileRow) * l.rowBytes, bmp->Row(y));
        }
    }
};

// RLE streams are bottom-up: row 0 is the bottom row of the image.
class RleDecoder {
public:
    RleDecoder(const Layout& l, const uint8_t* data, size_t size, Pixels* bmp)
        : l_(l), data_(data), size_(size), bmp_(bmp), nibbles_(l.compression == BI_RLE4) {}

    bool Decode(std::string* error) {
        size_t at = 0;
        for (;;) {
            if (at == size_) {
                // Writers that end every row, the last one included, with end-of-line and
                // stop there have still described the whole image.
                if (row_ >= l_.height) return true;
                return Fail(error, "RLE data ends at row " + Num(row_) + " without an end-of-bitmap marker");
            }
            if (size_ - at < 2) return Fail(error, Where("truncated RLE code", at));
            const uint8_t count = data_[at], value = data_[at + 1];
            at += 2;
            if (count > 0) {
                if (!Span(count, at - 2, error)) return false;
                for (int k = 0; k < count; ++k) Put(nibbles_ ? ((k & 1) ? value & 0xF : value >> 4) : value);
                continue;
            }
            switch (value) {
                case 0:  // end of line
                    x_ = 0;
                    ++row_;
                    break;
                case 1:
                    return true;  // end of bitmap
                case 2:           // delta: move right and up
                    if (size_ - at < 2) return Fail(error, Where("truncated RLE delta", at - 2));
                    x_ += data_[at];
                    row_ += data_[at + 1];
                    if (x_ > l_.width || row_ >= l_.height)
                        return Fail(error, Where("RLE delta moves outside the image", at - 2));
                    at += 2;
                    break;
                default:
                    if (!Absolute(value, &at, error)) return false;
                    break;
            }
        }
    }

private:
    std::string Where(const std::string& what, size_t at) const {
        return what + " at byte " + Num(int64_t(at)) + " of the RLE data (x " + Num(x_) + ", row " + Num(row_) + ")";
    }

    // Checks that count pixels fit at the current position.
    bool Span(int count, size_t at, std::string* error) const {
        if (row_ >= l_.height) return Fail(error, Where("RLE data runs past the top of the image", at));
        if (x_ + count > l_.width)
            return Fail(
                error,
                Where("RLE run of " + Num(count) + " pixels runs past the row end (width " + Num(l_.width) + ")", at));
        return true;
    }

    bool Absolute(int count, size_t* at, std::string* error) {
        const size_t bytes = nibbles_ ? size_t(count + 1) / 2 : size_t(count);
        const size_t padded = (bytes + 1) & ~size_t(1);  // absolute runs end on a 16-bit boundary
        if (!Span(count, *at - 2, error)) return false;
        if (size_ - *at < padded) return Fail(error, Where("truncated RLE absolute run", *at - 2));
        const uint8_t* src = data_ + *at;
        for (int k = 0; k < count; ++k) Put(nibbles_ ? ((k & 1) ? src[k / 2] & 0xF : src[k / 2] >> 4) : src[k]);
        *at += padded;
        return true;
    }

    void Put(uint32_t index) {
        const uint32_t color = index < l_.palette.size() ? l_.palette[index] : 0;
        bmp_->Row(l_.height - 1 - int(row_))[x_++] = color;
    }

    const Layout& l_;
    const uint8_t* data_;
    size_t size_;
    Pixels* bmp_;
    bool nibbles_;
    int x_ = 0;
    int64_t row_ = 0;  // counted from the bottom; end-of-line codes may push it past the top
};

}  // namespace

// ---- 5. Entry points ------------------------------------------------------------------------
namespace rt {

HBITMAP LoadBmpMemory(const void* data, size_t size, std::string* error) {
    if (!data && size != 0) {
        Fail(error, "no data");
        return nullptr;
    }
    const Bytes in{static_cast<const uint8_t*>(data), size};
    Layout layout;
    if (!ParseHeaders(in, &layout, error)) return nullptr;

    // A DIB section in the file's row order, zeroed (black) as CreateDIBSection leaves it.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = layout.width;
    bi.bmiHeader.biHeight = layout.topDown ? -layout.height : layout.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP h = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!h || !bits) {
        if (h) ::DeleteObject(h);
        Fail(error, "cannot make a bitmap of " + Num(layout.width) + " x " + Num(layout.height) + " pixels");
        return nullptr;
    }
    const ptrdiff_t rowBytes = ptrdiff_t(layout.width) * 4;
    Pixels target{static_cast<uint8_t*>(bits), rowBytes};
    if (!layout.topDown) target = Pixels{target.scan0 + (layout.height - 1) * rowBytes, -rowBytes};
    const uint8_t* pixels = in.data + layout.pixelOffset;
    if (layout.compression == BI_RLE8 || layout.compression == BI_RLE4) {
        RleDecoder rle(layout, pixels, layout.pixelBytes, &target);
        if (!rle.Decode(error)) {
            ::DeleteObject(h);
            return nullptr;
        }
    } else {
        PackedDecoder{layout}.Decode(pixels, &target);
    }
    ::GdiFlush();  // the bits were written behind GDI's back
    if (error) error->clear();
    return h;
}

HBITMAP LoadBmpFile(const std::string& path, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        Fail(error, "cannot open '" + path + "': " + std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, &std::fclose);
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        Fail(error, "'" + path + "' is not a regular file");
        return nullptr;
    }
    if (st.st_size > kMaxFileBytes) {
        Fail(error, "'" + path + "' is " + Num(int64_t(st.st_size)) + " bytes; the limit is " + Num(kMaxFileBytes));
        return nullptr;
    }
    std::vector<uint8_t> bytes(size_t(st.st_size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        Fail(error, "cannot read '" + path + "'");
        return nullptr;
    }
    std::string why;
    HBITMAP h = LoadBmpMemory(bytes.data(), bytes.size(), &why);
    if (!h)
        Fail(error, path + ": " + why);
    else if (error)
        error->clear();
    return h;
}

}  // namespace rt
