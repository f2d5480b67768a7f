// The software mixer.
//
// Timing model. The device consumes frames at exactly the device rate, so the
// output is one continuous stream: frame k of the stream is heard at
// streamStart + k / rate. Each Render call tells us roughly where we are in
// that stream (callback time + output latency); callback times jitter, so the
// estimate is smoothed and only re-anchored when it is far off (a gap, an
// underrun, a changed latency).
//
// Every playing buffer records, per render, an anchor: the time its first
// rendered frame will be heard, the source position of that frame, and the
// speed (source frames per second). The heard position at any time t is read
// from the anchor before t, so a frequency change, a jump or a stop between t
// and now is accounted exactly. Positions in anchors are unwrapped frame
// counts; they are wrapped or clamped only when reported.
//
// Locking: one mutex guards all buffer and speech state. The audio thread
// holds it while mixing one callback (tens of microseconds); the game thread
// holds it only for constant-time updates and short scans. Memory is allocated
// and freed outside the lock wherever the game thread could make the audio
// thread wait.
#include "host/real/mixer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace sw::host::real {

namespace {

constexpr int kHistory = 128;           // anchors kept per buffer (> 0.6 s at 5 ms periods)
constexpr double kResync = 0.050;       // stream estimate farther off than this is re-anchored
// A callback earlier than predicted is followed faster than a later one: lateness
// is mostly a wake-up delay, earliness a sign that the estimate runs late.
constexpr double kFollowEarly = 1.0 / 16.0;
constexpr double kFollowLate = 1.0 / 32.0;
constexpr int kRampFrames = 256;        // gain changes are ramped over this many frames
constexpr int kBlockFrames = 1024;      // integer Render mixes in blocks of this size
constexpr double kNever = -std::numeric_limits<double>::infinity();
constexpr size_t kCaptionRoom = 256;    // captions heard and not yet taken

constexpr int32_t kMinVolume = -10000;
constexpr uint32_t kMinFrequency = 100;
constexpr uint32_t kMaxFrequency = 200000;

// A tone's wave: whole cycles at about the device rate, about a tenth of a
// second of them, at an RMS 20 dB under full scale.
constexpr uint32_t kToneRate = 48000;
constexpr double kToneAmplitude = 0.1 * std::numbers::sqrt2;

// Gain of one channel for an attenuation in hundredths of a decibel.
float Gain(int32_t attenuation) {
    if (attenuation <= kMinVolume) return 0.0f;
    return static_cast<float>(std::pow(10.0, attenuation / 2000.0));
}

// The gains a voice is heard at in a channel mode: stereo as panned; in the
// others the louder of the two, on both sides or on one. Made per voice, so a
// voice crossing the field keeps its level.
void ApplyMode(ChannelMode mode, float& left, float& right) {
    if (mode == ChannelMode::Stereo) return;
    const float g = std::max(left, right);
    left = mode == ChannelMode::Right ? 0.0f : g;
    right = mode == ChannelMode::Left ? 0.0f : g;
}

struct Anchor {
    double time = 0;   // clock time at which `pos` is heard
    double pos = 0;    // unwrapped source frame position
    double speed = 0;  // source frames per second from then on (0 while held)
    bool jump = false; // starts a new segment: not continuous with the anchor before
};

// The state of one sound buffer; owned jointly by the buffer object and, while
// registered, the mixer. All mutable fields are guarded by Core::mu.
struct Voice {
    // Fixed at creation.
    std::vector<int16_t> samples;  // interleaved, 8-bit data widened to 16 bits
    int channels = 1;
    uint32_t frames = 0;
    uint32_t blockAlign = 2;
    uint32_t dataBytes = 0;

    int32_t volume = 0;
    int32_t pan = 0;
    uint32_t frequency = 11025;
    bool playing = false;
    bool looping = false;
    double cursor = 0;        // unwrapped position of the next frame to render
    bool rendered = false;    // rendered since the last Play or jump (gains ramp only then)
    float gainL = 1, gainR = 1;
    bool ended = false;       // a one-shot rendered to its end ...
    double endHeard = 0;      // ... whose last frame is heard by then

