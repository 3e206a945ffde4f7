// The sound system: effect slots, channels (voices) handed out by handle, global volumes, the
// music stream and the call recorder, over a backend chosen at start-up (OpenAL or silent).
//
// Sections: effect table; state; channels; start-up and loading; effects; music; volumes.
#include "audio/sound.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/helpers.h"
#include "audio/pcm.h"
#include "audio/sound_backend.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kel {

// ---- Effect table -----------------------------------------------------------------------------

constexpr EffectRow kEffectTable[kSfxCount] = {
    {kSfxBoing2, "boing2"},
    {kSfxDiveboing, "diveboing"},
    {kSfxHorse2, "horse2"},
    {kSfxSpeared, "speared"},
    {kSfxImpale, "impale"},
    {kSfxShortbuzz, "shortbuzz"},
    {kSfxSplash, "splash"},
    {kSfxClapping, "clapping"},
    {kSfxGunshot, "gunshot"},
    {kSfxSpring, "spring"},
    {kSfxBow, "bow"},
    {kSfxBarset, "barset"},
    {kSfxAww, "aww"},
    {kSfxSkid, "skid"},
    {kSfxCrash, "crash"},
    {kSfxFootstep3, "footstep3"},
    {kSfxWhistlelong, "whistlelong"},
    {kSfxTap1, "tap1"},
    {kSfxTap2, "tap2"},
    {kSfxUntap1, "untap1"},
    {kSfxHoout1, "hoout1"},
    {kSfxHnnng1, "hnnng1"},
    {kSfxHup2, "hup2"},
    {kSfxContact5, "contact5"},
    {kSfxOof1, "oof1"},
    {kSfxMat1, "mat1"},
    {kSfxHammerspin1, "hammerspin1"},
    {kSfxCycle3, "cycle3"},
    {kSfxRow1, "row1"},
    {kSfxIgnite, "ignite"},
    {kSfxJet1, "jet1"},
    {kSfxHoof, "hoof"},
    {kSfxHarrp, "harrp"},
    {kSfxHurrrr, "hurrrr"},
    {kSfxRuaah, "ruaah"},
    {kSfxMetal3, "metal3"},
    {kSfxWood3, "wood3"},
    {kSfxMedal4, "medal4"},
    {kSfxHammerimpact, "hammerimpact"},
    {kSfxScorelift, "scorelift"},
    {kSfxBeep, "beep"},
    {kSfxFwLaunch, "fw_launch"},
    {kSfxFwExplode, "fw_explode"},
    {kSfxTwinkle, "twinkle"},
    {kSfxBlip, "blip"},
};

