// The silent backend: used when no sound device opens, and by the headless runner. It owns no
// voices, so the sound system hands out no channels and starts no music.
#include "audio/sound_backend.h"

namespace kel {

namespace {

class NullBackend : public SoundBackend {
  public:
    int VoiceCount() const override { return 0; }
    uint32_t CreateSample(const PcmSound&) override { return 0; }
    void StartVoice(int, uint32_t, float, float, float, bool) override {}
    void StopVoice(int) override {}
    bool VoicePlaying(int) override { return false; }
    void SetVoiceGain(int, float) override {}
    void SetVoicePitch(int, float) override {}
    void SetVoicePan(int, float) override {}
    bool StartStream(int, int, float) override { return false; }
    int FreeStreamBuffers() override { return 0; }
    void QueueStream(const int16_t*, size_t) override {}
    void StopStream() override {}
    void SetStreamGain(float) override {}
};

} // namespace

std::unique_ptr<SoundBackend> MakeNullBackend() {
    return std::make_unique<NullBackend>();
}

} // namespace kel
