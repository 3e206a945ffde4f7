#include "mp3.h"

#include "instruments.h"

#include <lame/lame.h>
#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>

namespace kel::music {

namespace {

constexpr int kChunkFrames = 8192; // frames handed to the encoder per call

struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

struct Mpg123Deleter {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};

// Lets libmpg123 read MP3 bytes held in memory as if they were a file.
struct MemoryReader {
    const std::vector<unsigned char>* bytes = nullptr;
    size_t position = 0;
};

ssize_t MemoryRead(void* handle, void* buffer, size_t count) {
    auto* reader = static_cast<MemoryReader*>(handle);
    size_t left = reader->bytes->size() - reader->position;
    count = std::min(count, left);
    std::copy_n(reader->bytes->data() + reader->position, count, static_cast<unsigned char*>(buffer));
    reader->position += count;
    return ssize_t(count);
}

off_t MemorySeek(void* handle, off_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(handle);
    off_t base = whence == SEEK_SET   ? 0
                 : whence == SEEK_CUR ? off_t(reader->position)
                                      : off_t(reader->bytes->size());
    off_t target = base + offset;
    if (target < 0 || target > off_t(reader->bytes->size())) return -1;
    reader->position = size_t(target);
    return target;
}

} // namespace

bool EncodeMp3(const StereoLoop& loop, std::vector<unsigned char>& mp3, std::string& error) {
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame) {
        error = "lame_init failed";
        return false;
    }
    lame_set_in_samplerate(lame.get(), kSampleRate);
    lame_set_out_samplerate(lame.get(), kSampleRate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_brate(lame.get(), kMp3Kbps);
    lame_set_quality(lame.get(), 5); // 0 best .. 9 fastest; 5 costs little next to rendering
    lame_set_bWriteVbrTag(lame.get(), 1);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) {
        error = "lame_init_params failed";
        return false;
    }
    mp3.clear();
    std::vector<unsigned char> chunk(size_t(1.25 * kChunkFrames + 7200));
    size_t frames = loop.Frames();
    for (size_t at = 0; at < frames; at += kChunkFrames) {
        int count = int(std::min<size_t>(kChunkFrames, frames - at));
        int bytes = lame_encode_buffer_ieee_float(lame.get(), loop.left.data() + at, loop.right.data() + at,
                                                  count, chunk.data(), int(chunk.size()));
        if (bytes < 0) {
            error = "lame_encode_buffer_ieee_float failed";
            return false;
        }
        mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + bytes);
    }
    int bytes = lame_encode_flush(lame.get(), chunk.data(), int(chunk.size()));
    if (bytes < 0) {
        error = "lame_encode_flush failed";
        return false;
    }
    mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + bytes);
    // The stream opens with a placeholder frame; the tag (with delay and padding) goes over it.
    unsigned char tag[4096];
    size_t tagBytes = lame_get_lametag_frame(lame.get(), tag, sizeof tag);
    if (tagBytes == 0 || tagBytes > sizeof tag || tagBytes > mp3.size()) {
        error = "no LAME tag frame";
        return false;
    }
    std::copy(tag, tag + tagBytes, mp3.begin());
    return true;
}

bool DecodeMp3(const std::vector<unsigned char>& mp3, StereoLoop& loop, std::string& error) {
    static std::once_flag initOnce;
    std::call_once(initOnce, [] { mpg123_init(); });
    int status = MPG123_OK;
    std::unique_ptr<mpg123_handle, Mpg123Deleter> handle(mpg123_new(nullptr, &status));
    if (!handle) {
        error = "mpg123_new failed";
        return false;
    }
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(handle.get());
    mpg123_format(handle.get(), kSampleRate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
    MemoryReader reader{&mp3, 0};
    mpg123_replace_reader_handle(handle.get(), MemoryRead, MemorySeek, nullptr);
    if (mpg123_open_handle(handle.get(), &reader) != MPG123_OK) {
        error = "mpg123_open_handle failed";
        return false;
    }
    loop.left.clear();
    loop.right.clear();
    std::vector<unsigned char> out(1 << 16);
    while (true) {
        size_t done = 0;
        status = mpg123_read(handle.get(), out.data(), out.size(), &done);
        if (status == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(handle.get(), &rate, &channels, &encoding);
            if (rate != kSampleRate || channels != 2 || encoding != MPG123_ENC_FLOAT_32) {
                error = "unexpected format";
                return false;
            }
        } else if (status != MPG123_OK && status != MPG123_DONE) {
            error = std::string("decode failed: ") + mpg123_strerror(handle.get());
            return false;
        }
        const float* samples = reinterpret_cast<const float*>(out.data());
        for (size_t i = 0; i + 1 < done / sizeof(float); i += 2) {
            loop.left.push_back(samples[i]);
            loop.right.push_back(samples[i + 1]);
        }
        if (status == MPG123_DONE) break;
    }
    return true;
}

} // namespace kel::music
