// libFuzzer target for one image decoder on arbitrary bytes, built once per format with its
// loader in FUZZ_DECODE and file name in FUZZ_FILE (see CMakeLists.txt). Each input is served as
// one in-memory file through the file provider, and the result is read in full so the sanitizers
// see every pixel.
#include "fuzz/fuzz_support.h"
#include "gfx/image.h"
#include "gfx/image_memory_provider.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static kel::MemoryFileProvider memory;
    static bool ready = [] {
        kel::RegisterFileProvider(&memory);
        kel::SilenceLog();
        kel::SetImagePixelLimit(size_t{1} << 20); // so a hostile header cannot take seconds
        return true;
    }();
    (void)ready;
    memory.Add(FUZZ_FILE, data, size);
    if (kel::Image* image = kel::FUZZ_DECODE(FUZZ_FILE)) {
        if (image->width <= 0 || image->height <= 0 || !image->pixels) __builtin_trap();
        uint32_t sum = 0;
        for (size_t i = 0; i < static_cast<size_t>(image->width) * static_cast<size_t>(image->height); ++i)
            sum += image->pixels[i];
        volatile uint32_t sink = sum; // keeps the reads from being optimised away
        (void)sink;
        delete image;
    }
    if (memory.OpenHandles() != 0) __builtin_trap(); // a decoder left its file open
    return 0;
}
