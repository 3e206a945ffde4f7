// RIFF/WAVE parsing. Every size field is treated as untrusted: offsets are computed in 64 bits and
// checked against the real byte count before anything is read.
#include "audio/pcm.h"

#include <cstring>

namespace kel {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kRiffHeaderBytes = 12;
constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kFmtMinBytes = 16;
constexpr size_t kFmtExtensibleBytes = 40;
constexpr size_t kSubFormatOffset = 24; // inside the fmt chunk of WAVE_FORMAT_EXTENSIBLE

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct WavFormat {
    uint16_t tag = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

bool ReadFormat(const uint8_t* body, size_t bytes, WavFormat* format, std::string* why) {
    if (bytes < kFmtMinBytes) {
        *why = "fmt chunk too short";
        return false;
    }
    format->tag = Read16(body);
    format->channels = Read16(body + 2);
    uint32_t rate = Read32(body + 4);
    format->bits = Read16(body + 14);
    if (format->tag == kFormatExtensible) {
        if (bytes < kFmtExtensibleBytes || Read16(body + kSubFormatOffset) != kFormatPcm) {
            *why = "extensible format that is not PCM";
            return false;
        }
    } else if (format->tag != kFormatPcm) {
        *why = "not PCM (format " + std::to_string(format->tag) + ")";
        return false;
    }
    if (format->channels != 1 && format->channels != 2) {
        *why = "unsupported channel count " + std::to_string(format->channels);
        return false;
    }
    if (format->bits != 8 && format->bits != 16) {
        *why = "unsupported sample size " + std::to_string(format->bits) + " bits";
        return false;
    }
    if (rate < static_cast<uint32_t>(kMinSampleRate) || rate > static_cast<uint32_t>(kMaxSampleRate)) {
        *why = "sample rate out of range " + std::to_string(rate);
        return false;
    }
    format->rate = static_cast<int>(rate);
    return true;
}

} // namespace

bool LooksLikeWav(const uint8_t* data, size_t size) {
    return data && size >= kRiffHeaderBytes && std::memcmp(data, "RIFF", 4) == 0 &&
           std::memcmp(data + 8, "WAVE", 4) == 0;
}

bool ParseWav(const uint8_t* data, size_t size, PcmSound* out, std::string* why) {
    if (!LooksLikeWav(data, size)) {
        *why = "not a RIFF/WAVE file";
        return false;
    }
    WavFormat format;
    bool haveFormat = false;
    const uint8_t* pcm = nullptr;
    size_t pcmBytes = 0;
    uint64_t offset = kRiffHeaderBytes;
    while (offset + kChunkHeaderBytes <= size) {
        const uint8_t* header = data + offset;
        uint64_t declared = Read32(header + 4);
        uint64_t body = offset + kChunkHeaderBytes;
        size_t available = static_cast<size_t>(declared < size - body ? declared : size - body);
        if (std::memcmp(header, "fmt ", 4) == 0 && !haveFormat) {
            if (!ReadFormat(data + body, available, &format, why)) return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0 && !pcm) {
            pcm = data + body;
            pcmBytes = available;
        }
        offset = body + declared + (declared & 1u);
    }
    if (!haveFormat) {
        *why = "no fmt chunk";
        return false;
    }
    if (!pcm) {
        *why = "no data chunk";
        return false;
    }
    size_t bytesPerFrame = static_cast<size_t>(format.channels) * static_cast<size_t>(format.bits / 8);
    size_t frames = pcmBytes / bytesPerFrame;
    if (frames == 0) {
        *why = "no sound data";
        return false;
    }
    size_t sampleCount = frames * static_cast<size_t>(format.channels);
    if (sampleCount > kMaxDecodedSamples) {
        *why = "sound too long";
        return false;
    }
    out->channels = format.channels;
    out->rate = format.rate;
    out->samples.resize(sampleCount);
    for (size_t i = 0; i < sampleCount; ++i) {
        if (format.bits == 8) {
            out->samples[i] = static_cast<int16_t>((static_cast<int>(pcm[i]) - 128) * 256);
        } else {
            out->samples[i] = static_cast<int16_t>(Read16(pcm + 2 * i));
        }
    }
    return true;
}

} // namespace kel
