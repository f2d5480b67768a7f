// Sound effects, the crowd ambience and its random life.
#pragma once

#include "host/host.h"
#include "input/keys.h"

#include <functional>
#include <memory>
#include <string>

namespace sw {

class Sound {
public:
    Sound(host::Host& host, Keys& keys);

    std::unique_ptr<host::SoundBuffer> effectBuffer;
    std::unique_ptr<host::SoundBuffer> overlayBuffer;
    std::unique_ptr<host::SoundBuffer> excitementBuffer;
    std::unique_ptr<host::SoundBuffer> drumsBuffer;
    std::unique_ptr<host::SoundBuffer> crowdBuffer[3];
    int waveVolume = 0;
    int waveFrequency = 11026;
    int drumsOn = 0;
    double nextCrowdEvent = 0;

    // Full path of a wave file of the set, found ignoring case.
    std::string WavePath(const std::string& name) const;
    // Creates a buffer from the named wave; throws host::HostError.
    std::unique_ptr<host::SoundBuffer> Load(const std::string& name);

    void play(const std::string& name);
    void play2(const std::string& name);
    void play3(const std::string& name, int pan);
    void play4(const std::string& name);
    void playspec(const std::string& name, int pan);
    void playcrowd1();
    void playdrums();
    void stopdrums();
    // `afterLoop` (optional) runs after each of the three loops is started.
    void startcrowd(const std::function<void(int loop)>& afterLoop = {});
    void stopper();
    void starter();
    void adjuster();
    void ramcrowd();
    void CreateDrums();
    // Stops and releases every buffer.
    void ReleaseAll();

    Keys& keys() { return keys_; }
    host::Host& host() { return host_; }

private:
    // kind: 0 play, 1 play2, 3 play3, 4 play4
    void PlayBlocking(const std::string& name, int kind, int pan);

    host::Host& host_;
    Keys& keys_;
};

// Runs `fn`; a failure is reported on standard error and swallowed, so the
// caller goes on with its next step.
void Guarded(const char* what, const std::function<void()>& fn);

}  // namespace sw
