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

} // namespace kel::test
