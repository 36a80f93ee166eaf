// Whether the runtime keeps freed memory for reuse: object blocks, bitmap pixel
// storage, SaveDC stacks and handle-map nodes. Under AddressSanitizer nothing is kept,
// so that a use after free still reaches freed memory and is reported.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define KELRT_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELRT_ADDRESS_SANITIZER 1
#endif
#endif

namespace rtmem {
#ifdef KELRT_ADDRESS_SANITIZER
constexpr bool kRecycle = false;
#else
constexpr bool kRecycle = true;
#endif
}  // namespace rtmem
