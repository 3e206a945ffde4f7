// The OpenAL Soft backend: one source per voice, one buffer per sample, and one streaming source
// fed through a fixed ring of buffers. Mono sources are panned by position relative to the
// listener; OpenAL leaves stereo sources unpanned.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/efx.h>

#include <cmath>
#include <vector>

#include "audio/pcm.h"
#include "audio/sound_backend.h"
#include "platform/log.h"

namespace kel {

namespace {

constexpr int kVoiceCount = 32;
constexpr int kStreamBufferCount = 4;
constexpr float kMinPitch = 0.05f; // OpenAL rejects 0 and below
constexpr float kMaxPitch = 8.0f;

ALenum FormatFor(int channels) {
    return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
}

float SafePitch(float pitch) {
    if (!(pitch >= kMinPitch)) return kMinPitch; // also catches NaN
    return pitch > kMaxPitch ? kMaxPitch : pitch;
}

float SafeGain(float gain) {
    if (!(gain >= 0.0f)) return 0.0f;
    return gain > 1.0f ? 1.0f : gain;
}

class OpenAlBackend : public SoundBackend {
  public:
    ~OpenAlBackend() override;
    bool Open();

    int VoiceCount() const override { return static_cast<int>(voices.size()); }
    uint32_t CreateSample(const PcmSound& sound) override;
    void StartVoice(int voice, uint32_t sample, float gain, float pan, float pitch, bool loop) override;
    void StopVoice(int voice) override;
    bool VoicePlaying(int voice) override;
    void SetVoiceGain(int voice, float gain) override;
    void SetVoicePitch(int voice, float pitch) override;
    void SetVoicePan(int voice, float pan) override;

    bool StartStream(int channels, int rate, float gain) override;
    int FreeStreamBuffers() override;
    void QueueStream(const int16_t* frames, size_t frameCount) override;
    void StopStream() override;
    void SetStreamGain(float gain) override;

  private:
    struct Sample {
        ALuint buffer = 0;
        int channels = 0;
    };
    struct Voice {
        ALuint source = 0;
        int channels = 0;  // of the sample it plays
        ALuint buffer = 0; // attached to the source
    };

    void WarmVoices();
    bool ValidVoice(int voice) const { return voice >= 0 && voice < static_cast<int>(voices.size()); }
    void PlacePan(const Voice& voice, float pan);

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::vector<Sample> samples;
    std::vector<Voice> voices;
    ALuint streamSource = 0;
    ALuint streamBuffers[kStreamBufferCount] = {};
    ALuint freeBuffers[kStreamBufferCount] = {};
    int freeCount = 0;
    int streamChannels = 0;
    int streamRate = 0;
};

// OpenAL Soft takes the property record of a starting source from a pool that grows on demand.
// Starting every voice at once, silently, grows it here rather than in play.
void OpenAlBackend::WarmVoices() {
    ALuint silent = 0;
    alGenBuffers(1, &silent);
    if (alGetError() != AL_NO_ERROR) return;
    const int16_t zero[2] = {0, 0};
    alBufferData(silent, AL_FORMAT_MONO16, zero, sizeof zero, 22050);
    std::vector<ALuint> sources;
    for (const Voice& v : voices) {
        alSourcei(v.source, AL_BUFFER, static_cast<ALint>(silent));
        alSourcef(v.source, AL_GAIN, 0.0f);
        sources.push_back(v.source);
    }
    alSourcePlayv(static_cast<ALsizei>(sources.size()), sources.data());
    alSourceStopv(static_cast<ALsizei>(sources.size()), sources.data());
    for (const Voice& v : voices)
        alSourcei(v.source, AL_BUFFER, 0);
    alDeleteBuffers(1, &silent);
    alGetError();
}

bool OpenAlBackend::Open() {
    device = alcOpenDevice(nullptr);
    if (!device) return false;
    // No effect sends: the game uses no reverb or other effects, and every one of the 256 voices
    // OpenAL Soft prepares would carry the sends' filters and gains (about 1 MiB).
    const ALCint attributes[] = {ALC_MAX_AUXILIARY_SENDS, 0, 0};
    context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        LogDebug("OpenAL context failed, using no sound");
        return false;
    }
    alGetError();
    for (int i = 0; i < kVoiceCount; ++i) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) break;
        voices.push_back(Voice{source, 0, 0});
    }
    WarmVoices();
    alGenSources(1, &streamSource);
    if (alGetError() != AL_NO_ERROR) streamSource = 0;
    alGenBuffers(kStreamBufferCount, streamBuffers);
    if (alGetError() != AL_NO_ERROR) {
        for (ALuint& buffer : streamBuffers)
            buffer = 0;
    }
    if (streamSource) {
        alSourcei(streamSource, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(streamSource, AL_POSITION, 0.0f, 0.0f, 0.0f);
    }
    ALCint rate = 0;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &rate);
    const ALCchar* name = alcGetString(device, ALC_DEVICE_SPECIFIER);
    LogDebug("Sound Device: %s", name ? name : "?");
    LogDebug("Sample rate: %d", static_cast<int>(rate));
    return true;
}

