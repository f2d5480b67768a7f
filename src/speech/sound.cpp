#include "speech/sound.h"

#include "host/files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

namespace sw {

void Guarded(const char* what, const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", what, e.what());
    }
}

Sound::Sound(host::Host& host, Keys& keys) : host_(host), keys_(keys) {}

std::string Sound::WavePath(const std::string& name) const {
    const std::string file = name + ".wav";
    auto found = host::FindFile(host_.folders().sounds, file);
    return found ? *found : host::JoinPath(host_.folders().sounds, file);
}

std::unique_ptr<host::SoundBuffer> Sound::Load(const std::string& name) {
    return host_.sound().CreateSoundBufferFromFile(WavePath(name));
}

void Sound::PlayBlocking(const std::string& name, int kind, int pan) {
    keys_.clk();
    Guarded("sound", [&] {
        effectBuffer_ = Load(name);
        effectBuffer_->SetCurrentPosition(0);
        effectBuffer_->SetVolume(waveVolume);
        if (kind == 4) effectBuffer_->SetFrequency(effectBuffer_->GetFrequency() + 1);
        else effectBuffer_->SetFrequency(static_cast<uint32_t>(waveFrequency));
        if (kind == 3) effectBuffer_->SetPan(pan);
        effectBuffer_->Play(host::kPlayOnce);
        const bool keyCuts = kind == 1 || kind == 4 || (kind == 3 && keys_.variant().play3CutByKey);
        while (effectBuffer_->GetStatus() == host::kStatusPlaying && !(keyCuts && keys_.Pressed())) keys_.yield();
        effectBuffer_->Stop();
    });
    effectBuffer_.reset();
}

void Sound::play(const std::string& name) { PlayBlocking(name, 0, 0); }
void Sound::play2(const std::string& name) { PlayBlocking(name, 1, 0); }
void Sound::play3(const std::string& name, int pan) { PlayBlocking(name, 3, pan); }
void Sound::play4(const std::string& name) { PlayBlocking(name, 4, 0); }

std::unique_ptr<host::SoundBuffer>& Sound::Buffer(Channel channel) {
    return channel == Channel::Overlay ? overlayBuffer_ : effectBuffer_;
}

void Sound::Start(std::unique_ptr<host::SoundBuffer>& b, const std::string& name, int volume, int pan, int flags) {
    b = Load(name);
    b->SetCurrentPosition(0);
    b->SetVolume(volume);
    b->SetFrequency(static_cast<uint32_t>(waveFrequency));
    b->SetPan(pan);
    b->Play(flags);
}

void Sound::playspec(const std::string& name, int pan) {
    keys_.clk();
    Guarded("sound", [&] {
        overlayBuffer_.reset();
        Start(overlayBuffer_, name, waveVolume, pan, host::kPlayOnce);
    });
}

void Sound::playcrowd1() {
    Guarded("sound", [&] {
        excitementBuffer_.reset();
        Start(excitementBuffer_, "crexite", waveVolume - 1300, 0, host::kPlayLooping);
    });
}

void Sound::CreateDrums() {
    Guarded("sound", [&] { drumsBuffer_ = Load("crdrums"); });
}

void Sound::playdrums() {
    drumsOn_ = 1;
    if (!drumsBuffer_) return;
    drumsBuffer_->SetCurrentPosition(0);
    drumsBuffer_->SetVolume(waveVolume - 1442);
    drumsBuffer_->SetFrequency(static_cast<uint32_t>(waveFrequency));
    drumsBuffer_->SetPan(-777);
    drumsBuffer_->Play(host::kPlayLooping);
}

void Sound::stopdrums() {
    if (drumsOn_ == 0) return;
    drumsOn_ = 0;
    if (drumsBuffer_) drumsBuffer_->Stop();
}

void Sound::ForgetDrums() { drumsOn_ = 0; }

