// The player's own voice on Linux: the system's speech service (the one a
// screen reader speaks through), offered after the built-in voices. Nothing
// connects to the service until the player looks for that voice; when it
// cannot be reached, or fails later, the built-in voice speaks instead and
// the player is told once.
#pragma once

#include "host/host.h"

#include <functional>
#include <memory>
#include <string>

namespace sw::host::real {

// What the last voice of the list is called.
inline constexpr char kSystemVoiceName[] = "your screen reader's voice";

// The game's rate -10..10 and volume 0..100 on the service's scales, both
// -100..100; values out of range are clamped first.
int ServiceRate(int rate);
int ServiceVolume(int volume);

class SystemVoices : public SpeechEngine {
public:
    using Report = std::function<void(const std::string& message)>;
    using CaptionWriter = std::function<void(const std::string& text)>;

    // `socketPath`: where the service listens; "" for the user's own, as the
    // service's library finds it. A service is never started for us.
    // `report` hears, once, why the service is no longer used (the message
    // also goes to standard error). `caption` writes each text of the
    // service's voice when it starts to sound.
    SystemVoices(SpeechEngine& builtIn, std::string socketPath = {}, Report report = {},
                 CaptionWriter caption = {});
    ~SystemVoices() override;
    SystemVoices(const SystemVoices&) = delete;
    SystemVoices& operator=(const SystemVoices&) = delete;

    int VoiceCount() override;
    std::string VoiceName(int index) override;
    std::unique_ptr<SpeechVoice> CreateVoice() override;
    void OnStarted(std::function<void(const std::string& text)> listener) override;
    int FindSystemVoice() override;

    struct Link;
    struct Shared;
private:
    SpeechEngine& builtIn_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace sw::host::real