    std::array<Anchor, kHistory> history{};
    int newest = -1;  // index of the newest anchor
    int count = 0;

    const Anchor& At(int age) const {  // age 0 = newest
        return history[static_cast<size_t>((newest - age + kHistory) % kHistory)];
    }

    void DropAfter(double t) {
        while (count > 0 && At(0).time >= t) {
            newest = (newest - 1 + kHistory) % kHistory;
            --count;
        }
    }

    void Push(const Anchor& a) {
        DropAfter(a.time);
        newest = (newest + 1) % kHistory;
        history[static_cast<size_t>(newest)] = a;
        count = std::min(count + 1, kHistory);
    }

    // Unwrapped heard position at clock time t.
    double PositionAt(double t) const {
        if (count == 0) return cursor;
        int age = 0;
        while (age < count && At(age).time > t) ++age;
        if (age == count) return At(count - 1).pos;  // older than the history
        const Anchor& a = At(age);
        double p = a.pos + (t - a.time) * a.speed;
        if (age > 0) {
            const Anchor& next = At(age - 1);
            if (!next.jump) p = std::min(p, next.pos);
        } else {
            p = std::min(p, cursor);  // never ahead of what has been rendered
        }
        return std::max(p, a.pos);
    }

    uint32_t ToBytes(double p) const {
        double f = p;
        if (looping) {
            f = std::fmod(p, static_cast<double>(frames));
            if (f < 0) f += frames;
        }
        f = std::clamp(f, 0.0, static_cast<double>(frames));
        auto whole = static_cast<uint64_t>(std::floor(f + 1e-7));
        if (whole >= frames) whole = looping ? 0 : frames;
        return static_cast<uint32_t>(whole * blockAlign);
    }

    // A one-shot whose end has been heard is stopped, its cursor at the end.
    void Settle(double now) {
        if (playing && ended && now >= endHeard) {
            playing = false;
            ended = false;
            cursor = frames;
        }
    }

    void TargetGains(float& left, float& right) const {
        left = Gain(volume - std::max(pan, 0));
        right = Gain(volume + std::min(pan, 0));
    }

    float Sample(uint32_t frame, int channel) const {
        return samples[static_cast<size_t>(frame) * static_cast<size_t>(channels) +
                       static_cast<size_t>(channel)] *
               (1.0f / 32768.0f);
    }
};

struct SpeechChunk {
    std::vector<int16_t> samples;
    int rate = 22050;
    bool mark = false;    // no samples: the start of an utterance
    std::string caption;  // its text, for the captions
};

// Everything the audio thread touches. Shared by the mixer and its buffers, so
// that a buffer outliving the mixer (or the reverse) is harmless.
struct Core {
    Core(const Clock& clock, int rate) : clock(clock), rate(rate) {
        voices.reserve(256);
        heardCaptions.reserve(kCaptionRoom);
    }

    const Clock& clock;
    const int rate;

    mutable std::mutex mu;
    std::vector<std::shared_ptr<Voice>> voices;  // playing or not, every live buffer
    double latency = 0;
    ChannelMode mode = ChannelMode::Stereo;
    bool haveStream = false;
    double streamNext = 0;  // heard time of the next frame to be rendered
    double callbackTime = 0;

    // Speech channel.
    std::deque<SpeechChunk> chunks;
    size_t spent = 0;     // chunks at the front already fully read
    size_t readIdx = 0;   // next sample in chunks[spent]
    bool speaking = false;  // samples queued or being interpolated
    bool primed = false;
    bool draining = false;  // the queue ran dry; interpolating out to silence
    float prevSample = 0, nextSample = 0;
    double phase = 0;
    double speechStep = 22050.0 / 48000.0;
    double speechEndHeard = kNever;
    bool awaitingFirst = false;
    double firstRender = -1;
    float speechGain = 1;
    std::vector<std::string> heardCaptions;  // utterances that have started to sound
    size_t marksQueued = 0;

