// libFuzzer target: the TGA decoder on arbitrary bytes.
#include "fuzz/fuzz_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kel::FuzzDecoder(data, size, "fuzz.tga", kel::LoadTga);
}
