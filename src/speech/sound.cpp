#include "speech/sound.h"

#include "host/files.h"

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

Sound::Sound(host::Host& host, Keys& keys) : host_(host), keys_(keys) {
    keys_.crowdTurn = [this] { ramcrowd(); };
}

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
        effectBuffer = Load(name);
        effectBuffer->SetCurrentPosition(0);
        effectBuffer->SetVolume(waveVolume);
        if (kind == 4) effectBuffer->SetFrequency(effectBuffer->GetFrequency() + 1);
        else effectBuffer->SetFrequency(static_cast<uint32_t>(waveFrequency));
        if (kind == 3) effectBuffer->SetPan(pan);
        effectBuffer->Play(host::kPlayOnce);
        const bool keyCuts = kind == 1 || kind == 4 || (kind == 3 && keys_.variant().play3CutByKey);
        while (effectBuffer->GetStatus() == host::kStatusPlaying && !(keyCuts && !keys_.keyCode.empty())) keys_.yield();
        effectBuffer->Stop();
    });
    effectBuffer.reset();
}

void Sound::play(const std::string& name) { PlayBlocking(name, 0, 0); }
void Sound::play2(const std::string& name) { PlayBlocking(name, 1, 0); }
void Sound::play3(const std::string& name, int pan) { PlayBlocking(name, 3, pan); }
void Sound::play4(const std::string& name) { PlayBlocking(name, 4, 0); }

void Sound::playspec(const std::string& name, int pan) {
    keys_.clk();
    Guarded("sound", [&] {
        overlayBuffer.reset();
        overlayBuffer = Load(name);
        overlayBuffer->SetCurrentPosition(0);
        overlayBuffer->SetVolume(waveVolume);
        overlayBuffer->SetFrequency(static_cast<uint32_t>(waveFrequency));
        overlayBuffer->SetPan(pan);
        overlayBuffer->Play(host::kPlayOnce);
    });
}

void Sound::playcrowd1() {
    Guarded("sound", [&] {
        excitementBuffer.reset();
        excitementBuffer = Load("crexite");
        excitementBuffer->SetCurrentPosition(0);
        excitementBuffer->SetVolume(waveVolume - 1300);
        excitementBuffer->SetFrequency(static_cast<uint32_t>(waveFrequency));
        excitementBuffer->SetPan(0);
        excitementBuffer->Play(host::kPlayLooping);
    });
}

void Sound::CreateDrums() {
    Guarded("sound", [&] { drumsBuffer = Load("crdrums"); });
}

void Sound::playdrums() {
    drumsOn = 1;
    if (!drumsBuffer) return;
    drumsBuffer->SetCurrentPosition(0);
    drumsBuffer->SetVolume(waveVolume - 1442);
    drumsBuffer->SetFrequency(static_cast<uint32_t>(waveFrequency));
    drumsBuffer->SetPan(-777);
    drumsBuffer->Play(host::kPlayLooping);
}

void Sound::stopdrums() {
    if (drumsOn == 0) return;
    drumsOn = 0;
    if (drumsBuffer) drumsBuffer->Stop();
}

void Sound::startcrowd(const std::function<void(int)>& afterLoop) {
    nextCrowdEvent = keys_.timer();
    static constexpr uint32_t kOffsets[3] = {0, 200000, 400000};
    static constexpr int kVolumes[3] = {-2050, -2000, -2000};
    for (int i = 0; i < 3; ++i) {
        Guarded("crowd", [&] {
            crowdBuffer[i] = Load("crbkgrd");
            crowdBuffer[i]->SetCurrentPosition(kOffsets[i]);
            crowdBuffer[i]->SetPan(0);
            crowdBuffer[i]->SetVolume(waveVolume + kVolumes[i]);
            crowdBuffer[i]->SetFrequency(static_cast<uint32_t>(waveFrequency));
            crowdBuffer[i]->Play(host::kPlayLooping);
        });
        if (afterLoop) afterLoop(i);
    }
    if (crowdBuffer[1]) crowdBuffer[1]->SetPan(-333);
    if (crowdBuffer[2]) crowdBuffer[2]->SetPan(333);
}

void Sound::stopper() {
    keys_.crowdOn = 0;
    for (auto* b : {&effectBuffer, &overlayBuffer, &excitementBuffer})
        if (*b) (*b)->Stop();
    play4("baseway");
    for (auto& b : crowdBuffer)
        if (b) b->Stop();
    keys_.dy(0.3);
}

void Sound::starter() {
    keys_.crowdOn = 1;
    play4("baseway");
    for (auto& b : crowdBuffer)
        if (b) b->Play(host::kPlayLooping);
    keys_.dy(0.6);
}

void Sound::adjuster() {
    static constexpr int kVolumes[3] = {-2050, -2000, -2000};
    for (int i = 0; i < 3; ++i)
        if (crowdBuffer[i]) crowdBuffer[i]->SetVolume(waveVolume + kVolumes[i]);
}

void Sound::ramcrowd() {
    if (keys_.timer() < nextCrowdEvent) return;
    Random& r = keys_.random();
    const int event = static_cast<int>(r.Next() * 7) + 1;
    const int pan = static_cast<int>(r.Next() * 3000) - 1500;
    const int swell = static_cast<int>(r.Next() * 200) - 1900;
    static const char* const kVendors[4] = {"hotdog", "peanuts", "beer1", "beer2"};
    if (event >= 1 && event <= 4) {
        Guarded("crowd", [&] {
            overlayBuffer.reset();
            overlayBuffer = Load(kVendors[event - 1]);
            overlayBuffer->SetCurrentPosition(0);
            overlayBuffer->SetVolume(waveVolume - 2400);
            overlayBuffer->SetFrequency(static_cast<uint32_t>(waveFrequency));
            overlayBuffer->SetPan(pan);
            overlayBuffer->Play(host::kPlayOnce);
        });
    } else if (event >= 5 && event <= 7) {
        if (auto& b = crowdBuffer[event - 5]) b->SetVolume(waveVolume + swell);
    }
    nextCrowdEvent = keys_.timer() + (r.Next() * 50 + 50) / 10;
}

void Sound::ReleaseAll() {
    for (auto* b : {&effectBuffer, &overlayBuffer, &excitementBuffer, &drumsBuffer, &crowdBuffer[0], &crowdBuffer[1],
                    &crowdBuffer[2]}) {
        if (*b) (*b)->Stop();
        b->reset();
    }
    drumsOn = 0;
}

}  // namespace sw