    double UpdateStream(double cbTime, int frames) {
        callbackTime = cbTime;
        const double observed = cbTime + latency;
        const double diff = observed - streamNext;
        if (!haveStream || std::fabs(diff) > kResync) {
            streamNext = observed;
            haveStream = true;
        } else {
            streamNext += diff * (diff < 0 ? kFollowEarly : kFollowLate);
        }
        const double start = streamNext;
        streamNext += static_cast<double>(frames) / rate;
        return start;
    }

    void MixLocked(float* out, int frames, double heardStart) {
        std::fill(out, out + 2 * frames, 0.0f);
        for (auto& v : voices) {
            if (v->playing && !v->ended) MixVoice(*v, out, frames, heardStart);
        }
        if (speaking) MixSpeech(out, frames, heardStart);
    }

    void MixVoice(Voice& v, float* out, int frames, double heardStart) {
        const double step = static_cast<double>(v.frequency) / rate;
        float targetL, targetR;
        v.TargetGains(targetL, targetR);
        ApplyMode(mode, targetL, targetR);
        // Outside stereo, a stereo wave is heard as one signal.
        const bool fold = mode != ChannelMode::Stereo && v.channels == 2;
        if (!v.rendered) {
            v.gainL = targetL;
            v.gainR = targetR;
            v.rendered = true;
        }
        const float startL = v.gainL, startR = v.gainR;
        const int ramp = std::min(frames, kRampFrames);

        v.Push(Anchor{heardStart, v.cursor, static_cast<double>(v.frequency), false});

        const double n = v.frames;
        if (!v.looping && v.cursor >= n) {
            v.cursor = n;
            v.ended = true;
            v.endHeard = heardStart;
            return;
        }
        double local = v.looping ? std::fmod(v.cursor, n) : v.cursor;
        int k = 0;
        for (; k < frames; ++k) {
            const auto i = static_cast<uint32_t>(local);
            const float frac = static_cast<float>(local - i);
            uint32_t j = i + 1;
            if (j >= v.frames) j = v.looping ? 0 : i;
            float gl = targetL, gr = targetR;
            if (k < ramp) {
                const float w = static_cast<float>(k + 1) / static_cast<float>(ramp);
                gl = startL + (targetL - startL) * w;
                gr = startR + (targetR - startR) * w;
            }
            const float a0 = v.Sample(i, 0), a1 = v.Sample(j, 0);
            float left = a0 + (a1 - a0) * frac;
            float right = left;
            if (v.channels == 2) {
                const float b0 = v.Sample(i, 1), b1 = v.Sample(j, 1);
                right = b0 + (b1 - b0) * frac;
                if (fold) left = right = 0.5f * (left + right);
            }
            out[2 * k] += gl * left;
            out[2 * k + 1] += gr * right;

            local += step;
            if (local >= n) {
                if (v.looping) {
                    local -= n * std::floor(local / n);
                    if (local < 0 || local >= n) local = 0;
                } else {
                    ++k;
                    break;
                }
            }
        }
        v.gainL = targetL;
        v.gainR = targetR;
        v.cursor += k * step;
        if (!v.looping && v.cursor >= n) {
            v.cursor = n;
            v.ended = true;
            v.endHeard = heardStart + static_cast<double>(k) / rate;
        }
    }

    // Next queued speech sample, or false when the queue has run dry.
    bool PopSpeech(float& sample) {
        while (spent < chunks.size()) {
            SpeechChunk& c = chunks[spent];
            if (c.mark) {
                // Room is reserved ahead, so the audio thread does not allocate.
                if (heardCaptions.size() < heardCaptions.capacity()) heardCaptions.push_back(std::move(c.caption));
                c.mark = false;
                --marksQueued;
                ++spent;
                readIdx = 0;
                continue;
            }
            if (readIdx < c.samples.size()) {
                sample = c.samples[readIdx++] * (1.0f / 32768.0f);
                speechStep = static_cast<double>(c.rate) / rate;
                if (awaitingFirst) {
                    awaitingFirst = false;
                    firstRender = callbackTime;
                }
                return true;
            }
            ++spent;
            readIdx = 0;
        }
        return false;
    }

