// The software mixer: DirectSound-style buffers and one speech channel, mixed
// into 16-bit stereo at the device rate.
#pragma once

#include "host/host.h"
#include "host/wav.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sw::host::real {

class Mixer : public SoundDevice {
public:
    explicit Mixer(const Clock& clock, int deviceRate = 48000);
    ~Mixer() override;

    std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& path) override;
    std::unique_ptr<SoundBuffer> CreateSoundBuffer(WaveData wave);
    std::unique_ptr<SoundBuffer> CreateTone(uint32_t hz) override;
    std::unique_ptr<SoundBuffer> CreateClick(uint32_t periodMs) override;
    void Beep() override;
    // Applies from the next render; each voice's gains ramp to the new mode.
    void SetChannelMode(ChannelMode mode) override;

    // Renders `frames` interleaved stereo frames. `callbackTime` is the clock
    // time of the call; the first frame is heard `latency` seconds later.
    // Called from the audio thread, or directly by tests and benchmarks.
    void Render(int16_t* out, int frames, double callbackTime);
    // The same mix as floating-point samples (full scale 1.0), unclipped: lets
    // tests measure gains far below one 16-bit step.
    void RenderFloat(float* out, int frames, double callbackTime);
    void SetOutputLatency(double seconds);
    int DeviceRate() const;
    // The clock the mixer reads (the audio device stamps its callbacks with it).
    const Clock& clock() const;

    // Speech channel: mono 16-bit PCM at `rate` Hz (22050 for the engine).
    void SpeechAppend(const int16_t* samples, size_t count, int rate);
    void SpeechPurge();
    // Marks the start of an utterance at the end of the queue; once the
    // channel has played up to it, its caption is handed out by
    // SpeechTakeCaptions. A purge drops marks not yet reached.
    void SpeechMark(std::string caption);
    std::vector<std::string> SpeechTakeCaptions();
    // True while marks are queued or captions wait to be taken.
    bool SpeechCaptionsWaiting() const;
    void SpeechSetGain(double linear);  // 0..1
    // True while speech samples remain that have not yet been heard.
    bool SpeechPending() const;
    // Clock time at which the first sample appended after the last purge (or
    // since the channel went idle) was taken by Render; negative when none yet.
    double SpeechFirstRenderTime() const;

    class Impl;
private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace sw::host::real
