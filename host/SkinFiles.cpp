#include "SkinFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "win32/runtime_ext.h"

void NoteMissing(std::set<std::wstring>* missing, const std::wstring& name) {
    if (missing->size() < SkinLimits::kMaxFactoryNames) missing->insert(name);
}

void SwapHandle(CGdiObject* pObject, HGDIOBJ hNew) {
    pObject->DeleteObject();
    pObject->Attach(hNew);
}

namespace {

namespace fs = std::filesystem;

bool Fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

// Whether `inner` is `outer` or lies below it (both canonical).
bool IsInside(const fs::path& outer, const fs::path& inner) {
    auto o = outer.begin(), i = inner.begin();
    for (; o != outer.end(); ++o, ++i)
        if (i == inner.end() || *o != *i) return false;
    return true;
}

}  // namespace

bool ResolveSkinFile(const std::string& root, const std::string& relative, std::string* path, std::string* error) {
    if (relative.empty()) return Fail(error, "an empty file name");
    if (relative.find('\0') != std::string::npos) return Fail(error, "a NUL byte in the file name");
    const fs::path rel = fs::u8path(relative);
    const std::string shown = root + "/" + relative;
    if (rel.has_root_name() || rel.has_root_directory())
        return Fail(error, "'" + relative + "' is an absolute path; skin files are named relative to the skin folder");
    for (const fs::path& part : rel)
        if (part == "..") return Fail(error, "'" + relative + "' leaves the skin folder");
    const fs::path full = fs::u8path(root) / rel;
    std::error_code ec;
    const fs::file_status st = fs::status(full, ec);
    if (!fs::exists(st)) return Fail(error, shown + ": no such file");
    if (fs::is_directory(st)) return Fail(error, shown + ": a folder, not a file");
    // A FIFO or a device would block the reader or never end.
    if (!fs::is_regular_file(st)) return Fail(error, shown + ": not a regular file");
    // A link inside the folder may still point out of it.
    std::error_code ecRoot, ecFull;
    const fs::path canonicalRoot = fs::canonical(fs::u8path(root), ecRoot);
    const fs::path canonicalFull = fs::canonical(full, ecFull);
    if (ecRoot || ecFull || !IsInside(canonicalRoot, canonicalFull))
        return Fail(error, "'" + relative + "' leaves the skin folder");
    if (path) *path = full.u8string();
    return true;
}

bool ReadSkinFile(const std::string& root, const std::string& relative, uintmax_t maxBytes, std::string* bytes,
                  std::string* error) {
    std::string path;
    if (!ResolveSkinFile(root, relative, &path, error)) return false;
    std::error_code ec;
    const uintmax_t size = fs::file_size(fs::u8path(path), ec);
    if (ec) return Fail(error, path + ": cannot read: " + ec.message());
    if (size > maxBytes)
        return Fail(error, path + ": " + std::to_string(size) + " bytes; the limit is " + std::to_string(maxBytes));
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) return Fail(error, path + ": cannot open");
    bytes->assign(size_t(size), '\0');
    // The file may have grown since: what is read stays within the size checked above.
    in.read(bytes->data(), std::streamsize(size));
    bytes->resize(size_t(in.gcount()));
    if (in.bad()) return Fail(error, path + ": cannot read");
    return true;
}

namespace {

// The picture's size from its header, before anything is decoded: width and rows, or
// false when the header is too short to tell (the decoder then says what is wrong).
bool PeekBmpSize(const std::string& bytes, int64_t* width, int64_t* rows) {
    auto u8 = [&](size_t at) { return uint32_t(uint8_t(bytes[at])); };
    auto u16 = [&](size_t at) { return u8(at) | (u8(at + 1) << 8); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    if (u32(14) == 12) {  // the old core header: 16-bit sizes
        *width = u16(18);
        *rows = u16(20);
        return true;
    }
    *width = std::llabs(int64_t(int32_t(u32(18))));
    *rows = std::llabs(int64_t(int32_t(u32(22))));
    return true;
}

// Skin images are only ever blitted: they are kept as device-dependent bitmaps, in the
// screen's format (32-bit, top-down), which copy as whole blocks. The file's own
// bottom-up DIB section would be copied row by row at every paint. The pixels are the same.
HBITMAP ToScreenFormat(HBITMAP dib) {
    BITMAP bm{};
    if (!::GetObjectW(dib, sizeof bm, &bm)) return nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP ddb = ::CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight);
    ::ReleaseDC(nullptr, screen);
    if (!ddb) return nullptr;
    HDC src = ::CreateCompatibleDC(nullptr), dst = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = ::SelectObject(src, dib), oldDst = ::SelectObject(dst, ddb);
    ::BitBlt(dst, 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
    ::SelectObject(src, oldSrc);
    ::SelectObject(dst, oldDst);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    return ddb;
}

}  // namespace

HBITMAP LoadSkinImage(const std::string& root, const std::string& relative, int64_t* pixels_left, std::string* error) {
    std::string bytes;
    if (!ReadSkinFile(root, relative, SkinLimits::kMaxImageFileBytes, &bytes, error)) return nullptr;
    const std::string path = root + "/" + relative;
    int64_t width = 0, rows = 0;
    if (PeekBmpSize(bytes, &width, &rows)) {
        const int64_t pixels = width * rows;
        if (pixels > SkinLimits::kMaxImagePixels) {
            Fail(error, path + ": " + std::to_string(width) + " x " + std::to_string(rows) +
                            " pixels; a skin image may have at most " + std::to_string(SkinLimits::kMaxImagePixels));
            return nullptr;
        }
        if (pixels_left && pixels > *pixels_left) {
            Fail(error, path + ": " + std::to_string(width) + " x " + std::to_string(rows) +
                            " pixels would take the skin's images past " +
                            std::to_string(SkinLimits::kMaxSkinPixels) + " pixels in all");
            return nullptr;
        }
        if (pixels_left) *pixels_left -= pixels;
    }
    std::string why;
    HBITMAP dib = rt::LoadBmpMemory(bytes.data(), bytes.size(), &why);
    if (!dib) {
        Fail(error, path + ": " + why);
        return nullptr;
    }
    HBITMAP ddb = ToScreenFormat(dib);
    ::DeleteObject(dib);
    if (!ddb) Fail(error, path + ": cannot be converted to the screen's format");
    return ddb;
}
