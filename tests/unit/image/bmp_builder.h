// Builds .bmp files in memory for the reader tests, so that no binary test file is
// checked in. Fields are written little-endian one by one, as the format lays them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win32/wingdi.h"

namespace bmptest {

struct ByteBuilder {
    ByteBuilder& U8(uint32_t v) { bytes.push_back(uint8_t(v)); return *this; }
    ByteBuilder& U16(uint32_t v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    ByteBuilder& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteBuilder& Raw(const std::vector<uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    std::vector<uint8_t> bytes;
};

inline void PutU16(std::vector<uint8_t>& file, size_t at, uint32_t v) {
    file[at] = uint8_t(v);
    file[at + 1] = uint8_t(v >> 8);
}
inline void PutU32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
    PutU16(file, at, v & 0xFFFF);
    PutU16(file, at + 2, v >> 16);
}

// Field offsets in a file with a BITMAPINFOHEADER or larger.
enum Field : size_t {
    kOffBits = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
    kBitCount = 28, kCompression = 30, kSizeImage = 34, kClrUsed = 46,
};

struct BmpSpec {
    uint32_t headerSize = 40;  // 12 (core), 40, 52, 56, 108, 124
    int32_t width = 1;
    int32_t height = 1;  // negative: top-down
    uint16_t bitCount = 24;
    uint32_t compression = BI_RGB;
    uint32_t clrUsed = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> masks;    // R, G, B: after a 40-byte header, else inside the header
    std::vector<uint8_t> pixels;    // exactly as stored in the file
    bool sizeImageZero = false;     // biSizeImage 0 instead of the pixel data length
};

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
    ByteBuilder info;
    if (s.headerSize == 12) {
        info.U32(12).U16(uint32_t(s.width)).U16(uint32_t(s.height)).U16(1).U16(s.bitCount);
    } else {
        info.U32(s.headerSize).U32(uint32_t(s.width)).U32(uint32_t(s.height)).U16(1).U16(s.bitCount);
        info.U32(s.compression).U32(s.sizeImageZero ? 0 : uint32_t(s.pixels.size()));
        info.U32(2835).U32(2835).U32(s.clrUsed).U32(0);
        if (s.headerSize >= 52) {
            for (size_t i = 0; i < 3; ++i) info.U32(i < s.masks.size() ? s.masks[i] : 0);
            info.Raw(std::vector<uint8_t>(s.headerSize - 52));  // alpha mask, colour space and the rest: unused
        } else {
            for (uint32_t m : s.masks) info.U32(m);
        }
    }
    for (uint32_t c : s.palette) {
        info.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF);
        if (s.headerSize != 12) info.U8(0);
    }
    const uint32_t offBits = uint32_t(14 + info.bytes.size());
    ByteBuilder file;
    file.U8('B').U8('M').U32(uint32_t(offBits + s.pixels.size())).U32(0).U32(offBits);
    file.Raw(info.bytes).Raw(s.pixels);
    return file.bytes;
}

// Packs one row of raw pixel values (palette indexes, 16-bit words, 0xRRGGBB for 24 bits,
// 32-bit words) and pads it to 4 bytes.
inline std::vector<uint8_t> PackRow(int bitCount, const std::vector<uint32_t>& values) {
    ByteBuilder row;
    if (bitCount < 8) {
        uint32_t acc = 0;
        int used = 0;
        for (uint32_t v : values) {
            acc = (acc << bitCount) | v;
            used += bitCount;
            if (used == 8) {
                row.U8(acc);
                acc = 0;
                used = 0;
            }
        }
        if (used) row.U8(acc << (8 - used));
    } else {
        for (uint32_t v : values) {
            if (bitCount == 8) row.U8(v);
            if (bitCount == 16) row.U16(v);
            if (bitCount == 24) row.U8(v & 0xFF).U8((v >> 8) & 0xFF).U8((v >> 16) & 0xFF);
            if (bitCount == 32) row.U32(v);
        }
    }
    while (row.bytes.size() % 4) row.U8(0);
    return row.bytes;
}

// The pixel data of rows given top row first, stored bottom-up unless topDown.
inline std::vector<uint8_t> PackRows(int bitCount, const std::vector<std::vector<uint32_t>>& rowsTopFirst,
                                     bool topDown) {
    ByteBuilder out;
    for (size_t i = 0; i < rowsTopFirst.size(); ++i)
        out.Raw(PackRow(bitCount, rowsTopFirst[topDown ? i : rowsTopFirst.size() - 1 - i]));
    return out.bytes;
}

}  // namespace bmptest