OpenAlBackend::~OpenAlBackend() {
    if (context) {
        for (const Voice& voice : voices) {
            alSourceStop(voice.source);
            alDeleteSources(1, &voice.source);
        }
        if (streamSource) {
            alSourceStop(streamSource);
            alSourcei(streamSource, AL_BUFFER, 0);
            alDeleteSources(1, &streamSource);
        }
        if (streamBuffers[0]) alDeleteBuffers(kStreamBufferCount, streamBuffers);
        for (const Sample& sample : samples)
            alDeleteBuffers(1, &sample.buffer);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    // The wave writer finishes its file only here.
    if (device) alcCloseDevice(device);
}

uint32_t OpenAlBackend::CreateSample(const PcmSound& sound) {
    size_t bytes = sound.samples.size() * sizeof(int16_t);
    if (sound.Frames() == 0 || (sound.channels != 1 && sound.channels != 2) ||
        bytes > static_cast<size_t>(0x7FFFFFFF)) {
        return 0;
    }
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return 0;
    alBufferData(buffer, FormatFor(sound.channels), sound.samples.data(), static_cast<ALsizei>(bytes),
                 sound.rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    samples.push_back(Sample{buffer, sound.channels});
    return static_cast<uint32_t>(samples.size());
}

void OpenAlBackend::PlacePan(const Voice& voice, float pan) {
    float p = 0.0f;
    if (voice.channels == 1 && pan == pan) p = pan < -1.0f ? -1.0f : (pan > 1.0f ? 1.0f : pan);
    // On the unit circle in front of the listener, so distance attenuation stays the same.
    alSource3f(voice.source, AL_POSITION, p, 0.0f, -std::sqrt(1.0f - p * p));
}

void OpenAlBackend::StartVoice(int voice, uint32_t sample, float gain, float pan, float pitch, bool loop) {
    if (!ValidVoice(voice) || sample == 0 || sample > samples.size()) return;
    Voice& v = voices[static_cast<size_t>(voice)];
    const Sample& s = samples[sample - 1];
    alSourceStop(v.source);
    // Attaching a buffer allocates inside OpenAL Soft; a stopped source replays the one it holds
    // from its start.
    if (v.buffer != s.buffer) {
        alSourcei(v.source, AL_BUFFER, static_cast<ALint>(s.buffer));
        v.buffer = s.buffer;
    }
    v.channels = s.channels;
    alSourcei(v.source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcei(v.source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcef(v.source, AL_GAIN, SafeGain(gain));
    alSourcef(v.source, AL_PITCH, SafePitch(pitch));
    PlacePan(v, pan);
    alSourcePlay(v.source);
}

void OpenAlBackend::StopVoice(int voice) {
    if (ValidVoice(voice)) alSourceStop(voices[static_cast<size_t>(voice)].source);
}

bool OpenAlBackend::VoicePlaying(int voice) {
    if (!ValidVoice(voice)) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(voices[static_cast<size_t>(voice)].source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void OpenAlBackend::SetVoiceGain(int voice, float gain) {
    if (ValidVoice(voice)) alSourcef(voices[static_cast<size_t>(voice)].source, AL_GAIN, SafeGain(gain));
}

void OpenAlBackend::SetVoicePitch(int voice, float pitch) {
    if (ValidVoice(voice)) alSourcef(voices[static_cast<size_t>(voice)].source, AL_PITCH, SafePitch(pitch));
}

void OpenAlBackend::SetVoicePan(int voice, float pan) {
    if (ValidVoice(voice)) PlacePan(voices[static_cast<size_t>(voice)], pan);
}

bool OpenAlBackend::StartStream(int channels, int rate, float gain) {
    StopStream();
    if (!streamSource || !streamBuffers[0] || (channels != 1 && channels != 2) || rate <= 0) return false;
    streamChannels = channels;
    streamRate = rate;
    alSourcef(streamSource, AL_GAIN, SafeGain(gain));
    return true;
}

int OpenAlBackend::FreeStreamBuffers() {
    if (!streamSource || streamChannels == 0) return 0;
    ALint processed = 0;
    alGetSourcei(streamSource, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0 && freeCount < kStreamBufferCount) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(streamSource, 1, &buffer);
        freeBuffers[freeCount++] = buffer;
    }
    return freeCount;
}

void OpenAlBackend::QueueStream(const int16_t* frames, size_t frameCount) {
    if (freeCount == 0 || frameCount == 0 || streamChannels == 0) return;
    ALuint buffer = freeBuffers[--freeCount];
    size_t bytes = frameCount * static_cast<size_t>(streamChannels) * sizeof(int16_t);
    alBufferData(buffer, FormatFor(streamChannels), frames, static_cast<ALsizei>(bytes), streamRate);
    alSourceQueueBuffers(streamSource, 1, &buffer);
    ALint state = AL_STOPPED;
    alGetSourcei(streamSource, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) alSourcePlay(streamSource);
}

void OpenAlBackend::StopStream() {
    if (!streamSource) return;
    alSourceStop(streamSource);
    alSourcei(streamSource, AL_BUFFER, 0); // unqueues everything
    for (int i = 0; i < kStreamBufferCount; ++i)
        freeBuffers[i] = streamBuffers[i];
    freeCount = kStreamBufferCount;
    streamChannels = 0;
    streamRate = 0;
}

void OpenAlBackend::SetStreamGain(float gain) {
    if (streamSource) alSourcef(streamSource, AL_GAIN, SafeGain(gain));
}

} // namespace

std::unique_ptr<SoundBackend> OpenOpenAlBackend() {
    auto backend = std::make_unique<OpenAlBackend>();
    if (!backend->Open()) return nullptr;
    return backend;
}

} // namespace kel