namespace {

constexpr bool TableIdsAreRows() {
    for (int i = 0; i < kSfxCount; ++i) {
        if (kEffectTable[i].id != i) return false;
    }
    return true;
}
static_assert(TableIdsAreRows(), "every effect id must be its row");
static_assert(kSfxCount <= kEffectSlotCount);

// ---- State ------------------------------------------------------------------------------------

constexpr int kMaxPlaybacksPerEffect = 4;
constexpr uint32_t kHandleVoiceSpan = 256; // handle = ticket * span + voice
constexpr size_t kStreamChunkFrames = 4096;
constexpr size_t kMaxStreamChannels = 2;
constexpr size_t kMaxNameLength = 255;

struct Voice {
    uint32_t handle = 0; // 0 while never used
    int effect = -1;
    int volume = 0;         // 0..100, the channel's own
    uint64_t startedAt = 0; // play counter when it began; smaller is older
};

struct SoundState {
    std::unique_ptr<SoundBackend> backend;
    uint32_t effectSlots[kEffectSlotCount] = {};
    std::vector<Voice> voices;
    uint32_t nextTicket = 1;
    uint64_t playCounter = 0;
    int effectsVolume = 100;
    int musicVolume = 100;
    std::string musicName;
    // Two decoders: the piece playing and the one a scene will start, opened ahead so that
    // starting it in play reads no file and allocates nothing.
    Mp3Stream streams[2];
    int playing = 0;
    std::string preparedName; // "" when streams[1 - playing] holds nothing
    bool musicLoop = false;
    std::vector<int16_t> streamFrames; // one chunk, reused for every refill
    std::vector<SoundCall>* recorder = nullptr;
};

SoundState& State() {
    static SoundState state;
    return state;
}

SoundBackend& Backend() {
    SoundState& s = State();
    if (!s.backend) s.backend = MakeNullBackend();
    return *s.backend;
}

void Record(SoundCall::Kind kind, const SoundCall& call) {
    SoundState& s = State();
    if (!s.recorder) return;
    s.recorder->push_back(call);
    s.recorder->back().kind = kind;
}

float EffectGain(int channelVolume) {
    return static_cast<float>(State().effectsVolume) / 100.0f * static_cast<float>(channelVolume) / 100.0f;
}

float MusicGain() {
    return static_cast<float>(State().musicVolume) / 100.0f;
}

float PanFactor(int pan) {
    return static_cast<float>(ClampInt(pan, -100, 100)) / 100.0f;
}

// ---- Channels ---------------------------------------------------------------------------------

// The voice a handle still controls, or -1 when the handle is unknown or its playback was replaced.
int VoiceOf(uint32_t handle) {
    SoundState& s = State();
    if (handle == 0) return -1;
    uint32_t voice = handle % kHandleVoiceSpan;
    if (voice >= s.voices.size() || s.voices[voice].handle != handle) return -1;
    return static_cast<int>(voice);
}

uint32_t NewHandle(int voice) {
    SoundState& s = State();
    if (s.nextTicket >= UINT32_MAX / kHandleVoiceSpan) s.nextTicket = 1;
    return s.nextTicket++ * kHandleVoiceSpan + static_cast<uint32_t>(voice);
}

// A fifth playback of one effect takes the voice of its oldest; otherwise a silent voice, and when
// every voice sounds, the oldest of all. Of the silent voices, one that last played this effect
// comes first, then the one silent longest: a voice that plays the effect it already holds is
// started without attaching a buffer, which OpenAL Soft would allocate for.
int PickVoice(int effect) {
    SoundState& s = State();
    SoundBackend& backend = Backend();
    int playing = 0;
    int oldestSame = -1;
    int idle = -1;
    int idleSame = -1;
    int oldestAny = -1;
    for (int i = 0; i < static_cast<int>(s.voices.size()); ++i) {
        const Voice& v = s.voices[static_cast<size_t>(i)];
        bool sounding = v.handle != 0 && backend.VoicePlaying(i);
        if (!sounding) {
            if (v.effect == effect && idleSame < 0) idleSame = i;
            if (idle < 0 || v.startedAt < s.voices[static_cast<size_t>(idle)].startedAt) idle = i;
            continue;
        }
        if (v.effect == effect) {
            ++playing;
            if (oldestSame < 0 || v.startedAt < s.voices[static_cast<size_t>(oldestSame)].startedAt)
                oldestSame = i;
        }
        if (oldestAny < 0 || v.startedAt < s.voices[static_cast<size_t>(oldestAny)].startedAt) oldestAny = i;
    }
    if (playing >= kMaxPlaybacksPerEffect) return oldestSame;
    if (idleSame >= 0) return idleSame;
    return idle >= 0 ? idle : oldestAny;
}

// ---- Music ------------------------------------------------------------------------------------

Mp3Stream& Playing() {
    SoundState& s = State();
    return s.streams[s.playing];
}

Mp3Stream& Prepared() {
    SoundState& s = State();
    return s.streams[1 - s.playing];
}

void EndMusic() {
    SoundState& s = State();
    Backend().StopStream();
    Playing().Close();
    s.musicName.clear();
}

void DropPreparedMusic() {
    Prepared().Close();
    State().preparedName.clear();
}

// Opens "sound/<name>" into `stream`; false (logged) when it cannot be read or decoded.
bool OpenMusicFile(const char* name, Mp3Stream* stream) {
    std::string path = std::string("sound/") + name;
    size_t size = 0;
    void* bytes = ReadWholeFile(path.c_str(), &size);
    if (!bytes) {
        LogDebug("Music %s: cannot read", name);
        return false;
    }
    if (!stream->Open(bytes, size)) {
        LogDebug("Music %s: not an MP3", name);
        return false;
    }
    return true;
}

void FeedMusic() {
    SoundState& s = State();
    Mp3Stream& music = Playing();
    if (!music.IsOpen()) return;
    SoundBackend& backend = Backend();
    size_t chunk = s.streamFrames.size() / kMaxStreamChannels;
    for (int free = backend.FreeStreamBuffers(); free > 0; --free) {
        size_t frames = music.Read(s.streamFrames.data(), chunk, s.musicLoop);
        if (frames == 0) {
            // The piece is over; what is queued plays out.
            music.Close();
            return;
        }
        backend.QueueStream(s.streamFrames.data(), frames);
    }
}

} // namespace

