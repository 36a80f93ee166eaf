// Fuzz target: the hscroll element fed host events and operation calls (driver/ElementDriver.h).
#include "driver/ElementDriver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kfuzz::RunElementInput(kfuzz::Kind::HScroll, data, size);
    return 0;
}
