// Shared body of the decoder fuzzers: each input is served as one in-memory file through the
// file provider and handed to a decoder, whose result is read in full so the sanitizers see
// every pixel.
#pragma once

#include "fuzz/fuzz_support.h"
#include "gfx/image.h"
#include "gfx/image_memory_provider.h"

#include <cstddef>
#include <cstdint>

namespace kel {

// Small enough that a hostile header cannot make one input take seconds.
constexpr size_t kFuzzPixelLimit = size_t{1} << 20;

inline int FuzzDecoder(const uint8_t* data, size_t size, const char* name, Image* (*decode)(const char*)) {
    static MemoryFileProvider memory;
    static bool ready = [] {
        RegisterFileProvider(&memory);
        SilenceLog();
        SetImagePixelLimit(kFuzzPixelLimit);
        return true;
    }();
    (void)ready;
    memory.Add(name, data, size);
    Image* image = decode(name);
    if (image) {
        if (image->width <= 0 || image->height <= 0 || !image->pixels) __builtin_trap();
        uint32_t sum = 0;
        const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
        for (size_t i = 0; i < count; ++i)
            sum += image->pixels[i];
        // Keeps the reads from being optimised away.
        volatile uint32_t sink = sum;
        (void)sink;
        delete image;
    }
    if (memory.OpenHandles() != 0) __builtin_trap(); // a decoder left its file open
    return 0;
}

} // namespace kel