// ---- Start-up and loading -----------------------------------------------------------------------

void StartSoundWith(std::unique_ptr<SoundBackend> backend) {
    ShutDownSound();
    SoundState& s = State();
    s.backend = backend ? std::move(backend) : MakeNullBackend();
    int voices = ClampInt(s.backend->VoiceCount(), 0, static_cast<int>(kHandleVoiceSpan));
    s.voices.assign(static_cast<size_t>(voices), Voice{});
    s.streamFrames.assign(kStreamChunkFrames * kMaxStreamChannels, 0);
    s.musicName.reserve(kMaxNameLength);
    s.preparedName.reserve(kMaxNameLength);
}

bool StartSound() {
    SoundState& s = State();
    if (!s.voices.empty()) return true;
    std::unique_ptr<SoundBackend> backend = OpenOpenAlBackend();
    if (!backend) LogDebug("No sound device, using no sound");
    bool live = backend != nullptr;
    StartSoundWith(std::move(backend));
    return live && !s.voices.empty();
}

void ShutDownSound() {
    SoundState& s = State();
    EndMusic();
    DropPreparedMusic();
    for (uint32_t& slot : s.effectSlots)
        slot = 0;
    s.voices.clear();
    s.backend.reset(); // closes the device
}

void LoadEffects(const EffectRow* table, int count) {
    SoundState& s = State();
    if (!table || count <= 0 || s.voices.empty()) return;
    SoundBackend& backend = Backend();
    for (int i = 0; i < count; ++i) {
        const EffectRow& row = table[i];
        if (row.id < 0 || row.id >= kEffectSlotCount || !row.name || std::strlen(row.name) > kMaxNameLength) {
            LogDebug("Sound effect row %d skipped", i);
            continue;
        }
        std::string path = std::string("sound\\") + row.name + ".wav";
        size_t size = 0;
        auto* bytes = static_cast<uint8_t*>(ReadWholeFile(path.c_str(), &size));
        if (!bytes) {
            LogDebug("Sound effect %s: cannot read", row.name);
            continue;
        }
        PcmSound sound;
        std::string why;
        bool decoded =
            LooksLikeWav(bytes, size) ? ParseWav(bytes, size, &sound, &why) : DecodeMp3(bytes, size, &sound);
        std::free(bytes);
        if (!decoded) {
            LogDebug("Sound effect %s: %s", row.name, why.empty() ? "neither WAV nor MP3" : why.c_str());
            continue;
        }
        s.effectSlots[row.id] = backend.CreateSample(sound);
        if (s.effectSlots[row.id] == 0) LogDebug("Sound effect %s: could not be stored", row.name);
    }
}

// ---- Effects ----------------------------------------------------------------------------------

uint32_t PlayEffect(int effect, int volume, int pan, float pitch, bool loop) {
    SoundCall call;
    call.effect = effect;
    call.volume = volume;
    call.pan = pan;
    call.pitch = pitch;
    call.loop = loop;
    Record(SoundCall::kEffect, call);
    SoundState& s = State();
    if (effect < 0 || effect >= kEffectSlotCount || s.effectSlots[effect] == 0) return 0;
    int voice = PickVoice(effect);
    if (voice < 0) return 0;
    Voice& v = s.voices[static_cast<size_t>(voice)];
    v.handle = NewHandle(voice);
    v.effect = effect;
    v.volume = ClampInt(volume, 0, 100);
    v.startedAt = ++s.playCounter;
    Backend().StartVoice(voice, s.effectSlots[effect], EffectGain(v.volume), PanFactor(pan), pitch, loop);
    if (s.recorder) s.recorder->back().channel = v.handle;
    return v.handle;
}

