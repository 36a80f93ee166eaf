// Counting replacements of the C allocator (glibc: the real work is done by its
// __libc_ entry points). Only this executable installs them.
#include "AllocCounter.h"

#include <cxxabi.h>
#include <execinfo.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

namespace {

std::atomic<uint64_t> g_allocations{0};

// Stack recording: a fixed pool, filled only by the thread that started it.
constexpr int kFrames = 12;
constexpr int kMaxStacks = 8192;
struct Stack {
    void* frames[kFrames];
    int depth;
};
Stack g_stacks[kMaxStacks];
std::atomic<int> g_stackCount{0};
std::atomic<bool> g_recording{false};
thread_local bool t_inRecorder = false;

void Record() {
    if (!g_recording.load(std::memory_order_relaxed) || t_inRecorder) return;
    const int slot = g_stackCount.fetch_add(1, std::memory_order_relaxed);
    if (slot >= kMaxStacks) return;
    t_inRecorder = true;
    g_stacks[slot].depth = backtrace(g_stacks[slot].frames, kFrames);
    t_inRecorder = false;
}

inline void Count() {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    Record();
}

// "lib.so(mangled+0x12) [0x...]" -> "demangled" (without arguments).
std::string FrameName(const char* symbol) {
    std::string s = symbol;
    const size_t open = s.find('('), plus = s.find('+', open);
    if (open == std::string::npos || plus == std::string::npos) return s;
    if (plus == open + 1) {  // a function the library does not export: name the library
        const size_t slash = s.rfind('/', open);
        return s.substr(slash == std::string::npos ? 0 : slash + 1,
                        open - (slash == std::string::npos ? 0 : slash + 1)) +
               " (internal function)";
    }
    const std::string mangled = s.substr(open + 1, plus - open - 1);
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    const size_t paren = name.find('(');
    if (paren != std::string::npos) name.resize(paren);
    return name;
}

bool IsLibraryFrame(const char* symbol) {
    return std::strstr(symbol, "libstdc++") || std::strstr(symbol, "libc.so") || std::strstr(symbol, "AllocCounter") ||
           std::strstr(symbol, "(malloc") || std::strstr(symbol, "(calloc") || std::strstr(symbol, "(realloc") ||
           std::strstr(symbol, "(_Znwm") || std::strstr(symbol, "(_ZnwmRKSt9nothrow_t") ||
           std::strstr(symbol, "kelem_bench(+");
}

}  // namespace

namespace bench {

uint64_t AllocationCount() {
    return g_allocations.load(std::memory_order_relaxed);
}

void StartRecordingSites() {
    void* warm[2];
    backtrace(warm, 2);  // its first call loads the unwinder, allocating
    g_stackCount = 0;
    g_recording = true;
}

void StopRecordingSites() {
    g_recording = false;
}

std::map<std::string, int> RecordedSites() {
    std::map<std::string, int> sites;
    const int n = std::min(g_stackCount.load(), kMaxStacks);
    for (int i = 0; i < n; ++i) {
        char** symbols = backtrace_symbols(g_stacks[i].frames, g_stacks[i].depth);
        if (!symbols) continue;
        std::string site;
        int named = 0;
        for (int f = 1; f < g_stacks[i].depth && named < 3; ++f) {
            if (IsLibraryFrame(symbols[f]) && named == 0) continue;
            site += (named ? " <- " : "") + FrameName(symbols[f]);
            ++named;
        }
        std::free(symbols);
        ++sites[site.empty() ? "?" : site];
    }
    return sites;
}

}  // namespace bench

extern "C" {

void* malloc(size_t size) noexcept {
    Count();
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) noexcept {
    Count();
    return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size) noexcept {
    Count();
    return __libc_realloc(p, size);
}

void free(void* p) noexcept {
    __libc_free(p);
}

void* memalign(size_t alignment, size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
    Count();
    void* p = __libc_memalign(alignment, size);
    if (!p) return ENOMEM;
    *out = p;
    return 0;
}

}  // extern "C"
