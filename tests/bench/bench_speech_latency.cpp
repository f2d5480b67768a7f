// Time from Speak(text, async) to the first speech sample taken by the mixer.
//
// By default a render thread pulls the mixer about every millisecond, which
// measures the speech path itself. With --device the real audio device is
// opened instead (set SDL_AUDIODRIVER=dummy where there is no sound card); its
// 512-frame period then adds up to 10.7 ms of waiting for the next callback.
//
// Usage: bench_speech_latency [--device] [utterances]
#include "host/real/audio_device.h"
#include "host/real/espeak_engine.h"
#include "host/real/mixer.h"
#include "host/real/steady_clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace sw::host;
using namespace sw::host::real;

namespace {

const char* const kTexts[] = {
    " strike one",
    " ball two",
    " and the pitch",
    " here's the whined up and the pitch",
    " swung on and missed",
    " a hard hit ground ball to short",
    " the pitcher checks on the runner",
    " fouled back out of play",
    " batter up",
    " ball four, take your base",
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    bool useDevice = false;
    int count = 50;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--device") == 0) useDevice = true;
        else count = std::max(1, std::atoi(argv[i]));
    }

    SteadyClock clock;
    Mixer mixer(clock, 48000);
    AudioDevice device(mixer);
    std::atomic<bool> stop{false};
    std::thread renderer;
    if (useDevice) {
        if (!device.Open()) std::printf("(no device: the silent stand-in renders every 5.3 ms)\n");
    } else {
        renderer = std::thread([&] {
            // Renders whatever is due, about every millisecond.
            std::vector<int16_t> out(2 * 4800);
            const double start = clock.now();
            long rendered = 0;
            while (!stop) {
                const double now = clock.now();
                const long due = std::min<long>(static_cast<long>((now - start) * 48000) - rendered, 4800);
                if (due > 0) {
                    mixer.Render(out.data(), static_cast<int>(due), now);
                    rendered += due;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }

    std::vector<double> firstSample, firstChunk;
    {
        EspeakEngine engine(mixer, clock);
        auto voice = engine.CreateVoice();
        voice->Speak(" ", kSpeakWait);  // the engine loads its voice data once
        for (int i = 0; i < count; ++i) {
            const std::string text = kTexts[i % std::size(kTexts)];
            const double t0 = clock.now();
            voice->Speak(text, kSpeakAsync);
            double chunkAt = -1;
            while (mixer.SpeechFirstRenderTime() < 0 && clock.now() - t0 < 1.0) {
                if (chunkAt < 0 && mixer.SpeechPending()) chunkAt = clock.now();
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
            const double first = mixer.SpeechFirstRenderTime();
            if (first >= 0) firstSample.push_back((first - t0) * 1000);
            if (chunkAt >= 0) firstChunk.push_back((chunkAt - t0) * 1000);
            voice->Speak("", kSpeakPurge);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    stop = true;
    if (renderer.joinable()) renderer.join();
    device.Close();

    std::printf("\nspeech latency over %zu utterances (%s)\n", firstSample.size(),
                useDevice ? "audio device" : "render thread every ~1 ms");
    std::printf("  Speak -> first sample taken by the mixer: median %.2f ms  p99 %.2f ms  max %.2f ms\n",
                Percentile(firstSample, 0.5), Percentile(firstSample, 0.99), Percentile(firstSample, 1.0));
    std::printf("  Speak -> first chunk queued in the mixer (polled every 0.1 ms): median %.2f ms  p99 %.2f ms\n",
                Percentile(firstChunk, 0.5), Percentile(firstChunk, 0.99));
    return 0;
}
