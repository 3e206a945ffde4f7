// Music scores: a small text format for looping pieces, and its parser.
//
// A score is read line by line; '#' at the start of a line or after a space starts a comment.
// Header lines:
//   title <text>               shown in logs only
//   tempo <bpm>                quarter notes per minute, 40..240
//   meter <n>/<d>              e.g. 4/4, 3/4, 6/8; a bar lasts n * 4 / d quarter notes
//   bars <n>                   loop length; every voice must fill exactly this many bars
//   reverb <0..1>              amount of room sent from every voice (default 0.25)
//   voice <name> <instrument> [vol <0..2>] [pan <-1..1>] [octave <1..7>] [step <dur>]
// Track lines append to a voice, optionally repeated:
//   <name>: <tokens>
//   <name> x<n>: <tokens>
// Tokens of a pitched voice:
//   c4 f#3 bb2      a note (letter, optional # or b, octave; a4 = 440 Hz)
//   c4:q            with a duration: w h q e s (whole .. sixteenth), dots (q. q..), triplet 3 (e3),
//                   joined by + for a sum (h+e); without one, the voice's previous duration is used
//   c4:h~ c4:q      '~' ties the note into the next one, which must have the same pitch
//   r:q             a rest
//   [c4 e4 g4]:h    notes sounding together
//   Am:h  G7  Fmaj7 a chord by name (upper-case root), voiced upwards from the voice's octave;
//                   qualities: (none) m 7 m7 maj7 dim aug sus2 sus4 6 m6 9 add9
//   !pp !p !mp !mf !f !ff   loudness of the following notes
//   |               a barline: must fall on a bar boundary
// Tokens of a drum voice (instrument "kit"): strings of steps, each one `step` long (default s):
//   k kick  s snare  h closed hat  o open hat  c crash  r ride  t low tom  m high tom  p clap  w wood block
//   '.' or '-' nothing; an upper-case letter is accented.
// Errors are collected as "file:line: message" (after a voice's first error its later lines are
// skipped); a score with errors is not rendered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kel::music {

enum class Instrument {
    Lead,
    Brass,
    Strings,
    Pad,
    Bell,
    Pluck,
    Piano,
    Flute,
    Organ,
    Bass,
    SynthBass,
    Timpani,
    Kit,
};

// The instrument for its score name; false when unknown.
bool InstrumentFromName(std::string_view name, Instrument& out);

enum class Drum { Kick, Snare, ClosedHat, OpenHat, Crash, Ride, LowTom, HighTom, Clap, WoodBlock };

struct NoteEvent {
    double startBeats = 0.0;  // quarter notes from the start of the loop
    double lengthBeats = 0.0; // quarter notes, ties already joined
    int pitch = 0;            // MIDI note number (60 = c4), or the Drum value in a drum voice
    float velocity = 0.0f;    // 0..1
};

struct Voice {
    std::string name;
    Instrument instrument = Instrument::Lead;
    float volume = 1.0f;     // linear gain
    float pan = 0.0f;        // -1 left .. 1 right
    int octave = 4;          // octave of chord roots
    double stepBeats = 0.25; // length of one drum step, quarter notes
    std::vector<NoteEvent> notes;
    double lengthBeats = 0.0; // where the next token goes
    int definedLine = 0;
};

struct Score {
    std::string title;
    double tempo = 120.0; // quarter notes per minute
    int meterBeats = 4;
    int meterUnit = 4;
    int bars = 0;
    float reverb = 0.25f;
    std::vector<Voice> voices;

    double BarBeats() const { return meterBeats * 4.0 / meterUnit; }
    double LoopBeats() const { return BarBeats() * bars; }
    double LoopSeconds() const { return LoopBeats() * 60.0 / tempo; }
};

struct ParseResult {
    Score score;
    std::vector<std::string> errors; // "file:line: message"
    bool Ok() const { return errors.empty(); }
};

// Parses score text; `fileName` only labels the errors.
ParseResult ParseScore(std::string_view text, std::string_view fileName);

// Reads and parses a score file; a missing file is an error in the result.
ParseResult LoadScore(const std::string& path);

// Parses a duration such as "q", "e.", "e3", "h+e" into quarter notes; false when malformed.
bool ParseDuration(std::string_view text, double& beats);

// Parses "c4", "f#3", "bb2" into a MIDI note number; false when malformed or outside 0..127.
bool ParsePitch(std::string_view text, int& midi);

// MIDI note number to frequency in Hz, equal temperament, a4 (69) = 440 Hz.
double PitchHz(double midi);

} // namespace kel::music
