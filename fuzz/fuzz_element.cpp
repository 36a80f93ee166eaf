// Fuzz target: one element kind (KELEM_FUZZ_KIND, from CMakeLists.txt) fed host events and
// operation calls (driver/ElementDriver.h).
#include "driver/ElementDriver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const kfuzz::Kind kind = [] {
        kfuzz::Kind k = kfuzz::Kind::Button;
        kfuzz::KindFromName(KELEM_FUZZ_KIND, &k);
        return k;
    }();
    kfuzz::RunElementInput(kind, data, size);
    return 0;
}
