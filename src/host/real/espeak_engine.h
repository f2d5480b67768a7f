// Speech over libespeak-ng, synthesised into the mixer's speech channel.
#pragma once

#include "host/host.h"
#include "host/real/mixer.h"

#include <memory>

namespace sw::host::real {

class EspeakEngine : public SpeechEngine {
public:
    // Throws HostError when the engine cannot be initialised.
    EspeakEngine(Mixer& mixer, const Clock& clock);
    ~EspeakEngine() override;

    int VoiceCount() override;
    std::string VoiceName(int index) override;
    std::unique_ptr<SpeechVoice> CreateVoice() override;

    class Impl;
private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace sw::host::real
