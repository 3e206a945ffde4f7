// libFuzzer target for one image decoder on arbitrary bytes, built once per format with its
// loader in FUZZ_DECODE and file name in FUZZ_FILE (see CMakeLists.txt). Each input is served as
// one in-memory file through the file provider, and the result is read in full so the sanitizers
// see every pixel.
#include "fuzz/fuzz_support.h"
#include "gfx/image.h"
#include "gfx/image_memory_provider.h"

#include <numeric>

static kel::MemoryFileProvider memory;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kel::RegisterFileProvider(&memory);
    kel::SilenceLog();
    // Small enough that a hostile header cannot make one input take seconds.
    kel::SetImagePixelLimit(size_t{1} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memory.Add(FUZZ_FILE, data, size);
    if (kel::Image* image = kel::FUZZ_DECODE(FUZZ_FILE)) {
        if (image->width <= 0 || image->height <= 0 || !image->pixels) __builtin_trap();
        const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
        volatile uint32_t sink = std::accumulate(image->pixels, image->pixels + count, 0u); // read them all
        (void)sink;
        delete image;
    }
    if (memory.OpenHandles() != 0) __builtin_trap(); // a decoder left its file open
    return 0;
}
