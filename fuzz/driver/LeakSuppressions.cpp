// Linked into every fuzz target. fontconfig keeps a few bytes from parsing its
// configuration for the life of the process; that is the library's, not ours. Nothing
// of this project is suppressed.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
