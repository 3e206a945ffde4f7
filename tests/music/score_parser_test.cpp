// The score format's rules: durations, pitches, ties, rests, chords, drum steps, repeats, barlines,
// and bad lines reported as "file:line: message".
#include "music/score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kel::music {
namespace {

// A one-voice score of one 4/4 bar per `bars` around the given track line.
std::string OneVoice(const std::string& instrument, const std::string& track, int bars = 1) {
    return "tempo 120\nmeter 4/4\nbars " + std::to_string(bars) + "\nvoice v " + instrument + "\n" + track +
           "\n";
}

bool HasErrorAt(const ParseResult& r, const std::string& prefix) {
    return std::any_of(r.errors.begin(), r.errors.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
}

std::string AllErrors(const ParseResult& r) {
    std::string text;
    for (const std::string& e : r.errors)
        text += e + "\n";
    return text;
}

TEST(ScoreDurations, LettersDotsTripletsAndSums) {
    const std::pair<const char*, double> good[] = {{"w", 4.0},  {"s", 0.25},      {"h.", 3.0},  {"q..", 1.75},
                                                   {"e3", 1.0 / 3.0}, {"h+e", 2.5}, {"w+w+q.", 9.5}};
    for (const auto& [text, want] : good) {
        double beats = 0.0;
        ASSERT_TRUE(ParseDuration(text, beats)) << text;
        EXPECT_DOUBLE_EQ(beats, want) << text;
    }
    double beats = 7.0;
    for (const char* bad : {"", "x", "q+", "+q", "q3.", "qq", "h4", "e..x"}) {
        EXPECT_FALSE(ParseDuration(bad, beats)) << bad;
        EXPECT_DOUBLE_EQ(beats, 7.0) << bad << " leaves the value";
    }
}

TEST(ScorePitches, NamesOctavesAndAccidentals) {
    for (const auto& [text, want] : {std::pair{"c4", 60}, {"a4", 69}, {"f#3", 54}, {"bb2", 46}, {"b3", 59}}) {
        int midi = -1;
        ASSERT_TRUE(ParsePitch(text, midi)) << text;
        EXPECT_EQ(midi, want) << text;
    }
    EXPECT_NEAR(PitchHz(69), 440.0, 1e-9);
    EXPECT_NEAR(PitchHz(81), 880.0, 1e-9);
    int midi = -1;
    for (const char* bad : {"", "c", "h4", "C4", "c#", "c44", "cx4", "g#9"})
        EXPECT_FALSE(ParsePitch(bad, midi)) << bad;
    EXPECT_EQ(midi, -1);
}

// Where notes land: carried-over durations, rests, ties across barlines, tied chords, chords
// voiced from the voice's octave, drum steps, repeats and a '#' that is a sharp, not a comment.
TEST(ScoreNotes, NotesLandWhereTheTrackPutsThem) {
    struct Note {
        size_t index;
        int pitch;
        double start, length; // length < 0: not checked
    };
    const struct {
        const char* what;
        std::string text;
        size_t count;
        std::vector<Note> notes;
    } cases[] = {
        {"durations carry over, rests advance time", OneVoice("lead", "v: c4:e d4 e4 r:e f4:h"), 4,
         {{1, 62, 0.5, 0.5}, {2, 64, 1.0, 0.5}, {3, 65, 2.0, 2.0}}},
        {"ties join across barlines", OneVoice("lead", "v: r:h c5:h~ | c5:q~ c5:e r:e r:h", 2), 1, {{0, 72, 2.0, 3.5}}},
        {"tied chords continue together", OneVoice("pad", "v: [c4 e4]:h~ [c4 e4]:h"), 2,
         {{0, 60, 0.0, 4.0}, {1, 64, 0.0, 4.0}}},
        // Am with its root in octave 3: a3 c4 e4; G7: g3 b3 d4 f4.
        {"chords", "tempo 90\nbars 1\nvoice p pad octave 3\np: [c4 e4 g4]:h Am:q G7:q\n", 10,
         {{0, 60, 0.0, 2.0}, {2, 67, 0.0, -1}, {3, 57, 2.0, 1.0}, {5, 64, 2.0, -1}, {9, 65, 3.0, -1}}},
        {"drum steps of an eighth", "tempo 100\nmeter 3/4\nbars 1\nvoice d kit step e\nd: k.sK-h\n", 4,
         {{0, int(Drum::Kick), 0.0, -1}, {1, int(Drum::Snare), 1.0, -1}, {3, int(Drum::ClosedHat), 2.5, -1}}},
        {"repeats and comments",
         "# a comment line\ntempo 120\nbars 4\nvoice v lead # trailing comment\nv x3: | c#4:q d4 e4 r |\nv: r:w\n", 9,
         {{0, 61, 0.0, 1.0}, {3, 61, 4.0, 1.0}}},
    };
    for (const auto& c : cases) {
        ParseResult r = ParseScore(c.text, "t.kms");
        ASSERT_TRUE(r.Ok()) << c.what << "\n" << AllErrors(r);
        const auto& notes = r.score.voices[0].notes;
        ASSERT_EQ(notes.size(), c.count) << c.what;
        for (const Note& n : c.notes) {
            SCOPED_TRACE(testing::Message() << c.what << ", note " << n.index);
            EXPECT_EQ(notes[n.index].pitch, n.pitch);
            EXPECT_DOUBLE_EQ(notes[n.index].startBeats, n.start);
            EXPECT_TRUE(n.length < 0 || notes[n.index].lengthBeats == n.length) << notes[n.index].lengthBeats;
        }
    }
}

TEST(ScoreNotes, AccentsAndDynamicsSetVelocity) {
    ParseResult drums = ParseScore("tempo 100\nbars 1\nvoice d kit\nd: k...K...........\n", "d.kms");
    ASSERT_TRUE(drums.Ok()) << AllErrors(drums);
    EXPECT_GT(drums.score.voices[0].notes[1].velocity, drums.score.voices[0].notes[0].velocity) << "upper case";
    ParseResult r = ParseScore(OneVoice("lead", "v: c4:q !p d4 !ff e4 f4"), "l.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    const auto& notes = r.score.voices[0].notes;
    EXPECT_LT(notes[1].velocity, notes[2].velocity);
    EXPECT_FLOAT_EQ(notes[3].velocity, notes[2].velocity) << "a dynamic lasts until the next one";
}

TEST(ScoreErrors, MistakesInTracksAreReportedWithFileAndLine) {
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {OneVoice("lead", "v: c4:h~ d4:h"), "t.kms:5: a tie must continue the same pitches"},
        {OneVoice("lead", "v: c4:h~ r:h"), "t.kms:5: a tie leads into a rest"},
        {OneVoice("lead", "v: r:h~ c4:h"), "t.kms:5: a rest cannot be tied"},
        {OneVoice("lead", "v: r:h c4:h~"), "t.kms:5: voice 'v' ends in a tie"},
        {OneVoice("pad", "v: Cmaj13:w"), "t.kms:5: unknown chord 'Cmaj13'"},
        {OneVoice("kit", "v: k...z..........."), "t.kms:5: unknown drum 'z'"},
        {OneVoice("lead", "v: c4:q d4:q e4:q | f4:q"), "t.kms:5: barline 3 beats into bar 1"},
        {OneVoice("lead", "v: c4:w", 2), "t.kms:4: voice 'v' lasts 1 bars; the loop has 2"},
        {"voice v lead\nv: c4:w\nbars 1\n", "t.kms:2: 'bars' must come before the tracks"},
        {"", "t.kms:1: missing 'bars'"},
    };
    for (const auto& c : cases) {
        ParseResult r = ParseScore(c.text, "t.kms");
        EXPECT_FALSE(r.Ok()) << c.error;
        EXPECT_TRUE(HasErrorAt(r, c.error)) << AllErrors(r);
    }
}

TEST(ScoreErrors, BadLinesNameTheirLine) {
    const char* text = "tempo 300\n"          // 1
                       "bars 2\n"             // 2
                       "voice a tuba\n"       // 3
                       "voice b lead vol 9\n" // 4
                       "voice c lead\n"       // 5
                       "voice c bass\n"       // 6
                       "d: c4:w\n"            // 7
                       "c: c4:w c4:x\n"       // 8
                       "meter 3/4\n"          // 9
                       "just words\n";        // 10
    ParseResult r = ParseScore(text, "bad.kms");
    for (const char* error :
         {"bad.kms:1: tempo must be 40..240", "bad.kms:3: unknown instrument 'tuba'", "bad.kms:4: bad option 'vol 9'",
          "bad.kms:6: voice 'c' is defined twice", "bad.kms:7: unknown voice 'd'", "bad.kms:8: bad duration 'x'",
          "bad.kms:9: 'meter' must come before the tracks", "bad.kms:10: expected a header or '<voice>: <notes>'"})
        EXPECT_TRUE(HasErrorAt(r, error)) << AllErrors(r);
}

TEST(ScoreErrors, AVoiceReportsOnlyItsFirstBadLineAndAMissingFileSaysSo) {
    ParseResult r = ParseScore(OneVoice("lead", "v: c4:q q4 e4:h\nv: c4:w\nv: c4:w", 3), "once.kms");
    ASSERT_EQ(r.errors.size(), 1u) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "once.kms:5: bad note 'q4'")) << AllErrors(r);
    ParseResult missing = LoadScore("/nonexistent/score.kms");
    EXPECT_TRUE(HasErrorAt(missing, "/nonexistent/score.kms:0: cannot open the file")) << AllErrors(missing);
}

TEST(ScoreTiming, MeterSetsBarLengthAndLoopSeconds) {
    ParseResult r = ParseScore("tempo 150\nmeter 6/8\nbars 4\nvoice v lead\nv x4: c4:q. c4:q.\n", "m.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    EXPECT_DOUBLE_EQ(r.score.BarBeats(), 3.0);
    EXPECT_DOUBLE_EQ(r.score.LoopBeats(), 12.0);
    EXPECT_DOUBLE_EQ(r.score.LoopSeconds(), 4.8);
}

} // namespace
} // namespace kel::music
