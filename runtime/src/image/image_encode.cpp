// Index
//   1. Bytes    little- and big-endian words, the whole file
//   2. BMP
//   3. PNG      chunks with zlib's CRC-32, zlib's deflate
//   4. Files
#include "image/image_encode.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace imagefile {
namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool IsWhite(uint32_t pixel) {
    return (pixel & 0xFFFFFF) != 0;
}

// ---- 1. Bytes --------------------------------------------------------------------------------
void Put16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(uint8_t(v));
    out->push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutBig32(std::vector<uint8_t>* out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(v >> shift));
}

// What a failed write says: BMP files name the step that failed, PNG files say which
// kind of file could not be written.
std::string FileFailure(Format format, const std::string& path, bool creating) {
    if (format == Format::Png) return "cannot write PNG '" + path + "'";
    return (creating ? "cannot create '" : "cannot write '") + path + "'";
}

bool WriteWholeFile(Format format, const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return Fail(error, FileFailure(format, path, true) + ": " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int write_errno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed)
        return Fail(error, FileFailure(format, path, false) + ": " + std::strerror(written ? errno : write_errno));
    return true;
}

// ---- 2. BMP ----------------------------------------------------------------------------------
bool EncodeBmp(const Pixels& pixels, std::vector<uint8_t>* out, std::string* error) {
    const int bit_count = pixels.mono ? 1 : 24;
    const uint32_t palette_entries = pixels.mono ? 2 : 0;
    const uint64_t row_bytes = (uint64_t(pixels.width) * uint64_t(bit_count) + 31) / 32 * 4;
    const uint64_t off_bits = 14 + 40 + 4 * uint64_t(palette_entries);
    const uint64_t file_bytes = off_bits + row_bytes * uint64_t(pixels.height);
    if (file_bytes > 0xFFFFFFFFu) return Fail(error, "the bitmap is too large for a BMP file");
    out->clear();
    out->reserve(size_t(file_bytes));
    Put16(out, 0x4D42);  // 'BM'
    Put32(out, uint32_t(file_bytes));
    Put32(out, 0);  // two reserved words
    Put32(out, uint32_t(off_bits));
    Put32(out, 40);
    Put32(out, uint32_t(pixels.width));
    Put32(out, uint32_t(pixels.height));  // positive: bottom-up rows
    Put16(out, 1);
    Put16(out, uint32_t(bit_count));
    Put32(out, 0);  // BI_RGB
    Put32(out, uint32_t(row_bytes * uint64_t(pixels.height)));
    Put32(out, 0);  // no resolution recorded
    Put32(out, 0);
    Put32(out, palette_entries);
    Put32(out, 0);
    if (palette_entries == 2) {
        Put32(out, 0x000000);  // index 0 black, index 1 white
        Put32(out, 0xFFFFFF);
    }
    for (int y = pixels.height - 1; y >= 0; --y) {
        const size_t start = out->size();
        const uint32_t* src = pixels.Row(y);
        if (pixels.mono) {
            uint32_t acc = 0;
            for (int x = 0; x < pixels.width; ++x) {
                acc = (acc << 1) | (IsWhite(src[x]) ? 1u : 0u);
                if ((x & 7) == 7) {
                    out->push_back(uint8_t(acc));
                    acc = 0;
                }
            }
            if (pixels.width & 7) out->push_back(uint8_t(acc << (8 - (pixels.width & 7))));
        } else {
            for (int x = 0; x < pixels.width; ++x) {
                out->push_back(uint8_t(src[x]));  // blue, green, red
                out->push_back(uint8_t(src[x] >> 8));
                out->push_back(uint8_t(src[x] >> 16));
            }
        }
        out->insert(out->end(), size_t(row_bytes) - (out->size() - start), 0);
    }
    return true;
}

// ---- 3. PNG ----------------------------------------------------------------------------------
void PutChunk(std::vector<uint8_t>* out, const char type[4], const std::vector<uint8_t>& data) {
    PutBig32(out, uint32_t(data.size()));
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out->data() + start, uInt(out->size() - start));
    PutBig32(out, uint32_t(crc));
}

bool EncodePng(const Pixels& pixels, std::vector<uint8_t>* out, std::string* error) {
    // Each row: filter type 0 (none), then red, green, blue.
    const uint64_t row_bytes = 1 + uint64_t(pixels.width) * 3;
    const uint64_t raw_bytes = row_bytes * uint64_t(pixels.height);
    // One IDAT chunk holds at most 2^31 - 1 bytes, and zlib counts in uLong.
    if (raw_bytes > 0x7F000000u) return Fail(error, "the bitmap is too large for a PNG file");
    std::vector<uint8_t> raw(static_cast<size_t>(raw_bytes));
    for (int y = 0; y < pixels.height; ++y) {
        const uint32_t* src = pixels.Row(y);
        uint8_t* dst = raw.data() + size_t(y) * size_t(row_bytes);
        *dst++ = 0;
        for (int x = 0; x < pixels.width; ++x) {
            const uint32_t p = pixels.mono ? (IsWhite(src[x]) ? 0xFFFFFF : 0) : src[x];
            *dst++ = uint8_t(p >> 16);
            *dst++ = uint8_t(p >> 8);
            *dst++ = uint8_t(p);
        }
    }
    uLongf packed_bytes = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packed_bytes);
    if (compress2(packed.data(), &packed_bytes, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return Fail(error, "cannot compress the PNG data");
    packed.resize(packed_bytes);

    *out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    PutBig32(&ihdr, uint32_t(pixels.width));
    PutBig32(&ihdr, uint32_t(pixels.height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filtering, no interlace
    PutChunk(out, "IHDR", ihdr);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return true;
}

}  // namespace

// ---- 4. Files --------------------------------------------------------------------------------
bool Save(const Pixels& pixels, Format format, const std::string& path, std::string* error) {
    std::vector<uint8_t> bytes;
    const bool encoded = format == Format::Png ? EncodePng(pixels, &bytes, error) : EncodeBmp(pixels, &bytes, error);
    if (!encoded || !WriteWholeFile(format, path, bytes, error)) return false;
    if (error) error->clear();
    return true;
}

}  // namespace imagefile