void Sound::startcrowd(const std::function<void(int)>& afterLoop) {
    nextCrowdEvent_ = keys_.timer();
    static constexpr uint32_t kOffsets[3] = {0, 200000, 400000};
    static constexpr int kVolumes[3] = {-2050, -2000, -2000};
    for (int i = 0; i < 3; ++i) {
        Guarded("crowd", [&] {
            crowdBuffer_[i] = Load("crbkgrd");
            crowdBuffer_[i]->SetCurrentPosition(kOffsets[i]);
            crowdBuffer_[i]->SetPan(0);
            crowdBuffer_[i]->SetVolume(waveVolume + kVolumes[i]);
            crowdBuffer_[i]->SetFrequency(static_cast<uint32_t>(waveFrequency));
            crowdBuffer_[i]->Play(host::kPlayLooping);
        });
        if (afterLoop) afterLoop(i);
    }
    if (crowdBuffer_[1]) crowdBuffer_[1]->SetPan(-333);
    if (crowdBuffer_[2]) crowdBuffer_[2]->SetPan(333);
}

void Sound::StopEffects() {
    for (auto* b : {&effectBuffer_, &overlayBuffer_, &excitementBuffer_})
        if (*b) (*b)->Stop();
}

void Sound::ClearEffects() {
    for (auto* b : {&excitementBuffer_, &effectBuffer_, &overlayBuffer_}) {
        if (*b) (*b)->Stop();
        b->reset();
    }
}

void Sound::StopExcitement() {
    if (excitementBuffer_) excitementBuffer_->Stop();
}

void Sound::StopCrowd() {
    for (auto& b : crowdBuffer_)
        if (b) b->Stop();
}

void Sound::stopper() {
    crowdOn = 0;
    StopEffects();
    play4("baseway");
    StopCrowd();
    keys_.dy(0.3);
}

void Sound::starter() {
    crowdOn = 1;
    play4("baseway");
    for (auto& b : crowdBuffer_)
        if (b) b->Play(host::kPlayLooping);
    keys_.dy(0.6);
}

void Sound::adjuster() {
    static constexpr int kVolumes[3] = {-2050, -2000, -2000};
    for (int i = 0; i < 3; ++i)
        if (crowdBuffer_[i]) crowdBuffer_[i]->SetVolume(waveVolume + kVolumes[i]);
}

void Sound::ramcrowd() {
    if (keys_.timer() < nextCrowdEvent_) return;
    Random& r = keys_.random();
    const int event = static_cast<int>(r.Next() * 7) + 1;
    const int pan = static_cast<int>(r.Next() * 3000) - 1500;
    const int swell = static_cast<int>(r.Next() * 200) - 1900;
    static const char* const kVendors[4] = {"hotdog", "peanuts", "beer1", "beer2"};
    if (event >= 1 && event <= 4) {
        Guarded("crowd", [&] {
            overlayBuffer_.reset();
            Start(overlayBuffer_, kVendors[event - 1], waveVolume - 2400, pan, host::kPlayOnce);
        });
    } else if (event >= 5 && event <= 7) {
        if (auto& b = crowdBuffer_[event - 5]) b->SetVolume(waveVolume + swell);
    }
    nextCrowdEvent_ = keys_.timer() + (r.Next() * 50 + 50) / 10;
}

void Sound::ReleaseAll() {
    for (auto* b : {&cueBuffer_, &effectBuffer_, &overlayBuffer_, &excitementBuffer_, &drumsBuffer_, &crowdBuffer_[0],
                    &crowdBuffer_[1], &crowdBuffer_[2]}) {
        if (*b) (*b)->Stop();
        b->reset();
    }
    drumsOn_ = 0;
}

void Sound::StartOnce(Channel channel, const std::string& name, int volume, int pan) {
    Start(Buffer(channel), name, volume, pan, host::kPlayOnce);
}

void Sound::WaitToEnd(Channel channel) {
    auto& b = Buffer(channel);
    while (b->GetStatus() == host::kStatusPlaying) keys_.yield();
    b->Stop();
}

void Sound::Release(Channel channel) { Buffer(channel).reset(); }

