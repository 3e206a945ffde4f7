// Writes a few small valid files per format into <folder>/{tga,gif,png,jpeg,records}/ as starting
// points for the fuzzers (PNG and JPEG checksums and markers are hard to discover from nothing,
// and a records file is two thousand bytes of fixed layout).
#include "fuzz/fuzz_support.h"
#include "gfx/image.h"
#include "platform/files.h"
#include "sim/records.h"

#include <jpeglib.h>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, std::initializer_list<int> values) {
    for (int v : values)
        out.insert(out.end(), {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)});
}

Bytes Tga(int w, int h) {
    Bytes out = {0, 0,  2,   0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(w), 0, static_cast<uint8_t>(h),
                 0, 32, 0x28};
    for (int i = 0; i < w * h * 4; ++i)
        out.push_back(static_cast<uint8_t>(i * 31));
    return out;
}

// Literal codes only, with a clear before the table would grow past 5 bits: simple and valid.
Bytes Gif(int w, int h, bool interlaced, int transparent) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, {w, h});
    out.insert(out.end(),
               {0x81, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}); // global table of 4 colours
    if (transparent >= 0)
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(transparent), 0});
    out.push_back(',');
    Put16(out, {0, 0, w, h});
    out.insert(out.end(), {static_cast<uint8_t>(interlaced ? 0x40 : 0), 2});
    Bytes codes;
    uint32_t bits = 0;
    int held = 0;
    auto put = [&](int code, int size) {
        bits |= static_cast<uint32_t>(code) << held;
        for (held += size; held >= 8; held -= 8, bits >>= 8)
            codes.push_back(static_cast<uint8_t>(bits));
    };
    int size = 3, next = 6, sinceClear = 0;
    put(4, size);
    for (int i = 0; i < w * h; ++i) {
        put(i % 4, size);
        if (sinceClear++ > 0 && ++next == 8) size = 4;
        if (next >= 14) {
            put(4, size);
            size = 3, next = 6, sinceClear = 0;
        }
    }
    put(5, size);
    if (held > 0) codes.push_back(static_cast<uint8_t>(bits));
    for (size_t i = 0; i < codes.size(); i += 255) {
        const size_t n = std::min<size_t>(codes.size() - i, 255);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), codes.begin() + static_cast<long>(i), codes.begin() + static_cast<long>(i + n));
    }
    out.insert(out.end(), {0, ';'});
    return out;
}

Bytes Jpeg(int w, int h, int components, bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(w * components));
    for (JSAMPROW rows[1] = {row.data()}; info.next_scanline < info.image_height;) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<JSAMPLE>(i * 7 + info.next_scanline * 13);
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// A records file as a long-played game leaves it: records set, players named and blended,
// a computer opponent, medals and quieter volumes.
Bytes PlayedRecords(int version, size_t size) {
    kel::RecordsData d;
    for (int e = 0; e < kel::kEventCount; e += 2) {
        d.events[e].hasRecord = 1;
        d.events[e].recordValue = kel::kEventTable[e].marks[1] + 0.25f;
        std::snprintf(d.events[e].recordHolder.name, sizeof d.events[e].recordHolder.name, "HOLDER %d", e);
        d.events[e].recordHolder.countryA = 5 * e;
    }
    d.events[kel::kEventRings].included = 0;
    for (int i = 0; i < kel::kPlayerCount; ++i) {
        kel::PlayerRecord& p = d.players[i];
        p.active = i < 3 ? 1 : 0;
        std::snprintf(p.nation.name, sizeof p.nation.name, "PLAYER %d", i + 1);
        p.nation.countryA = 20 + i;
        p.nation.countryB = 100 + i;
        p.nation.pure = i % 2 == 0 ? 1 : 0;
        p.nation.firstSide = i % 2;
        p.colour = 0xE0C8A8FFu - static_cast<uint32_t>(i);
        p.gold = 3 - i;
        p.silver = i;
        p.computer = i == 2 ? 1 : 0;
        p.opponentIndex = 4 * i;
    }
    d.musicVolume = 35;
    d.effectsVolume = 80;
    const int32_t tally[] = {4, 2, 1};
    std::memcpy(d.bestTally, tally, sizeof tally);
    Bytes out(kel::kRecordsFileBytes);
    kel::EncodeRecords(d, out.data());
    out[0] = static_cast<uint8_t>(version);
    out.resize(size);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string root = std::string(argv[1]) + "/";
    const std::pair<const char*, Bytes> seeds[] = {
        {"tga/small.tga", Tga(3, 2)},
        {"gif/plain.gif", Gif(5, 3, false, -1)},
        {"gif/interlaced.gif", Gif(4, 10, true, 2)},
        {"jpeg/colour.jpg", Jpeg(16, 16, 3, false)},
        {"jpeg/grey.jpg", Jpeg(9, 7, 1, false)},
        {"jpeg/progressive.jpg", Jpeg(17, 9, 3, true)},
        {"records/played.rec", PlayedRecords(kel::kRecordsVersion, kel::kRecordsFileBytes)},
        {"records/version4.rec", PlayedRecords(4, kel::kRecordsVersion4Bytes)},
        {"records/short.rec", PlayedRecords(kel::kRecordsVersion, 700)},
    };
    kel::Image image(5, 4);
    for (int i = 0; i < 20; ++i)
        image.pixels[i] = 0x80000000u | static_cast<uint32_t>(i * 0x0A0B0C);
    bool ok = kel::WritePng((root + "png/small.png").c_str(), image);
    for (const auto& [path, bytes] : seeds)
        ok = kel::WriteFileAtomic((root + path).c_str(), bytes.data(), bytes.size()) && ok;
    if (!ok) std::fprintf(stderr, "make_seeds: could not write the seeds under %s\n", root.c_str());
    return ok ? 0 : 1;
}