    // Linear interpolation from the engine's rate to the device rate. The
    // interpolation starts from and ends on silence, so neither edge clicks.
    void MixSpeech(float* out, int frames, double heardStart) {
        if (!primed) {
            prevSample = 0;
            if (!PopSpeech(nextSample)) {
                speaking = false;
                return;
            }
            phase = 0;
            primed = true;
            draining = false;
        }
        const float toLeft = mode == ChannelMode::Right ? 0.0f : 1.0f;
        const float toRight = mode == ChannelMode::Left ? 0.0f : 1.0f;
        for (int k = 0; k < frames; ++k) {
            while (phase >= 1.0) {
                phase -= 1.0;
                prevSample = nextSample;
                if (PopSpeech(nextSample)) {
                    draining = false;
                } else if (!draining) {
                    nextSample = 0;  // play the last sample out towards silence
                    draining = true;
                } else {
                    // Ran dry and played out: the channel goes idle.
                    speaking = false;
                    primed = false;
                    draining = false;
                    speechEndHeard = heardStart + static_cast<double>(k) / rate;
                    return;
                }
            }
            const float s = (prevSample + (nextSample - prevSample) * static_cast<float>(phase)) * speechGain;
            out[2 * k] += s * toLeft;
            out[2 * k + 1] += s * toRight;
            phase += speechStep;
        }
    }

    bool SpeechPendingLocked(double now) const { return speaking || now < speechEndHeard; }
};

// The buffer object handed to the game. Every member takes the mixer's lock.
class MixerBuffer : public SoundBuffer {
public:
    MixerBuffer(std::shared_ptr<Core> core, std::shared_ptr<Voice> voice)
        : core_(std::move(core)), voice_(std::move(voice)) {}

    ~MixerBuffer() override {
        std::shared_ptr<Voice> keep;  // freed after the lock is released
        std::lock_guard lock(core_->mu);
        auto& list = core_->voices;
        auto it = std::find(list.begin(), list.end(), voice_);
        if (it != list.end()) {
            keep = std::move(*it);
            *it = std::move(list.back());
            list.pop_back();
        }
    }

    MixerBuffer(const MixerBuffer&) = delete;
    MixerBuffer& operator=(const MixerBuffer&) = delete;

    void SetCurrentPosition(uint32_t byteOffset) override {
        const double now = core_->clock.now();
        std::lock_guard lock(core_->mu);
        Voice& v = *voice_;
        v.Settle(now);
        const uint32_t bytes = std::min(byteOffset, v.dataBytes);
        v.cursor = bytes / v.blockAlign;
        v.ended = false;
        v.rendered = false;
        v.Push(Anchor{now, v.cursor, 0, true});
    }

    uint32_t GetCurrentPosition() override { return GetPositionAt(core_->clock.now()); }

    uint32_t GetPositionAt(double clockTime) override {
        const double now = core_->clock.now();
        std::lock_guard lock(core_->mu);
        Voice& v = *voice_;
        v.Settle(now);
        if (!v.playing && clockTime >= now) return v.ToBytes(v.cursor);
        return v.ToBytes(v.PositionAt(clockTime));
    }

    void SetVolume(int32_t volume) override {
        std::lock_guard lock(core_->mu);
        voice_->volume = std::clamp(volume, kMinVolume, 0);
    }

    void SetPan(int32_t pan) override {
        std::lock_guard lock(core_->mu);
        voice_->pan = std::clamp(pan, -10000, 10000);
    }

    void SetFrequency(uint32_t hz) override {
        std::lock_guard lock(core_->mu);
        voice_->frequency = std::clamp(hz, kMinFrequency, kMaxFrequency);
    }

