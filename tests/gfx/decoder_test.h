// A fixture serving test files from memory to one decoder, checking that it closes them.
#pragma once

#include "gfx/image.h"
#include "gfx/image_memory_provider.h"

#include <gtest/gtest.h>

#include <memory>

namespace kel {

template <Image* (*Decode)(const char*)> class DecoderTest : public ::testing::Test {
  protected:
    std::unique_ptr<Image> Load(const std::vector<uint8_t>& bytes) {
        memory.Add("t", bytes);
        std::unique_ptr<Image> image(Decode("t"));
        EXPECT_EQ(memory.OpenHandles(), 0);
        return image;
    }

    MemoryFileProvider memory;
    ScopedFileProvider scope{&memory};
};

} // namespace kel
