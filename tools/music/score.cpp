// Score parser. Sections: small text helpers; durations, pitches and chords; the token reader of one
// track line; header lines; the whole file.
#include "score.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace kel::music {

namespace {

constexpr double kEpsilonBeats = 1e-6;
constexpr float kDefaultVelocity = 0.75f;

// ---- small text helpers ----------------------------------------------------------------------

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A '#' at the start of a line or after a space opens a comment; one right after a note letter is a
// sharp.
std::string_view StripComment(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
    }
    return line;
}

std::vector<std::string_view> SplitWords(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t')
            ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// Splits a track line into tokens; "[...]" with what follows it up to a space is one token and
// '|' is always a token of its own.
std::vector<std::string_view> SplitTokens(std::string_view s) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (c == '|') {
            tokens.push_back(s.substr(i, 1));
            ++i;
            continue;
        }
        size_t start = i;
        if (c == '[') {
            while (i < s.size() && s[i] != ']')
                ++i;
            if (i < s.size()) ++i;
        }
        while (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '|')
            ++i;
        tokens.push_back(s.substr(start, i - start));
    }
    return tokens;
}

bool ParseNumber(std::string_view s, double& out) {
    std::string text(s);
    if (text.empty()) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}

bool ParseInt(std::string_view s, int& out) {
    double v = 0.0;
    if (!ParseNumber(s, v) || v != std::floor(v) || std::fabs(v) > 1e6) return false;
    out = int(v);
    return true;
}

// ---- chords ----------------------------------------------------------------------------------

struct ChordQuality {
    std::string_view suffix;
    std::vector<int> intervals; // semitones above the root
};

const std::vector<ChordQuality>& ChordQualities() {
    static const std::vector<ChordQuality> qualities = {
        {"", {0, 4, 7}},         {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}}, {"dim", {0, 3, 6}},  {"aug", {0, 4, 8}},   {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},     {"6", {0, 4, 7, 9}}, {"m6", {0, 3, 7, 9}}, {"9", {0, 4, 10, 14}},
        {"add9", {0, 4, 7, 14}},
    };
    return qualities;
}

int LetterSemitone(char letter) {
    switch (letter) {
    case 'c':
        return 0;
    case 'd':
        return 2;
    case 'e':
        return 4;
    case 'f':
        return 5;
    case 'g':
        return 7;
    case 'a':
        return 9;
    case 'b':
        return 11;
    default:
        return -1;
    }
}

// "Am", "F#maj7": the pitches of the chord with its root in `octave`.
bool ParseChordName(std::string_view text, int octave, std::vector<int>& pitches) {
    if (text.empty() || text[0] < 'A' || text[0] > 'G') return false;
    int semitone = LetterSemitone(char(text[0] - 'A' + 'a'));
    size_t i = 1;
    if (i < text.size() && (text[i] == '#' || text[i] == 'b')) {
        semitone += text[i] == '#' ? 1 : -1;
        ++i;
    }
    std::string_view suffix = text.substr(i);
    for (const ChordQuality& q : ChordQualities()) {
        if (q.suffix == suffix) {
            int root = (octave + 1) * 12 + semitone;
            pitches.clear();
            for (int interval : q.intervals)
                pitches.push_back(root + interval);
            return root >= 0 && pitches.back() <= 127;
        }
    }
    return false;
}

float DynamicVelocity(std::string_view mark, bool& ok) {
    ok = true;
    if (mark == "pp") return 0.3f;
    if (mark == "p") return 0.45f;
    if (mark == "mp") return 0.6f;
    if (mark == "mf") return 0.75f;
    if (mark == "f") return 0.9f;
    if (mark == "ff") return 1.0f;
    ok = false;
    return kDefaultVelocity;
}

