// Every instrument and drum: finite samples, no offset from zero (which thumps at each note),
// an end at silence (so a note never clicks off), and a level the mix can hold.
#include "music/instruments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kel::music {
namespace {

constexpr Instrument kPitched[] = {
    Instrument::Lead,  Instrument::Brass, Instrument::Strings,   Instrument::Pad,
    Instrument::Bell,  Instrument::Pluck, Instrument::Piano,     Instrument::Flute,
    Instrument::Organ, Instrument::Bass,  Instrument::SynthBass, Instrument::Timpani,
};

constexpr Drum kDrums[] = {Drum::Kick, Drum::Snare,  Drum::ClosedHat, Drum::OpenHat, Drum::Crash,
                           Drum::Ride, Drum::LowTom, Drum::HighTom,   Drum::Clap,    Drum::WoodBlock};

struct Shape {
    double mean = 0.0, rms = 0.0;
    float peak = 0.0f, last = 0.0f;
    bool finite = true;
};

Shape Measure(const std::vector<float>& x) {
    Shape s;
    double sum = 0.0, squares = 0.0;
    for (float v : x) {
        s.finite = s.finite && std::isfinite(v);
        sum += v;
        squares += double(v) * v;
        s.peak = std::max(s.peak, std::fabs(v));
    }
    s.mean = sum / double(x.size());
    s.rms = std::sqrt(squares / double(x.size()));
    s.last = x.empty() ? 0.0f : std::fabs(x.back());
    return s;
}

// Clean across the range; notes last at least their gate and velocity scales them.
TEST(MusicInstruments, NotesAreCleanAcrossTheRange) {
    for (Instrument instrument : kPitched) {
        for (double hz : {41.2, 110.0, 440.0, 1760.0}) {
            std::vector<float> note;
            RenderNote(instrument, hz, 0.5, 1.0f, 3, note);
            ASSERT_FALSE(note.empty());
            Shape s = Measure(note);
            SCOPED_TRACE(testing::Message() << "instrument " << int(instrument) << " at " << hz << " Hz");
            EXPECT_TRUE(s.finite);
            EXPECT_GT(s.rms, 0.005);
            EXPECT_LT(std::fabs(s.mean), 0.05 * s.rms);
            EXPECT_LT(s.peak, 1.5f);
            EXPECT_LT(s.last, 0.01f);
        }
        std::vector<float> soft, loud;
        RenderNote(instrument, 330.0, 1.0, 0.3f, 5, soft);
        RenderNote(instrument, 330.0, 1.0, 0.9f, 5, loud);
        EXPECT_GE(loud.size(), size_t(kSampleRate)) << int(instrument);
        EXPECT_GT(Measure(loud).rms, 1.5 * Measure(soft).rms) << int(instrument);
    }
    // The same seed gives the same noise, another seed other noise.
    auto pluck = [](int seed, std::vector<float> v = {}) {
        RenderNote(Instrument::Pluck, 220.0, 0.3, 0.8f, seed, v);
        return v;
    };
    EXPECT_EQ(pluck(11), pluck(11));
    EXPECT_NE(pluck(11), pluck(12));
}

TEST(MusicInstruments, DrumsAreCleanHits) {
    for (Drum drum : kDrums) {
        std::vector<float> hit;
        RenderDrum(drum, 1.0f, 9, hit);
        Shape s = Measure(hit);
        SCOPED_TRACE(testing::Message() << "drum " << int(drum));
        EXPECT_TRUE(s.finite);
        EXPECT_GT(s.peak, 0.05f);
        EXPECT_LT(s.peak, 1.5f);
        EXPECT_LT(s.last, 0.01f);
        EXPECT_LE(hit.size(), size_t(2.5 * kSampleRate));
    }
}

} // namespace
} // namespace kel::music