    uint32_t GetFrequency() override {
        std::lock_guard lock(core_->mu);
        return voice_->frequency;
    }

    void Play(int flags) override {
        const double now = core_->clock.now();
        std::lock_guard lock(core_->mu);
        Voice& v = *voice_;
        v.Settle(now);
        const bool loop = (flags & kPlayLooping) != 0;
        if (v.playing) {
            // Already playing: only the looping flag changes. A one-shot that
            // has rendered its end but is still being heard carries on looping.
            if (loop && v.ended) v.ended = false;
            v.looping = loop;
            return;
        }
        v.looping = loop;
        // A one-shot that has played to its end starts again from the start.
        if (!loop && v.cursor >= v.frames) v.cursor = 0;
        v.playing = true;
        v.ended = false;
        v.rendered = false;
        v.Push(Anchor{now, v.cursor, 0, true});
    }

    void Stop() override {
        const double now = core_->clock.now();
        std::lock_guard lock(core_->mu);
        Voice& v = *voice_;
        v.Settle(now);
        if (!v.playing) return;
        // The cursor goes back to what the listener hears now; the next Play
        // resumes from there.
        double p = v.PositionAt(now);
        if (v.looping) p = std::fmod(p, static_cast<double>(v.frames));
        v.cursor = std::min(p, static_cast<double>(v.frames));
        v.playing = false;
        v.ended = false;
        v.Push(Anchor{now, v.cursor, 0, true});
    }

    int GetStatus() override {
        const double now = core_->clock.now();
        std::lock_guard lock(core_->mu);
        Voice& v = *voice_;
        v.Settle(now);
        if (!v.playing) return kStatusStopped;
        return v.looping ? kStatusLooping : kStatusPlaying;
    }

    uint32_t DataBytes() const override { return voice_->dataBytes; }

private:
    std::shared_ptr<Core> core_;
    std::shared_ptr<Voice> voice_;
};

std::shared_ptr<Voice> MakeVoice(WaveData wave) {
    if (wave.channels != 1 && wave.channels != 2) throw HostError("wave has " + std::to_string(wave.channels) + " channels");
    if (wave.bitsPerSample != 8 && wave.bitsPerSample != 16) {
        throw HostError("wave has " + std::to_string(wave.bitsPerSample) + " bits per sample");
    }
    const uint32_t block = wave.channels * (wave.bitsPerSample / 8u);
    if (wave.blockAlign != block) throw HostError("wave block align does not match its format");
    const size_t frames = wave.bytes.size() / block;
    if (frames == 0) throw HostError("wave has no sound data");
    if (frames * block > std::numeric_limits<uint32_t>::max()) throw HostError("wave data too long");

    auto v = std::make_shared<Voice>();
    v->channels = wave.channels;
    v->frames = static_cast<uint32_t>(frames);
    v->blockAlign = block;
    v->dataBytes = static_cast<uint32_t>(frames * block);
    v->frequency = std::clamp(wave.sampleRate, kMinFrequency, kMaxFrequency);
    const size_t count = frames * wave.channels;
    v->samples.resize(count);
    if (wave.bitsPerSample == 8) {
        for (size_t i = 0; i < count; ++i) v->samples[i] = static_cast<int16_t>((wave.bytes[i] - 128) * 256);
    } else {
        for (size_t i = 0; i < count; ++i) {
            v->samples[i] = static_cast<int16_t>(wave.bytes[2 * i] | (wave.bytes[2 * i + 1] << 8));
        }
    }
    return v;
}

}  // namespace

class Mixer::Impl {
public:
    Impl(const Clock& clock, int rate) : core(std::make_shared<Core>(clock, rate)) {}
    std::shared_ptr<Core> core;
    std::unique_ptr<SoundBuffer> beep;
};

Mixer::Mixer(const Clock& clock, int deviceRate)
    : impl_(std::make_unique<Impl>(clock, std::max(deviceRate, 1000))) {}

Mixer::~Mixer() = default;