bool DrumFromChar(char c, Drum& drum) {
    switch (c) {
    case 'k':
        drum = Drum::Kick;
        return true;
    case 's':
        drum = Drum::Snare;
        return true;
    case 'h':
        drum = Drum::ClosedHat;
        return true;
    case 'o':
        drum = Drum::OpenHat;
        return true;
    case 'c':
        drum = Drum::Crash;
        return true;
    case 'r':
        drum = Drum::Ride;
        return true;
    case 't':
        drum = Drum::LowTom;
        return true;
    case 'm':
        drum = Drum::HighTom;
        return true;
    case 'p':
        drum = Drum::Clap;
        return true;
    case 'w':
        drum = Drum::WoodBlock;
        return true;
    default:
        return false;
    }
}

// ---- the token reader ------------------------------------------------------------------------

// Per-voice reading state that lives across track lines.
struct VoiceCursor {
    double lastDuration = 1.0;
    float velocity = kDefaultVelocity;
    std::vector<size_t> tiedNotes; // indices into the voice's notes that the next note continues
    int tieLine = 0;
    bool failed = false; // after one error the voice's later lines would only echo it
};

class Parser {
  public:
    Parser(std::string_view file, ParseResult& result) : fileName(file), out(result) {}

    void ParseText(std::string_view text);

  private:
    void Error(int line, const std::string& message) {
        char prefix[64];
        std::snprintf(prefix, sizeof prefix, ":%d: ", line);
        out.errors.push_back(std::string(fileName) + prefix + message);
    }

    void HeaderLine(int line, const std::vector<std::string_view>& words);
    void VoiceLine(int line, const std::vector<std::string_view>& words);
    void TrackLine(int line, std::string_view head, std::string_view body);
    bool Token(int line, Voice& voice, VoiceCursor& cursor, std::string_view token);
    bool DrumToken(int line, Voice& voice, VoiceCursor& cursor, std::string_view token);
    bool Notes(int line, Voice& voice, VoiceCursor& cursor, const std::vector<int>& pitches, bool rest,
               std::string_view durationText, bool tie);

    std::string_view fileName;
    ParseResult& out;
    std::vector<VoiceCursor> cursors;
    bool tracksStarted = false;
};

bool Parser::Notes(int line, Voice& voice, VoiceCursor& cursor, const std::vector<int>& pitches, bool rest,
                   std::string_view durationText, bool tie) {
    double length = cursor.lastDuration;
    if (!durationText.empty()) {
        if (!ParseDuration(durationText, length)) {
            Error(line, "bad duration '" + std::string(durationText) + "'");
            return false;
        }
        cursor.lastDuration = length;
    }
    if (!cursor.tiedNotes.empty()) {
        if (rest) {
            Error(line, "a tie leads into a rest");
            return false;
        }
        std::vector<int> tiedPitches;
        for (size_t index : cursor.tiedNotes)
            tiedPitches.push_back(voice.notes[index].pitch);
        if (tiedPitches != pitches) {
            Error(line, "a tie must continue the same pitches");
            return false;
        }
        for (size_t index : cursor.tiedNotes)
            voice.notes[index].lengthBeats += length;
        if (!tie) cursor.tiedNotes.clear();
    } else if (!rest) {
        for (int pitch : pitches) {
            if (tie) cursor.tiedNotes.push_back(voice.notes.size());
            voice.notes.push_back(NoteEvent{voice.lengthBeats, length, pitch, cursor.velocity});
        }
        cursor.tieLine = line;
    } else if (tie) {
        Error(line, "a rest cannot be tied");
        return false;
    }
    voice.lengthBeats += length;
    return true;
}

bool Parser::DrumToken(int line, Voice& voice, VoiceCursor& cursor, std::string_view token) {
    for (char c : token) {
        if (c != '.' && c != '-') {
            bool accent = c >= 'A' && c <= 'Z';
            Drum drum = Drum::Kick;
            if (!DrumFromChar(accent ? char(c - 'A' + 'a') : c, drum)) {
                Error(line, std::string("unknown drum '") + c + "'");
                return false;
            }
            float velocity = accent ? cursor.velocity : cursor.velocity * 0.7f;
            voice.notes.push_back(NoteEvent{voice.lengthBeats, voice.stepBeats, int(drum), velocity});
        }
        voice.lengthBeats += voice.stepBeats;
    }
    return true;
}

