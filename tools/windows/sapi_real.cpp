// Asks the SAPI of this machine for its voices and speaks through the voice
// list, with a stand-in for the built-in voice that prints what it is given.
#include "host/win/sapi_engine.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

using namespace sw::host;

namespace {

struct Printing : SpeechEngine {
    struct Voice : SpeechVoice {
        void Speak(const std::string& text, int flags) override {
            std::printf("built-in voice speaks '%s' (flags %d)\n", text.c_str(), flags);
        }
        int RunningState() override { return kSpeechDone; }
        int Rate() override { return 0; }
        void SetRate(int) override {}
        void SetVolume(int) override {}
        bool SelectVoice(int) override { return true; }
    };
    int VoiceCount() override { return 1; }
    std::string VoiceName(int index) override { return index == 0 ? "built-in" : ""; }
    std::unique_ptr<SpeechVoice> CreateVoice() override { return std::make_unique<Voice>(); }
};

}  // namespace

int main() {
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    auto sapi = win::SapiEngine::OpenInstalled(error);
    std::printf("OpenInstalled: %s\n", sapi ? "opened" : ("failed: " + error).c_str());
    if (sapi) {
        std::printf("%d SAPI voice(s)\n", sapi->VoiceCount());
        for (int i = 0; i < sapi->VoiceCount(); ++i) std::printf("  %d: %s\n", i, sapi->VoiceName(i).c_str());
        auto direct = sapi->CreateSapiVoice();
        direct->Speak("hello", kSpeakAsync);
        std::printf("a SAPI voice alone: running state %d, failure '%s'\n", direct->RunningState(),
                    direct->Failure().c_str());
    }
    Printing builtIn;
    win::VoiceList list(std::move(sapi), error, builtIn, [](const std::string& m) { std::printf("told: %s\n", m.c_str()); });
    std::printf("the list has %d voice(s); 0 is '%s'\n", list.VoiceCount(), list.VoiceName(0).c_str());
    auto voice = list.CreateVoice();
    voice->SetRate(2);
    voice->Speak("batter up", kSpeakWait);
    voice->Speak("play ball", kSpeakAsync);
    std::printf("running state %d, in %.0f ms\n", voice->RunningState(),
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    return 0;
}
