// The sound system: 45 short effects in numbered slots and one streamed music piece at a time,
// with global effects and music volumes 0..100. Without a sound device or audio library the game
// runs silent and every call is harmless.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

// Effect ids: the row of the effect table, named after the file "sound/<name>.wav".
enum Sfx : int {
    kSfxBoing2, kSfxDiveboing, kSfxHorse2, kSfxSpeared, kSfxImpale, kSfxShortbuzz, kSfxSplash,
    kSfxClapping, kSfxGunshot, kSfxSpring, kSfxBow, kSfxBarset, kSfxAww, kSfxSkid, kSfxCrash,
    kSfxFootstep3, kSfxWhistlelong, kSfxTap1, kSfxTap2, kSfxUntap1, kSfxHoout1, kSfxHnnng1, kSfxHup2,
    kSfxContact5, kSfxOof1, kSfxMat1, kSfxHammerspin1, kSfxCycle3, kSfxRow1, kSfxIgnite, kSfxJet1,
    kSfxHoof, kSfxHarrp, kSfxHurrrr, kSfxRuaah, kSfxMetal3, kSfxWood3, kSfxMedal4, kSfxHammerimpact,
    kSfxScorelift, kSfxBeep, kSfxFwLaunch, kSfxFwExplode, kSfxTwinkle, kSfxBlip,
    kSfxCount
};

struct EffectRow {
    int id;
    const char* name;
};
extern const EffectRow kEffectTable[kSfxCount];

constexpr int kEffectSlotCount = 100;

// Opens the default sound device; false when none opens (the game then runs silent, every call
// harmless and PlayEffect returning 0). A second call while running does nothing.
bool StartSound();
// Stops everything, frees the samples and closes the device. StartSound may follow again.
void ShutDownSound();
// Loads "sound\<name>.wav" of each of the first `count` rows into slot `id` (WAV, or else MP3).
// Rows with ids outside 0..99 are skipped; a file that cannot be read or decoded leaves its slot
// empty and writes a line to the log.
void LoadEffects(const EffectRow* table, int count);

// Plays one instance; at most 4 of one effect at once, a fifth takes the place of the oldest.
// Returns its channel handle, 0 when nothing could play.
uint32_t PlayEffect(int effect, int volume, int pan, float pitch, bool loop);
void StopChannel(uint32_t channel);
void SetChannelVolume(uint32_t channel, float volume);
void SetChannelPitch(uint32_t channel, float factor);
void SetChannelPan(uint32_t channel, int pan);

// Replaces the music with "sound/<name>", streamed; does nothing while the music volume is 0.
void PlayMusic(const char* name, bool loop);
void StopMusic();
// Reads and opens "sound/<name>" ahead, so that the next PlayMusic of that name starts it without
// reading a file or allocating. Scenes prepare their piece when they are created. One piece is
// kept prepared; preparing another drops it.
void PrepareMusic(const char* name);

void SetEffectsVolume(int volume);
void SetMusicVolume(int volume);
int EffectsVolume();
int MusicVolume();

// Name of the music playing now ("" when none); kept also while muted.
const char* CurrentMusic();

// Called once per frame by the shell so the music stream stays fed.
void UpdateSound();

// Every call of the interface above, as scenes made it; tests and the headless runner read it.
struct SoundCall {
    enum Kind { kEffect, kStopChannel, kChannelVolume, kChannelPitch, kChannelPan, kMusic, kStopMusic };
    Kind kind = kEffect;
    int effect = -1;
    int volume = 0;
    int pan = 0;
    float pitch = 1.0f;
    bool loop = false;
    uint32_t channel = 0;
    std::string music;
};

// While set, every call is appended to *recorder (which must outlive the recording).
void SetSoundRecorder(std::vector<SoundCall>* recorder);

} // namespace kel
