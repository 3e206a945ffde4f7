// The seam between the sound system and its output. The sound system decides what plays, where
// and how loud; a backend only owns voices (one playback each), samples and one music stream.
// OpenAL Soft is the real backend; the null backend plays nothing and is used when no device
// opens. Tests may install their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kel {

struct PcmSound;

class SoundBackend {
  public:
    virtual ~SoundBackend() = default;

    // Playbacks that may sound at once, over all effects.
    virtual int VoiceCount() const = 0;

    // Uploads a sample; returns its non-zero id, 0 when it could not be stored.
    virtual uint32_t CreateSample(const PcmSound& sound) = 0;

    // gain 0..1 (linear), pan -1..1 (mono samples only), pitch as a playback-rate factor.
    virtual void StartVoice(int voice, uint32_t sample, float gain, float pan, float pitch, bool loop) = 0;
    virtual void StopVoice(int voice) = 0;
    virtual bool VoicePlaying(int voice) = 0;
    virtual void SetVoiceGain(int voice, float gain) = 0;
    virtual void SetVoicePitch(int voice, float pitch) = 0;
    virtual void SetVoicePan(int voice, float pan) = 0;

    // The music stream: a queue of a few fixed buffers. StartStream drops what was queued and
    // returns false when no stream can play.
    virtual bool StartStream(int channels, int rate, float gain) = 0;
    // Buffers that may be queued now (those played out are taken back first).
    virtual int FreeStreamBuffers() = 0;
    // Queues frames (copied) and keeps the stream playing, restarting it after a starvation.
    virtual void QueueStream(const int16_t* frames, size_t frameCount) = 0;
    virtual void StopStream() = 0;
    virtual void SetStreamGain(float gain) = 0;
};

// Opens the default OpenAL device; null when there is none (the caller then stays silent).
std::unique_ptr<SoundBackend> OpenOpenAlBackend();

// Plays nothing; every sample and stream is refused.
std::unique_ptr<SoundBackend> MakeNullBackend();

// Starts the sound system on the given backend instead of the default device (null backend when
// given null). ShutDownSound releases it.
void StartSoundWith(std::unique_ptr<SoundBackend> backend);

} // namespace kel
