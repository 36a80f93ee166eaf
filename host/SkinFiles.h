// Every file a skin names resolves inside the skin folder and must be a regular file
// (no absolute paths, no "..", no links leading out, no FIFOs or devices); sizes are
// bounded by SkinLimits. Factory pictures load when first asked for, not at start-up.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "frame/HostServices.h"

struct SkinLimits {
    static constexpr uintmax_t kMaxPaletteBytes = 1 << 20;
    static constexpr uintmax_t kMaxImageFileBytes = 32 << 20;
    static constexpr int64_t kMaxImagePixels = 4 << 20;   // decoded, per picture (16 MB at 32 bits)
    static constexpr int64_t kMaxSkinPixels = 16 << 20;   // decoded, all pictures of one load
    static constexpr size_t kMaxFactoryNames = 4096;      // distinct names asked for, and missing names kept
};

// A file the skin names, as a path under root; false with the reason when it is not a
// regular file inside the skin folder.
bool ResolveSkinFile(const std::string& root, const std::string& relative, std::string* path, std::string* error);
// The whole file, at most maxBytes.
bool ReadSkinFile(const std::string& root, const std::string& relative, uintmax_t maxBytes, std::string* bytes,
                  std::string* error);
// A skin picture in the screen's format. Its decoded pixels are taken from *pixels_left
// (when given); a picture that would pass it, or SkinLimits, is refused.
HBITMAP LoadSkinImage(const std::string& root, const std::string& relative, int64_t* pixels_left, std::string* error);

// Adds name to a list of missing names, up to SkinLimits::kMaxFactoryNames: callers may
// ask for any name, so the list is bounded like the factory's cache.
void NoteMissing(std::set<std::wstring>* missing, const std::wstring& name);
// Replaces the handle inside a long-lived wrapper, keeping the C++ object elements point at.
void SwapHandle(CGdiObject* pObject, HGDIOBJ hNew);
