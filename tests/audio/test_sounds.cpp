#include "audio/test_sounds.h"

#include <lame.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kel::test {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

std::vector<int16_t> SineFrames(double hz, int rate, double seconds, int channels, double amplitude) {
    size_t frames = static_cast<size_t>(seconds * rate);
    std::vector<int16_t> out;
    out.reserve(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i) {
        double v = amplitude * 32767.0 * std::sin(2.0 * M_PI * hz * static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<int16_t>(std::lround(v)));
    }
    return out;
}

std::vector<uint8_t> MakeWav16(const std::vector<int16_t>& samples, int channels, int rate) {
    std::vector<uint8_t> out;
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    Put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(channels));
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate * channels * 2));
    Put16(out, static_cast<uint32_t>(channels * 2));
    Put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(out, dataBytes);
    for (int16_t s : samples)
        Put16(out, static_cast<uint16_t>(s));
    return out;
}

std::vector<uint8_t> MakeMp3(const std::vector<int16_t>& samples, int rate) {
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 128);
    lame_set_write_id3tag_automatic(lame, 0);
    lame_set_bWriteVbrTag(lame, 1);
    std::vector<uint8_t> out;
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return out;
    }
    std::vector<unsigned char> buffer(samples.size() * 5 / 4 + 7200 + 16384);
    int n =
        lame_encode_buffer(lame, const_cast<short*>(samples.data()), const_cast<short*>(samples.data()),
                           static_cast<int>(samples.size()), buffer.data(), static_cast<int>(buffer.size()));
    if (n > 0) out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    n = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
    if (n > 0) out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    size_t tagBytes = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
    if (tagBytes > 0 && tagBytes <= out.size()) std::memcpy(out.data(), buffer.data(), tagBytes);
    lame_close(lame);
    return out;
}

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/kelvaro-audio-XXXXXX";
    char* made = mkdtemp(pattern);
    path = made ? made : "/tmp";
    previous = std::filesystem::current_path().string();
    std::filesystem::create_directories(path + "/sound");
    std::filesystem::current_path(path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
}

void ScratchFolder::WriteSound(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream file(path + "/sound/" + name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

double Recording::Seconds() const {
    return rate > 0 && channels > 0 ? static_cast<double>(samples.size()) / channels / rate : 0.0;
}

namespace {

struct Span {
    size_t from = 0;
    size_t to = 0;
};

Span FramesOf(const Recording& r, double from, double to) {
    size_t frames = r.channels > 0 ? r.samples.size() / static_cast<size_t>(r.channels) : 0;
    auto at = [&](double t) {
        double f = (t + r.offset) * r.rate;
        if (f < 0) return size_t{0};
        return std::min(frames, static_cast<size_t>(f));
    };
    return Span{at(from), at(to)};
}

double Sample(const Recording& r, size_t frame, int channel) {
    int c = std::min(channel, r.channels - 1);
    return r.samples[frame * static_cast<size_t>(r.channels) + static_cast<size_t>(c)] / 32768.0;
}

} // namespace

double Recording::Onset(double threshold) const {
    int limit = static_cast<int>(threshold * 32768.0);
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > limit)
            return static_cast<double>(i / static_cast<size_t>(channels)) / rate;
    }
    return -1.0;
}

double Recording::Rms(int channel, double from, double to) const {
    Span span = FramesOf(*this, from, to);
    if (span.to <= span.from) return 0.0;
    double sum = 0.0;
    for (size_t i = span.from; i < span.to; ++i)
        sum += Sample(*this, i, channel) * Sample(*this, i, channel);
    return std::sqrt(sum / static_cast<double>(span.to - span.from));
}

double Recording::Frequency(int channel, double from, double to) const {
    Span span = FramesOf(*this, from, to);
    size_t first = 0;
    size_t last = 0;
    int crossings = 0;
    for (size_t i = span.from + 1; i < span.to; ++i) {
        if (Sample(*this, i - 1, channel) < 0.0 && Sample(*this, i, channel) >= 0.0) {
            if (crossings == 0) first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return (crossings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
}

double Recording::QuietestWindow(int channel, double from, double to, double window) const {
    double quietest = 1.0;
    for (double t = from; t + window <= to; t += window / 2)
        quietest = std::min(quietest, Rms(channel, t, t + window));
    return quietest;
}

Recording ReadRecording(const std::string& path) {
    Recording r;
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return r;
    size_t offset = 12;
    bool haveFormat = false;
    while (offset + 8 <= bytes.size()) {
        uint32_t size = Get32(&bytes[offset + 4]);
        size_t body = offset + 8;
        size_t available = std::min<size_t>(size, bytes.size() - body);
        if (std::memcmp(&bytes[offset], "fmt ", 4) == 0 && available >= 16) {
            r.channels = bytes[body + 2] | (bytes[body + 3] << 8);
            r.rate = static_cast<int>(Get32(&bytes[body + 4]));
            int bits = bytes[body + 14] | (bytes[body + 15] << 8);
            haveFormat = bits == 16 && r.channels > 0;
        } else if (std::memcmp(&bytes[offset], "data", 4) == 0 && haveFormat) {
            r.samples.resize(available / 2);
            std::memcpy(r.samples.data(), &bytes[body], r.samples.size() * 2);
            r.ok = true;
        }
        offset = body + size + (size & 1);
    }
    return r;
}

} // namespace kel::test
