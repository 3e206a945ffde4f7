// MP3 decoding through libmpg123, always from memory: the whole-file decoder that turns an MP3
// effect into a sample, and the piecewise decoder behind the music stream.
#include "audio/pcm.h"

#include <mpg123.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/log.h"

namespace kel {

namespace {

constexpr size_t kDecodeChunkBytes = 16384;

// A seek back to the start that still yields nothing twice in a row means the piece is empty.
constexpr int kMaxEmptyLoops = 2;
// Format notices without output, in a row, before a read gives up.
constexpr int kMaxIdleReads = 4;

bool LibraryReady() {
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

mpg123_ssize_t MemoryRead(void* source, void* buffer, size_t bytes) {
    auto* memory = static_cast<Mp3Stream::Memory*>(source);
    size_t left = memory->size - memory->position;
    size_t count = bytes < left ? bytes : left;
    std::memcpy(buffer, memory->bytes + memory->position, count);
    memory->position += count;
    return static_cast<mpg123_ssize_t>(count);
}

off_t MemorySeek(void* source, off_t offset, int whence) {
    auto* memory = static_cast<Mp3Stream::Memory*>(source);
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
    long long base = 0;
    if (whence == SEEK_CUR) base = static_cast<long long>(memory->position);
    if (whence == SEEK_END) base = static_cast<long long>(memory->size);
    long long target = base + static_cast<long long>(offset);
    if (target < 0 || target > static_cast<long long>(memory->size)) return -1;
    memory->position = static_cast<size_t>(target);
    return static_cast<off_t>(target);
}

// Opens a decoder over memory that gives signed 16-bit output at the file's own rate and
// channel count. Null on failure.
mpg123_handle* OpenDecoder(Mp3Stream::Memory* memory, int* channels, int* rate) {
    if (!LibraryReady()) return nullptr;
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle) return nullptr;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    long fileRate = 0;
    int fileChannels = 0;
    int encoding = 0;
    if (mpg123_replace_reader_handle(handle, MemoryRead, MemorySeek, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle, memory) != MPG123_OK ||
        mpg123_getformat(handle, &fileRate, &fileChannels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_SIGNED_16 || (fileChannels != 1 && fileChannels != 2) ||
        fileRate < kMinSampleRate || fileRate > kMaxSampleRate) {
        mpg123_delete(handle);
        return nullptr;
    }
    // Keep the format fixed for the rest of the piece.
    mpg123_format_none(handle);
    mpg123_format(handle, fileRate, fileChannels, MPG123_ENC_SIGNED_16);
    *channels = fileChannels;
    *rate = static_cast<int>(fileRate);
    return handle;
}

} // namespace

bool DecodeMp3(const uint8_t* data, size_t size, PcmSound* out) {
    if (!data || size == 0) return false;
    Mp3Stream::Memory memory;
    memory.bytes = const_cast<uint8_t*>(data); // the reader only reads
    memory.size = size;
    int channels = 0;
    int rate = 0;
    mpg123_handle* handle = OpenDecoder(&memory, &channels, &rate);
    if (!handle) return false;
    std::vector<int16_t> samples;
    unsigned char chunk[kDecodeChunkBytes];
    for (;;) {
        size_t done = 0;
        int result = mpg123_read(handle, chunk, sizeof chunk, &done);
        size_t count = done / sizeof(int16_t);
        if (samples.size() + count > kMaxDecodedSamples) break;
        size_t old = samples.size();
        samples.resize(old + count);
        std::memcpy(samples.data() + old, chunk, count * sizeof(int16_t));
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    samples.resize(samples.size() - samples.size() % static_cast<size_t>(channels));
    if (samples.empty()) return false;
    out->samples = std::move(samples);
    out->channels = channels;
    out->rate = rate;
    return true;
}

Mp3Stream::~Mp3Stream() {
    Close();
}

bool Mp3Stream::Open(void* bytes, size_t size) {
    Close();
    memory.bytes = static_cast<uint8_t*>(bytes);
    memory.size = bytes ? size : 0;
    memory.position = 0;
    handle = OpenDecoder(&memory, &channels, &rate);
    if (!handle) {
        Close();
        return false;
    }
    return true;
}

void Mp3Stream::Close() {
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
        handle = nullptr;
    }
    std::free(memory.bytes);
    memory = Memory{};
    channels = 0;
    rate = 0;
}

bool Mp3Stream::Rewind() {
    return handle && mpg123_seek(handle, 0, SEEK_SET) >= 0;
}

size_t Mp3Stream::Read(int16_t* out, size_t maxFrames, bool loop) {
    if (!handle || maxFrames == 0) return 0;
    size_t frameBytes = static_cast<size_t>(channels) * sizeof(int16_t);
    size_t filled = 0; // bytes
    size_t wanted = maxFrames * frameBytes;
    int emptyLoops = 0;
    int idleReads = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    while (filled < wanted) {
        size_t done = 0;
        int result = mpg123_read(handle, bytes + filled, wanted - filled, &done);
        filled += done;
        if (done > 0) {
            emptyLoops = 0;
            idleReads = 0;
        }
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            if (done == 0 && ++idleReads > kMaxIdleReads) break;
            continue;
        }
        if (result == MPG123_DONE && loop && emptyLoops < kMaxEmptyLoops) {
            ++emptyLoops;
            if (mpg123_seek(handle, 0, SEEK_SET) < 0) break;
            continue;
        }
        if (result != MPG123_DONE) LogDebug("Music decoding stopped: %s", mpg123_strerror(handle));
        break;
    }
    return filled / frameBytes;
}

} // namespace kel
