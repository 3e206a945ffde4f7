// The sound system's public calls. Until the output backend is in place every call only records
// itself and keeps the volumes; nothing is played.
#include "audio/sound.h"

#include "app/helpers.h"

namespace kel {

const EffectRow kEffectTable[kSfxCount] = {
    {kSfxBoing2, "boing2"},         {kSfxDiveboing, "diveboing"},     {kSfxHorse2, "horse2"},
    {kSfxSpeared, "speared"},       {kSfxImpale, "impale"},           {kSfxShortbuzz, "shortbuzz"},
    {kSfxSplash, "splash"},         {kSfxClapping, "clapping"},       {kSfxGunshot, "gunshot"},
    {kSfxSpring, "spring"},         {kSfxBow, "bow"},                 {kSfxBarset, "barset"},
    {kSfxAww, "aww"},               {kSfxSkid, "skid"},               {kSfxCrash, "crash"},
    {kSfxFootstep3, "footstep3"},   {kSfxWhistlelong, "whistlelong"}, {kSfxTap1, "tap1"},
    {kSfxTap2, "tap2"},             {kSfxUntap1, "untap1"},           {kSfxHoout1, "hoout1"},
    {kSfxHnnng1, "hnnng1"},         {kSfxHup2, "hup2"},               {kSfxContact5, "contact5"},
    {kSfxOof1, "oof1"},             {kSfxMat1, "mat1"},               {kSfxHammerspin1, "hammerspin1"},
    {kSfxCycle3, "cycle3"},         {kSfxRow1, "row1"},               {kSfxIgnite, "ignite"},
    {kSfxJet1, "jet1"},             {kSfxHoof, "hoof"},               {kSfxHarrp, "harrp"},
    {kSfxHurrrr, "hurrrr"},         {kSfxRuaah, "ruaah"},             {kSfxMetal3, "metal3"},
    {kSfxWood3, "wood3"},           {kSfxMedal4, "medal4"},           {kSfxHammerimpact, "hammerimpact"},
    {kSfxScorelift, "scorelift"},   {kSfxBeep, "beep"},               {kSfxFwLaunch, "fw_launch"},
    {kSfxFwExplode, "fw_explode"},  {kSfxTwinkle, "twinkle"},         {kSfxBlip, "blip"},
};

namespace {

std::vector<SoundCall>* gRecorder = nullptr;
int gEffectsVolume = 100;
int gMusicVolume = 100;
std::string gMusicName;

void Record(const SoundCall& call) {
    if (gRecorder) gRecorder->push_back(call);
}

} // namespace

bool StartSound() { return false; }
void ShutDownSound() {}
void LoadEffects(const EffectRow*, int) {}

uint32_t PlayEffect(int effect, int volume, int pan, float pitch, bool loop) {
    SoundCall call;
    call.kind = SoundCall::kEffect;
    call.effect = effect;
    call.volume = volume;
    call.pan = pan;
    call.pitch = pitch;
    call.loop = loop;
    Record(call);
    return 0;
}

void StopChannel(uint32_t channel) {
    SoundCall call;
    call.kind = SoundCall::kStopChannel;
    call.channel = channel;
    Record(call);
}

void SetChannelVolume(uint32_t channel, float volume) {
    SoundCall call;
    call.kind = SoundCall::kChannelVolume;
    call.channel = channel;
    call.volume = static_cast<int>(volume);
    Record(call);
}

void SetChannelPitch(uint32_t channel, float factor) {
    SoundCall call;
    call.kind = SoundCall::kChannelPitch;
    call.channel = channel;
    call.pitch = factor;
    Record(call);
}

void SetChannelPan(uint32_t channel, int pan) {
    SoundCall call;
    call.kind = SoundCall::kChannelPan;
    call.channel = channel;
    call.pan = pan;
    Record(call);
}

void PlayMusic(const char* name, bool loop) {
    SoundCall call;
    call.kind = SoundCall::kMusic;
    call.music = name ? name : "";
    call.loop = loop;
    Record(call);
    if (gMusicVolume != 0) gMusicName = call.music;
}

void StopMusic() {
    SoundCall call;
    call.kind = SoundCall::kStopMusic;
    Record(call);
    gMusicName.clear();
}

void SetEffectsVolume(int volume) { gEffectsVolume = ClampInt(volume, 0, 100); }
void SetMusicVolume(int volume) { gMusicVolume = ClampInt(volume, 0, 100); }
int EffectsVolume() { return gEffectsVolume; }
int MusicVolume() { return gMusicVolume; }
const char* CurrentMusic() { return gMusicName.c_str(); }
void UpdateSound() {}
void SetSoundRecorder(std::vector<SoundCall>* recorder) { gRecorder = recorder; }

} // namespace kel