void Sound::LoadEffect(const std::string& name) {
    effectBuffer_ = Load(name);
    effectBuffer_->SetCurrentPosition(0);
    effectBuffer_->SetVolume(waveVolume);
    effectBuffer_->SetFrequency(static_cast<uint32_t>(waveFrequency));
}

void Sound::LoadMeasuredEffect(const std::string& name) {
    const std::string path = WavePath(name);
    const auto size = host::FileSize(path);
    if (!size || *size == 0) throw host::HostError("cannot tell the size of " + path);
    effectBuffer_ = host_.sound().CreateSoundBufferFromFile(path);
    effectBytes_ = static_cast<double>(*size);
}

void Sound::StartEffect(int volume, uint32_t frequency, int pan) {
    effectBuffer_->SetCurrentPosition(0);
    effectBuffer_->SetVolume(volume);
    effectBuffer_->SetFrequency(frequency);
    effectBuffer_->SetPan(pan);
    effectBuffer_->Play(host::kPlayOnce);
}

void Sound::PlayEffect() {
    if (effectBuffer_) effectBuffer_->Play(host::kPlayOnce);
}

void Sound::LoopEffect() {
    if (effectBuffer_) effectBuffer_->Play(host::kPlayLooping);
}

void Sound::ReplayEffect() {
    if (!effectBuffer_) return;
    effectBuffer_->SetCurrentPosition(0);
    effectBuffer_->Play(host::kPlayOnce);
    effectBuffer_->SetVolume(waveVolume);
}

void Sound::StopEffect() {
    if (effectBuffer_) effectBuffer_->Stop();
}

void Sound::ReleaseEffect() { effectBuffer_.reset(); }

void Sound::SetEffectFrequency(uint32_t hz) {
    if (effectBuffer_) effectBuffer_->SetFrequency(hz);
}

void Sound::SetEffectPan(int pan) {
    if (effectBuffer_) effectBuffer_->SetPan(pan);
}

bool Sound::EffectPlaying() { return effectBuffer_ && effectBuffer_->GetStatus() == host::kStatusPlaying; }

double Sound::EffectPercent() {
    return effectBuffer_ ? effectBuffer_->GetCurrentPosition() * 100.0 / effectBytes_ : 0;
}

double Sound::EffectPercentAt(double clockTime) {
    return effectBuffer_ ? effectBuffer_->GetPositionAt(clockTime) * 100.0 / effectBytes_ : 0;
}

void Sound::SetPitchCue(bool on) {
    if (!on) StopPitchCue();
    pitchCue_ = on;
}

double Sound::PitchCueHz(double percent) {
    return kPitchCueHz * std::exp2(std::clamp(percent, 0.0, 100.0) / 100.0);
}

void Sound::StartPitchCue() {
    if (!pitchCue_) return;
    Guarded("pitch cue", [&] {
        if (!cueBuffer_) {
            cueBuffer_ = host_.sound().CreateTone(kPitchCueHz);
            cueBaseRate_ = cueBuffer_->GetFrequency();
        }
        cueRate_ = cueBaseRate_;
        cueBuffer_->SetCurrentPosition(0);
        cueBuffer_->SetVolume(std::max(waveVolume - 1500, -10000));
        cueBuffer_->SetPan(0);
        cueBuffer_->SetFrequency(cueRate_);
        cueBuffer_->Play(host::kPlayLooping);
    });
}

void Sound::SteerPitchCue(double percent) {
    if (!pitchCue_ || !cueBuffer_ || cueBuffer_->GetStatus() != host::kStatusLooping) return;
    // The tone's own rate sounds kPitchCueHz; the rate scales the pitch.
    const auto rate = static_cast<uint32_t>(std::lround(cueBaseRate_ * PitchCueHz(percent) / kPitchCueHz));
    if (rate == cueRate_) return;
    cueRate_ = rate;
    cueBuffer_->SetFrequency(rate);
}

void Sound::StopPitchCue() {
    if (cueBuffer_) cueBuffer_->Stop();
}

}  // namespace sw
