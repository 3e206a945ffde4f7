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

void Set16(std::vector<uint8_t>& bytes, size_t at, uint16_t v) {
    bytes[at] = static_cast<uint8_t>(v);
    bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Set32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    Set16(bytes, at, static_cast<uint16_t>(v));
    Set16(bytes, at + 2, static_cast<uint16_t>(v >> 16));
}

std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out(id, id + 4);
    out.resize(8);
    Set32(out, 4, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
    return out;
}

std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::vector<uint8_t> body(16, 0);
    Set16(body, 0, tag);
    Set16(body, 2, channels);
    Set32(body, 4, rate);
    Set32(body, 8, rate * channels * bits / 8);
    Set16(body, 12, static_cast<uint16_t>(channels * bits / 8));
    Set16(body, 14, bits);
    return body;
}

std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& c : chunks)
        out.insert(out.end(), c.begin(), c.end());
    Set32(out, 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

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
    std::vector<uint8_t> data(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i)
        Set16(data, 2 * i, static_cast<uint16_t>(samples[i]));
    return Riff({Chunk("fmt ", FmtBody(1, uint16_t(channels), uint32_t(rate), 16)), Chunk("data", data)});
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