void StopChannel(uint32_t channel) {
    SoundCall call;
    call.channel = channel;
    Record(SoundCall::kStopChannel, call);
    int voice = VoiceOf(channel);
    if (voice >= 0) Backend().StopVoice(voice);
}

void SetChannelVolume(uint32_t channel, float volume) {
    int truncated = volume == volume ? static_cast<int>(Clamp(volume, -1.0f, 101.0f)) : 0;
    SoundCall call;
    call.channel = channel;
    call.volume = truncated;
    Record(SoundCall::kChannelVolume, call);
    int voice = VoiceOf(channel);
    if (voice < 0) return;
    Voice& v = State().voices[static_cast<size_t>(voice)];
    v.volume = ClampInt(truncated, 0, 100);
    Backend().SetVoiceGain(voice, EffectGain(v.volume));
}

void SetChannelPitch(uint32_t channel, float factor) {
    SoundCall call;
    call.channel = channel;
    call.pitch = factor;
    Record(SoundCall::kChannelPitch, call);
    int voice = VoiceOf(channel);
    if (voice >= 0) Backend().SetVoicePitch(voice, factor);
}

void SetChannelPan(uint32_t channel, int pan) {
    SoundCall call;
    call.channel = channel;
    call.pan = pan;
    Record(SoundCall::kChannelPan, call);
    int voice = VoiceOf(channel);
    if (voice >= 0) Backend().SetVoicePan(voice, PanFactor(pan));
}

// ---- Music ------------------------------------------------------------------------------------

void PlayMusic(const char* name, bool loop) {
    SoundCall call;
    call.music = name ? name : "";
    call.loop = loop;
    Record(SoundCall::kMusic, call);
    SoundState& s = State();
    if (s.musicVolume == 0) return;
    EndMusic();
    if (!name || !*name || std::strlen(name) > kMaxNameLength) return;
    s.musicName = name;
    if (s.voices.empty()) return;
    if (s.preparedName == name && Prepared().IsOpen()) {
        s.playing = 1 - s.playing;
        s.preparedName.clear();
    } else if (!OpenMusicFile(name, &Playing())) {
        return;
    }
    Mp3Stream& music = Playing();
    if (!Backend().StartStream(music.Channels(), music.Rate(), MusicGain())) {
        music.Close();
        return;
    }
    s.musicLoop = loop;
    FeedMusic();
}

void PrepareMusic(const char* name) {
    SoundState& s = State();
    if (!name || !*name || std::strlen(name) > kMaxNameLength || s.voices.empty()) return;
    if (s.preparedName == name && Prepared().IsOpen()) {
        Prepared().Rewind();
        return;
    }
    DropPreparedMusic();
    if (OpenMusicFile(name, &Prepared())) s.preparedName = name;
}

void StopMusic() {
    Record(SoundCall::kStopMusic, SoundCall{});
    EndMusic();
}

const char* CurrentMusic() {
    return State().musicName.c_str();
}

void UpdateSound() {
    FeedMusic();
}

// ---- Volumes ----------------------------------------------------------------------------------

void SetEffectsVolume(int volume) {
    SoundState& s = State();
    s.effectsVolume = ClampInt(volume, 0, 100);
    SoundBackend& backend = Backend();
    for (size_t i = 0; i < s.voices.size(); ++i) {
        if (s.voices[i].handle != 0)
            backend.SetVoiceGain(static_cast<int>(i), EffectGain(s.voices[i].volume));
    }
}

void SetMusicVolume(int volume) {
    State().musicVolume = ClampInt(volume, 0, 100);
    Backend().SetStreamGain(MusicGain());
}

int EffectsVolume() {
    return State().effectsVolume;
}
int MusicVolume() {
    return State().musicVolume;
}

void SetSoundRecorder(std::vector<SoundCall>* recorder) {
    State().recorder = recorder;
}

} // namespace kel