bool Parser::Token(int line, Voice& voice, VoiceCursor& cursor, std::string_view token) {
    if (token == "|") {
        double bars = voice.lengthBeats / out.score.BarBeats();
        if (std::fabs(bars - std::round(bars)) > kEpsilonBeats) {
            char text[96];
            std::snprintf(text, sizeof text, "barline %.3g beats into bar %d",
                          voice.lengthBeats - std::floor(bars) * out.score.BarBeats(), int(bars) + 1);
            Error(line, text);
            return false;
        }
        return true;
    }
    if (token[0] == '!') {
        bool ok = false;
        float v = DynamicVelocity(token.substr(1), ok);
        if (!ok) {
            Error(line, "unknown dynamic '" + std::string(token) + "'");
            return false;
        }
        cursor.velocity = v;
        return true;
    }
    if (voice.instrument == Instrument::Kit) return DrumToken(line, voice, cursor, token);

    bool tie = token.back() == '~';
    if (tie) token.remove_suffix(1);
    std::string_view head = token;
    std::string_view durationText;
    size_t colon = token.rfind(':');
    if (colon != std::string_view::npos && (token[0] != '[' || colon > token.find(']'))) {
        head = token.substr(0, colon);
        durationText = token.substr(colon + 1);
        if (durationText.empty()) {
            Error(line, "missing duration after ':' in '" + std::string(token) + "'");
            return false;
        }
    }
    std::vector<int> pitches;
    bool rest = false;
    if (head == "r") {
        rest = true;
    } else if (head.size() >= 2 && head.front() == '[' && head.back() == ']') {
        for (std::string_view word : SplitWords(head.substr(1, head.size() - 2))) {
            int midi = 0;
            if (!ParsePitch(word, midi)) {
                Error(line, "bad pitch '" + std::string(word) + "' in chord");
                return false;
            }
            pitches.push_back(midi);
        }
        if (pitches.empty()) {
            Error(line, "empty chord");
            return false;
        }
    } else if (!head.empty() && head[0] >= 'A' && head[0] <= 'G') {
        if (!ParseChordName(head, voice.octave, pitches)) {
            Error(line, "unknown chord '" + std::string(head) + "'");
            return false;
        }
    } else {
        int midi = 0;
        if (!ParsePitch(head, midi)) {
            Error(line, "bad note '" + std::string(token) + "'");
            return false;
        }
        pitches.push_back(midi);
    }
    return Notes(line, voice, cursor, pitches, rest, durationText, tie);
}

void Parser::TrackLine(int line, std::string_view head, std::string_view body) {
    tracksStarted = true;
    std::vector<std::string_view> words = SplitWords(head);
    int repeats = 1;
    if (words.size() == 2 && words[1].size() >= 2 && words[1][0] == 'x' &&
        ParseInt(words[1].substr(1), repeats) && repeats >= 1 && repeats <= 256) {
    } else if (words.size() != 1) {
        Error(line, "expected '<voice>:' or '<voice> x<count>:'");
        return;
    }
    size_t index = 0;
    while (index < out.score.voices.size() && out.score.voices[index].name != words[0])
        ++index;
    if (index == out.score.voices.size()) {
        Error(line, "unknown voice '" + std::string(words[0]) + "'");
        return;
    }
    Voice& voice = out.score.voices[index];
    VoiceCursor& cursor = cursors[index];
    if (cursor.failed) return;
    std::vector<std::string_view> tokens = SplitTokens(body);
    for (int pass = 0; pass < repeats; ++pass) {
        for (std::string_view token : tokens) {
            if (!Token(line, voice, cursor, token)) {
                cursor.failed = true;
                return;
            }
        }
    }
}

// ---- header lines ----------------------------------------------------------------------------

