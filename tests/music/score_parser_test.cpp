// The score format's rules: durations, pitches, ties, rests, chords, drum steps, repeats, barlines,
// and bad lines reported as "file:line: message".
#include "music/score.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::music {
namespace {

// A one-voice score of one 4/4 bar per `bars` around the given track line.
std::string OneVoice(const std::string& instrument, const std::string& track, int bars = 1) {
    return "tempo 120\nmeter 4/4\nbars " + std::to_string(bars) + "\nvoice v " + instrument + "\n" + track +
           "\n";
}

bool HasErrorAt(const ParseResult& r, const std::string& prefix) {
    for (const std::string& e : r.errors) {
        if (e.rfind(prefix, 0) == 0) return true;
    }
    return false;
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

TEST(ScoreNotes, DurationCarriesOverAndRestsAdvanceTime) {
    ParseResult r = ParseScore(OneVoice("lead", "v: c4:e d4 e4 r:e f4:h"), "t.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    const auto& notes = r.score.voices[0].notes;
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_DOUBLE_EQ(notes[1].startBeats, 0.5);
    EXPECT_DOUBLE_EQ(notes[1].lengthBeats, 0.5);
    EXPECT_EQ(notes[2].pitch, 64);
    EXPECT_DOUBLE_EQ(notes[3].startBeats, 2.0); // after the eighth rest
    EXPECT_DOUBLE_EQ(notes[3].lengthBeats, 2.0);
}

TEST(ScoreNotes, TiesJoinIntoOneLongerNoteAcrossBarlines) {
    ParseResult r = ParseScore(OneVoice("lead", "v: r:h c5:h~ | c5:q~ c5:e r:e r:h", 2), "t.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    const auto& notes = r.score.voices[0].notes;
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_DOUBLE_EQ(notes[0].startBeats, 2.0);
    EXPECT_DOUBLE_EQ(notes[0].lengthBeats, 3.5);
}

TEST(ScoreNotes, TiedChordsContinueTogether) {
    ParseResult r = ParseScore(OneVoice("pad", "v: [c4 e4]:h~ [c4 e4]:h"), "t.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    const auto& notes = r.score.voices[0].notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_DOUBLE_EQ(notes[0].lengthBeats, 4.0);
    EXPECT_DOUBLE_EQ(notes[1].lengthBeats, 4.0);
}

TEST(ScoreChords, BracketsAndNamedChordsVoicedFromTheVoiceOctave) {
    ParseResult r =
        ParseScore("tempo 90\nbars 1\nvoice p pad octave 3\np: [c4 e4 g4]:h Am:q G7:q\n", "c.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    const auto& notes = r.score.voices[0].notes;
    ASSERT_EQ(notes.size(), 3u + 3u + 4u);
    EXPECT_EQ(notes[0].pitch, 60);
    EXPECT_EQ(notes[2].pitch, 67);
    EXPECT_DOUBLE_EQ(notes[2].startBeats, 0.0);
    // Am with its root in octave 3: a3 c4 e4.
    EXPECT_EQ(notes[3].pitch, 57);
    EXPECT_EQ(notes[4].pitch, 60);
    EXPECT_EQ(notes[5].pitch, 64);
    EXPECT_DOUBLE_EQ(notes[5].startBeats, 2.0);
    // G7: g3 b3 d4 f4.
    EXPECT_EQ(notes[9].pitch, 65);
    EXPECT_DOUBLE_EQ(notes[9].startBeats, 3.0);
}

TEST(ScoreDrums, StepsAccentsAndStepLength) {
    ParseResult r = ParseScore("tempo 100\nmeter 3/4\nbars 1\nvoice d kit step e\nd: k.sK-h\n", "d.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    const auto& notes = r.score.voices[0].notes;
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].pitch, int(Drum::Kick));
    EXPECT_EQ(notes[1].pitch, int(Drum::Snare));
    EXPECT_DOUBLE_EQ(notes[1].startBeats, 1.0);
    EXPECT_DOUBLE_EQ(notes[2].startBeats, 1.5);
    EXPECT_GT(notes[2].velocity, notes[0].velocity); // upper case is accented
    EXPECT_EQ(notes[3].pitch, int(Drum::ClosedHat));
    EXPECT_DOUBLE_EQ(notes[3].startBeats, 2.5);
}

TEST(ScoreLines, RepeatsCommentsAndDynamics) {
    ParseResult r = ParseScore("# a comment line\ntempo 120\nbars 4\nvoice v lead # trailing comment\n"
                               "v x3: | c#4:q !p d4 !ff e4 r |\nv: r:w\n",
                               "l.kms");
    ASSERT_TRUE(r.Ok()) << AllErrors(r);
    const auto& notes = r.score.voices[0].notes;
    ASSERT_EQ(notes.size(), 9u);
    EXPECT_EQ(notes[0].pitch, 61); // '#' after a letter is a sharp, not a comment
    EXPECT_DOUBLE_EQ(notes[3].startBeats, 4.0);
    EXPECT_LT(notes[1].velocity, notes[2].velocity);
    EXPECT_FLOAT_EQ(notes[3].velocity, notes[2].velocity); // a dynamic lasts until the next one
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
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:1: tempo must be 40..240")) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:3: unknown instrument 'tuba'")) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:4: bad option 'vol 9'")) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:6: voice 'c' is defined twice")) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:7: unknown voice 'd'")) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:8: bad duration 'x'")) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:9: 'meter' must come before the tracks")) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "bad.kms:10: expected a header or '<voice>: <notes>'")) << AllErrors(r);
}

TEST(ScoreErrors, AVoiceReportsOnlyItsFirstBadLine) {
    ParseResult r = ParseScore(OneVoice("lead", "v: c4:q q4 e4:h\nv: c4:w\nv: c4:w", 3), "once.kms");
    ASSERT_EQ(r.errors.size(), 1u) << AllErrors(r);
    EXPECT_TRUE(HasErrorAt(r, "once.kms:5: bad note 'q4'")) << AllErrors(r);
}

TEST(ScoreErrors, TracksBeforeBarsAndEmptyScores) {
    ParseResult early = ParseScore("voice v lead\nv: c4:w\nbars 1\n", "e.kms");
    EXPECT_TRUE(HasErrorAt(early, "e.kms:2: 'bars' must come before the tracks")) << AllErrors(early);
    ParseResult empty = ParseScore("", "empty.kms");
    EXPECT_TRUE(HasErrorAt(empty, "empty.kms:1: missing 'bars'")) << AllErrors(empty);
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
