// Linked into every fuzz target.
#include <cstring>
#include <string>
#include <vector>

// libFuzzer's default input limit is 4,096 bytes (or the largest seed), too short for what
// breaks parsers: deep nesting, long lines, long scripts. Unless the command line says
// otherwise (-max_len=N), a target takes inputs up to KELEM_FUZZ_MAX_LEN bytes, set per
// target in fuzz/CMakeLists.txt.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0) return 0;
    static std::string flag = "-max_len=" + std::to_string(KELEM_FUZZ_MAX_LEN);
    static std::vector<char*> args;
    args.assign(*argv, *argv + *argc);
    args.push_back(flag.data());
    args.push_back(nullptr);
    *argv = args.data();
    ++*argc;
    return 0;
}

// fontconfig keeps a few bytes from parsing its configuration for the life of the process;
// that is the library's, not ours. Nothing of this project is suppressed.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