void Parser::VoiceLine(int line, const std::vector<std::string_view>& words) {
    if (words.size() < 3 || words.size() % 2 == 0) {
        Error(line, "expected 'voice <name> <instrument> [option value]...'");
        return;
    }
    Voice voice;
    voice.name = std::string(words[1]);
    voice.definedLine = line;
    for (const Voice& other : out.score.voices) {
        if (other.name == voice.name) {
            Error(line, "voice '" + voice.name + "' is defined twice");
            return;
        }
    }
    if (!InstrumentFromName(words[2], voice.instrument)) {
        Error(line, "unknown instrument '" + std::string(words[2]) + "'");
        return;
    }
    for (size_t i = 3; i + 1 < words.size(); i += 2) {
        std::string_view key = words[i];
        std::string_view valueText = words[i + 1];
        double value = 0.0;
        if (key == "step") {
            if (!ParseDuration(valueText, voice.stepBeats)) {
                Error(line, "bad step '" + std::string(valueText) + "'");
                return;
            }
            continue;
        }
        if (!ParseNumber(valueText, value)) {
            Error(line, "bad number '" + std::string(valueText) + "'");
            return;
        }
        if (key == "vol" && value >= 0.0 && value <= 2.0) {
            voice.volume = float(value);
        } else if (key == "pan" && value >= -1.0 && value <= 1.0) {
            voice.pan = float(value);
        } else if (key == "octave" && value >= 1.0 && value <= 7.0 && value == std::floor(value)) {
            voice.octave = int(value);
        } else {
            Error(line, "bad option '" + std::string(key) + " " + std::string(valueText) + "'");
            return;
        }
    }
    out.score.voices.push_back(voice);
    cursors.emplace_back();
}

void Parser::HeaderLine(int line, const std::vector<std::string_view>& words) {
    std::string_view key = words[0];
    if (key == "voice") {
        VoiceLine(line, words);
        return;
    }
    if (key == "title") {
        out.score.title.clear();
        for (size_t i = 1; i < words.size(); ++i) {
            if (i > 1) out.score.title += ' ';
            out.score.title += words[i];
        }
        return;
    }
    if (words.size() != 2) {
        Error(line, "expected '" + std::string(key) + " <value>'");
        return;
    }
    if ((key == "meter" || key == "bars") && tracksStarted) {
        Error(line, "'" + std::string(key) + "' must come before the tracks");
        return;
    }
    double value = 0.0;
    if (key == "meter") {
        size_t slash = words[1].find('/');
        int beats = 0, unit = 0;
        if (slash == std::string_view::npos || !ParseInt(words[1].substr(0, slash), beats) ||
            !ParseInt(words[1].substr(slash + 1), unit) || beats < 1 || beats > 16 ||
            (unit != 2 && unit != 4 && unit != 8 && unit != 16)) {
            Error(line, "bad meter '" + std::string(words[1]) + "'");
            return;
        }
        out.score.meterBeats = beats;
        out.score.meterUnit = unit;
    } else if (key == "tempo") {
        if (!ParseNumber(words[1], value) || value < 40.0 || value > 240.0) {
            Error(line, "tempo must be 40..240");
            return;
        }
        out.score.tempo = value;
    } else if (key == "bars") {
        int bars = 0;
        if (!ParseInt(words[1], bars) || bars < 1 || bars > 256) {
            Error(line, "bars must be 1..256");
            return;
        }
        out.score.bars = bars;
    } else if (key == "reverb") {
        if (!ParseNumber(words[1], value) || value < 0.0 || value > 1.0) {
            Error(line, "reverb must be 0..1");
            return;
        }
        out.score.reverb = float(value);
    } else {
        Error(line, "unknown header '" + std::string(key) + "'");
    }
}

