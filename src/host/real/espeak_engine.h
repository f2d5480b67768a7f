// Speech over libespeak-ng, synthesised into the mixer's speech channel.
#pragma once

#include "host/host.h"
#include "host/real/mixer.h"

#include <memory>
#include <string>
#include <string_view>

namespace sw::host::real {

// The text as the engine is given it: a word that turns from two or more
// capitals to small letters is spoken as two words ("FAST BALLlow" as
// "FAST BALL low"), which the engine would otherwise spell out or run
// together. Captions keep the text as it was written.
std::string SpeakableText(std::string_view text);

// The folder that holds the engine's `espeak-ng-data`, as the engine's
// narrow file calls take it; "" leaves the engine to its own search
// (ESPEAK_DATA_PATH, then where it was installed). Each platform's own:
// real_host_posix.cpp, real_host_win.cpp.
std::string EspeakDataParent();

class EspeakEngine : public SpeechEngine {
public:
    // Throws HostError when the engine cannot be initialised.
    EspeakEngine(Mixer& mixer, const Clock& clock);
    ~EspeakEngine() override;

    int VoiceCount() override;
    std::string VoiceName(int index) override;
    std::unique_ptr<SpeechVoice> CreateVoice() override;
    void OnStarted(std::function<void(const std::string& text)> listener) override;

    class Impl;
private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace sw::host::real