std::unique_ptr<SoundBuffer> Mixer::CreateSoundBufferFromFile(const std::string& path) {
    return CreateSoundBuffer(LoadWave(path));
}

std::unique_ptr<SoundBuffer> Mixer::CreateSoundBuffer(WaveData wave) {
    auto voice = MakeVoice(std::move(wave));
    Core& m = *impl_->core;
    {
        std::lock_guard lock(m.mu);
        m.voices.push_back(voice);
    }
    return std::make_unique<MixerBuffer>(impl_->core, std::move(voice));
}

std::unique_ptr<SoundBuffer> Mixer::CreateTone(uint32_t hz) {
    hz = std::clamp(hz, 20u, 4000u);
    const uint32_t perCycle = (kToneRate + hz / 2) / hz;
    const uint32_t frames = perCycle * std::max(1u, kToneRate / 10 / perCycle);
    WaveData tone;
    tone.channels = 1;
    tone.bitsPerSample = 16;
    tone.blockAlign = 2;
    tone.sampleRate = hz * perCycle;
    tone.bytes.resize(2 * static_cast<size_t>(frames));
    for (uint32_t i = 0; i < frames; ++i) {
        const double phase = 2 * std::numbers::pi * (i % perCycle) / perCycle;
        const auto s = static_cast<int16_t>(std::lround(32767.0 * kToneAmplitude * std::sin(phase)));
        tone.bytes[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(s & 0xff);
        tone.bytes[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>((s >> 8) & 0xff);
    }
    return CreateSoundBuffer(std::move(tone));
}

// A 4 ms burst of 2 kHz under a falling edge, as loud at its peak as the
// game's effects, then silence to the end of the period.
std::unique_ptr<SoundBuffer> Mixer::CreateClick(uint32_t periodMs) {
    periodMs = std::clamp(periodMs, 100u, 4000u);
    const uint32_t frames = kToneRate / 1000 * periodMs;
    const uint32_t burst = kToneRate / 250;
    WaveData click;
    click.channels = 1;
    click.bitsPerSample = 16;
    click.blockAlign = 2;
    click.sampleRate = kToneRate;
    click.bytes.assign(2 * static_cast<size_t>(frames), 0);
    for (uint32_t i = 0; i < burst; ++i) {
        const double fall = 1.0 - static_cast<double>(i) / burst;
        const double phase = 2 * std::numbers::pi * 2000.0 * i / kToneRate;
        const auto s = static_cast<int16_t>(std::lround(32767.0 * 2 * kToneAmplitude * fall * std::sin(phase)));
        click.bytes[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(s & 0xff);
        click.bytes[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>((s >> 8) & 0xff);
    }
    return CreateSoundBuffer(std::move(click));
}

void Mixer::SetChannelMode(ChannelMode mode) {
    Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    m.mode = mode;
}

void Mixer::Beep() {
    if (!impl_->beep) {
        // 0.15 s of 800 Hz at about a third of full scale, with 5 ms fades so
        // that neither edge clicks.
        constexpr int kRate = 48000, kFrames = 7200, kFade = 240;
        WaveData tone;
        tone.channels = 1;
        tone.bitsPerSample = 16;
        tone.blockAlign = 2;
        tone.sampleRate = kRate;
        tone.bytes.resize(2 * kFrames);
        for (int i = 0; i < kFrames; ++i) {
            const double env = std::min({1.0, static_cast<double>(i) / kFade, static_cast<double>(kFrames - 1 - i) / kFade});
            const auto s = static_cast<int16_t>(std::lround(11000.0 * env * std::sin(2 * std::numbers::pi * 800.0 * i / kRate)));
            tone.bytes[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(s & 0xff);
            tone.bytes[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>((s >> 8) & 0xff);
        }
        impl_->beep = CreateSoundBuffer(std::move(tone));
    }
    impl_->beep->Stop();
    impl_->beep->SetCurrentPosition(0);
    impl_->beep->Play(kPlayOnce);
}

void Mixer::Render(int16_t* out, int frames, double callbackTime) {
    std::array<float, 2 * kBlockFrames> mix;
    Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    const double start = m.UpdateStream(callbackTime, frames);
    for (int done = 0; done < frames;) {
        const int n = std::min(kBlockFrames, frames - done);
        m.MixLocked(mix.data(), n, start + static_cast<double>(done) / m.rate);
        for (int i = 0; i < 2 * n; ++i) {
            const float s = std::clamp(mix[static_cast<size_t>(i)] * 32768.0f, -32768.0f, 32767.0f);
            out[2 * done + i] = static_cast<int16_t>(std::lrint(s));
        }
        done += n;
    }
}

void Mixer::RenderFloat(float* out, int frames, double callbackTime) {
    Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    const double start = m.UpdateStream(callbackTime, frames);
    m.MixLocked(out, frames, start);
}

void Mixer::SetOutputLatency(double seconds) {
    Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    m.latency = std::max(0.0, seconds);
    m.haveStream = false;
}

int Mixer::DeviceRate() const { return impl_->core->rate; }

const Clock& Mixer::clock() const { return impl_->core->clock; }

void Mixer::SpeechAppend(const int16_t* samples, size_t count, int rate) {
    if (count == 0 || samples == nullptr) return;
    SpeechChunk chunk;
    chunk.samples.assign(samples, samples + count);
    chunk.rate = std::clamp(rate, 1000, 200000);
    std::vector<SpeechChunk> played;  // chunks already played, freed after unlocking
    played.reserve(16);
    Core& m = *impl_->core;
    const double now = m.clock.now();
    std::lock_guard lock(m.mu);
    while (m.spent > 0 && played.size() < played.capacity()) {
        played.push_back(std::move(m.chunks.front()));
        m.chunks.pop_front();
        --m.spent;
    }
    if (!m.SpeechPendingLocked(now)) {
        m.awaitingFirst = true;
        m.firstRender = -1;
    }
    m.chunks.push_back(std::move(chunk));
    m.speaking = true;
}

void Mixer::SpeechMark(std::string caption) {
    SpeechChunk chunk;
    chunk.mark = true;
    chunk.caption = std::move(caption);
    Core& m = *impl_->core;
    const double now = m.clock.now();
    std::lock_guard lock(m.mu);
    if (!m.SpeechPendingLocked(now)) {
        m.awaitingFirst = true;
        m.firstRender = -1;
    }
    m.chunks.push_back(std::move(chunk));
    ++m.marksQueued;
    m.speaking = true;
}

std::vector<std::string> Mixer::SpeechTakeCaptions() {
    std::vector<std::string> fresh;
    fresh.reserve(kCaptionRoom);
    Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    fresh.swap(m.heardCaptions);
    return fresh;
}

bool Mixer::SpeechCaptionsWaiting() const {
    const Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    return m.marksQueued > 0 || !m.heardCaptions.empty();
}

void Mixer::SpeechPurge() {
    std::deque<SpeechChunk> dropped;  // freed after unlocking
    Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    dropped.swap(m.chunks);
    m.marksQueued = 0;  // never heard, never captioned
    m.spent = 0;
    m.readIdx = 0;
    m.speaking = false;
    m.primed = false;
    m.draining = false;
    m.prevSample = m.nextSample = 0;
    m.phase = 0;
    m.speechEndHeard = kNever;
    m.awaitingFirst = false;
    m.firstRender = -1;
}

void Mixer::SpeechSetGain(double linear) {
    Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    m.speechGain = static_cast<float>(std::clamp(linear, 0.0, 1.0));
}

bool Mixer::SpeechPending() const {
    const Core& m = *impl_->core;
    const double now = m.clock.now();
    std::lock_guard lock(m.mu);
    return m.SpeechPendingLocked(now);
}

double Mixer::SpeechFirstRenderTime() const {
    const Core& m = *impl_->core;
    std::lock_guard lock(m.mu);
    return m.firstRender;
}

}  // namespace sw::host::real