void Parser::ParseText(std::string_view text) {
    int line = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        ++line;
        std::string_view content = Trim(StripComment(raw));
        if (content.empty()) continue;
        size_t colon = content.find(':');
        std::vector<std::string_view> words = SplitWords(content);
        bool header = words[0] == "voice" || words[0] == "title" || words[0] == "tempo" ||
                      words[0] == "meter" || words[0] == "bars" || words[0] == "reverb";
        if (header) {
            HeaderLine(line, words);
        } else if (colon != std::string_view::npos) {
            if (out.score.bars == 0) {
                Error(line, "'bars' must come before the tracks");
                continue;
            }
            TrackLine(line, content.substr(0, colon), content.substr(colon + 1));
        } else {
            Error(line, "expected a header or '<voice>: <notes>'");
        }
    }
    if (out.score.bars == 0 && out.errors.empty()) Error(line, "missing 'bars'");
    if (out.score.voices.empty() && out.errors.empty()) Error(line, "no voices");
    for (size_t i = 0; i < out.score.voices.size(); ++i) {
        const Voice& voice = out.score.voices[i];
        if (cursors[i].failed) continue;
        if (!cursors[i].tiedNotes.empty())
            Error(cursors[i].tieLine, "voice '" + voice.name + "' ends in a tie");
        if (out.score.bars > 0 && std::fabs(voice.lengthBeats - out.score.LoopBeats()) > kEpsilonBeats) {
            char text[160];
            std::snprintf(text, sizeof text, "voice '%s' lasts %.4g bars; the loop has %d",
                          voice.name.c_str(), voice.lengthBeats / out.score.BarBeats(), out.score.bars);
            Error(voice.definedLine, text);
        }
    }
}

} // namespace

// ---- public entry points ---------------------------------------------------------------------

bool InstrumentFromName(std::string_view name, Instrument& out) {
    static constexpr std::pair<std::string_view, Instrument> kNames[] = {
        {"lead", Instrument::Lead},   {"brass", Instrument::Brass},         {"strings", Instrument::Strings},
        {"pad", Instrument::Pad},     {"bell", Instrument::Bell},           {"pluck", Instrument::Pluck},
        {"piano", Instrument::Piano}, {"flute", Instrument::Flute},         {"organ", Instrument::Organ},
        {"bass", Instrument::Bass},   {"synthbass", Instrument::SynthBass}, {"timpani", Instrument::Timpani},
        {"kit", Instrument::Kit},
    };
    for (const auto& [text, instrument] : kNames) {
        if (text == name) {
            out = instrument;
            return true;
        }
    }
    return false;
}

bool ParseDuration(std::string_view text, double& beats) {
    double total = 0.0;
    while (true) {
        size_t plus = text.find('+');
        std::string_view part = text.substr(0, plus);
        if (part.empty()) return false;
        double base = 0.0;
        switch (part[0]) {
        case 'w':
            base = 4.0;
            break;
        case 'h':
            base = 2.0;
            break;
        case 'q':
            base = 1.0;
            break;
        case 'e':
            base = 0.5;
            break;
        case 's':
            base = 0.25;
            break;
        default:
            return false;
        }
        double value = base;
        double add = base;
        size_t i = 1;
        while (i < part.size() && part[i] == '.') {
            add *= 0.5;
            value += add;
            ++i;
        }
        if (i < part.size() && part[i] == '3') {
            value = value * 2.0 / 3.0;
            ++i;
        }
        if (i != part.size()) return false;
        total += value;
        if (plus == std::string_view::npos) break;
        text.remove_prefix(plus + 1);
    }
    beats = total;
    return true;
}

bool ParsePitch(std::string_view text, int& midi) {
    if (text.size() < 2) return false;
    int semitone = LetterSemitone(text[0]);
    if (semitone < 0) return false;
    size_t i = 1;
    if (text[i] == '#' || text[i] == 'b') {
        semitone += text[i] == '#' ? 1 : -1;
        ++i;
    }
    if (i + 1 != text.size() || text[i] < '0' || text[i] > '9') return false;
    int octave = text[i] - '0';
    int value = (octave + 1) * 12 + semitone;
    if (value < 0 || value > 127) return false;
    midi = value;
    return true;
}

double PitchHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

ParseResult ParseScore(std::string_view text, std::string_view fileName) {
    ParseResult result;
    Parser parser(fileName, result);
    parser.ParseText(text);
    return result;
}

ParseResult LoadScore(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ParseResult result;
        result.errors.push_back(path + ":0: cannot open the file");
        return result;
    }
    std::stringstream buffer;
    buffer << file.rdbuf();
    return ParseScore(buffer.str(), path);
}

} // namespace kel::music
