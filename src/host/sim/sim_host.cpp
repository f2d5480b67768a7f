#include "host/sim/sim_host.h"

#include "host/files.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace sw::host::sim {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string SoundName(const std::string& path) {
    std::string base = std::filesystem::path(path).filename().string();
    base = Lower(base);
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".wav") == 0) base.resize(base.size() - 4);
    return base;
}

class SimVoice : public SpeechVoice {
public:
    explicit SimVoice(SimHost& host) : host_(host) {}
    ~SimVoice() override {
        if (host_.speechBusy()) host_.SpeechPurgeAll();
    }

    void Speak(const std::string& text, int flags) override {
        host_.Acted();
        if (flags & kSpeakPurge) {
            host_.SpeechPurgeAll();
            if (text.empty()) return;
        }
        Utterance u;
        u.text = text;
        u.flags = flags;
        u.voice = voice_;
        u.rate = rate_;
        u.volume = volume_;
        u.duration = SimHost::Duration(text, rate_);
        u.queued = host_.clock().now();
        host_.mutableUtterances().push_back(u);
        host_.SpeechSettle();
        if (!(flags & kSpeakAsync)) {
            // Speaking synchronously: time passes, the script runs, but no
            // event reaches the program until its next Yield.
            while (host_.speechBusy()) host_.Step(1e9);
        }
    }
    int RunningState() override { return host_.speechBusy() ? kSpeechSpeaking : kSpeechDone; }
    int Rate() override { return rate_; }
    void SetRate(int rate) override { rate_ = std::clamp(rate, -10, 10); }
    void SetVolume(int volume) override { volume_ = std::clamp(volume, 0, 100); }
    bool SelectVoice(int index) override {
        if (index < 0 || index >= host_.speech().VoiceCount()) return false;
        voice_ = index;
        return true;
    }

private:
    SimHost& host_;
    int voice_ = 0;
    int rate_ = 0;
    int volume_ = 100;
};

}  // namespace

// ---------------------------------------------------------------------------
// SimBuffer

SimBuffer::SimBuffer(SimHost& host, std::string name, const WaveData& wave, uint32_t dataBytes, uint32_t fileBytes)
    : host_(host),
      name_(std::move(name)),
      sampleRate_(wave.sampleRate),
      blockAlign_(std::max<uint16_t>(wave.blockAlign, 1)),
      dataBytes_(dataBytes),
      fileBytes_(fileBytes),
      frames_(dataBytes / blockAlign_),
      frequency_(sampleRate_) {
    anchors_.push_back({host_.clock().now(), 0.0, 0.0});
    host_.BufferAlive(this, true);
    host_.Acted();
}

SimBuffer::~SimBuffer() {
    settle();
    if (playing_) endPlay(host_.clock().now());
    host_.BufferAlive(this, false);
    host_.Acted();
}

double SimBuffer::frameAt(double t) const {
    const Anchor* a = &anchors_.front();
    for (const Anchor& x : anchors_) {
        if (x.time <= t) a = &x;
        else break;
    }
    double f = a->frame + std::max(0.0, t - a->time) * a->rate;
    if (frames_ == 0) return 0;
    if (a->rate > 0 && looping_) f = std::fmod(f, frames_);
    return std::min(f, static_cast<double>(frames_));
}

void SimBuffer::anchor(double rate) {
    double t = host_.clock().now();
    double f = frameAt(t);
    if (anchors_.size() > 256) anchors_.erase(anchors_.begin(), anchors_.begin() + 128);
    anchors_.push_back({t, f, rate});
}

void SimBuffer::endPlay(double when) {
    if (playIndex_ >= 0) {
        SoundPlay& p = host_.soundPlay(playIndex_);
        if (p.stop < 0) p.stop = when;
    }
    playIndex_ = -1;
}

void SimBuffer::settle() {
    if (!playing_ || looping_) return;
    const Anchor& a = anchors_.back();
    if (a.rate <= 0) return;
    double te = a.time + (frames_ - a.frame) / a.rate;
    if (te <= host_.clock().now()) {
        playing_ = false;
        anchors_.push_back({te, static_cast<double>(frames_), 0.0});
        endPlay(te);
    }
}

bool SimBuffer::playing() {
    settle();
    return playing_;
}

double SimBuffer::EndTime() {
    settle();
    const Anchor& a = anchors_.back();
    if (!playing_ || looping_ || a.rate <= 0) return -1;
    return a.time + (frames_ - a.frame) / a.rate;
}

void SimBuffer::SetCurrentPosition(uint32_t byteOffset) {
    host_.Acted();
    settle();
    uint32_t frame = std::min(byteOffset / blockAlign_, frames_);
    anchors_.push_back({host_.clock().now(), static_cast<double>(frame), anchors_.back().rate});
}

uint32_t SimBuffer::GetPositionAt(double clockTime) {
    settle();
    if (playing_) polled_ = true;
    double t = std::min(clockTime, host_.clock().now());
    double f = frameAt(t);
    auto frame = static_cast<uint32_t>(std::floor(f + 1e-6));
    frame = std::min(frame, frames_);
    return frame * blockAlign_;
}

uint32_t SimBuffer::GetCurrentPosition() { return GetPositionAt(host_.clock().now()); }

double SimBuffer::TimeOfPosition(uint32_t byteOffset) {
    settle();
    const Anchor& a = anchors_.back();
    if (!playing_ || a.rate <= 0) return -1;
    double target = static_cast<double>(byteOffset) / blockAlign_;
    if (target < a.frame) return -1;
    return a.time + (target - a.frame) / a.rate;
}

void SimBuffer::SetVolume(int32_t volume) {
    host_.Acted();
    if (volume < -10000 || volume > 0) host_.Fault("volume " + std::to_string(volume) + " asked of " + name_);
    volume_ = std::clamp(volume, -10000, 0);
}

void SimBuffer::SetPan(int32_t pan) {
    host_.Acted();
    if (pan < -10000 || pan > 10000) host_.Fault("pan " + std::to_string(pan) + " asked of " + name_);
    pan_ = std::clamp(pan, -10000, 10000);
    settle();
    if (playing_ && playIndex_ >= 0) host_.soundPlay(playIndex_).pans.emplace_back(host_.clock().now(), pan_);
}

void SimBuffer::SetFrequency(uint32_t hz) {
    host_.Acted();
    settle();
    frequency_ = std::clamp<uint32_t>(hz, 100, 200000);
    if (playing_) {
        anchor(frequency_);
        if (playIndex_ >= 0) host_.soundPlay(playIndex_).frequencies.emplace_back(host_.clock().now(), frequency_);
    }
}

uint32_t SimBuffer::GetFrequency() { return frequency_; }

void SimBuffer::Play(int flags) {
    host_.Acted();
    settle();
    looping_ = (flags & kPlayLooping) != 0;
    double t = host_.clock().now();
    double f = frameAt(t);
    if (f >= frames_) f = 0;
    if (!playing_) {
        polled_ = false;
        SoundPlay p;
        p.name = name_;
        p.start = t;
        p.volume = volume_;
        p.pan = pan_;
        p.frequency = frequency_;
        p.looping = looping_;
        playIndex_ = host_.AddSoundPlay(std::move(p));
    }
    playing_ = true;
    anchors_.push_back({t, f, static_cast<double>(frequency_)});
}

void SimBuffer::Stop() {
    host_.Acted();
    settle();
    if (!playing_) return;
    anchor(0);
    playing_ = false;
    endPlay(host_.clock().now());
}

int SimBuffer::GetStatus() {
    settle();
    if (!playing_) return kStatusStopped;
    return looping_ ? kStatusLooping : kStatusPlaying;
}

uint32_t SimBuffer::DataBytes() const { return dataBytes_; }

// ---------------------------------------------------------------------------
// SimHost

SimHost::SimHost(const std::string& root, int voiceCount) : voiceCount_(voiceCount) {
    folders_.program = JoinPath(root, "program");
    folders_.sounds = JoinPath(root, "program/sounds");
    folders_.documents = JoinPath(root, "home/Documents");
    folders_.working = JoinPath(root, "program");
    MakeFolder(folders_.program);
    MakeFolder(folders_.sounds);
    MakeFolder(folders_.documents);
}

SimHost::~SimHost() = default;

double SimHost::Duration(const std::string& text, int rate) {
    size_t chars = 0;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) ++chars;
    if (chars == 0) return 0.0;
    return (0.1 + 0.06 * static_cast<double>(text.size())) / std::pow(3.0, rate / 10.0);
}

std::string SimHost::VoiceName(int index) { return "simulated voice " + std::to_string(index); }

void SimHost::SpeechSettle() {
    double prevEnd = -1;
    if (speechHead_ > 0) prevEnd = utterances_[speechHead_ - 1].end;
    while (speechHead_ < utterances_.size()) {
        Utterance& u = utterances_[speechHead_];
        if (u.start < 0) {
            double s = std::max(u.queued, prevEnd);
            if (s > now_) break;
            u.start = s;
            if (startListener_) startListener_(u.text);
        }
        double e = u.start + u.duration;
        if (e > now_) break;
        u.end = e;
        prevEnd = e;
        ++speechHead_;
    }
}

bool SimHost::speechBusy() {
    SpeechSettle();
    return speechHead_ < utterances_.size();
}

void SimHost::SpeechPurgeAll() {
    SpeechSettle();
    for (; speechHead_ < utterances_.size(); ++speechHead_) {
        Utterance& u = utterances_[speechHead_];
        u.end = now_;
        u.cut = true;
    }
}

std::vector<std::string> SimHost::Spoken() const {
    std::vector<std::string> out;
    for (const Utterance& u : utterances_)
        if (u.start >= 0) out.push_back(u.text);
    return out;
}

void SimHost::Advance(double seconds) {
    now_ += seconds;
    ++steps_;
    if (now_ > limit_) throw SimTimeout("simulated run passed its time limit");
    SpeechSettle();
    if (tick_ && !inTick_) {
        inTick_ = true;
        try {
            tick_();
        } catch (...) {
            inTick_ = false;
            throw;
        }
        inTick_ = false;
    }
}

void SimHost::WakeAt(double time) {
    if (skipAhead_ && time > now_) wakeups_.push_back(time);
}

double SimHost::NextMoment() {
    double t = now_ + kSkipCap;
    for (const Event& e : pending_) t = std::min(t, e.time);
    wakeups_.erase(std::remove_if(wakeups_.begin(), wakeups_.end(), [&](double w) { return w <= now_; }),
                   wakeups_.end());
    for (double w : wakeups_) t = std::min(t, w);
    if (speechBusy()) {
        const Utterance& u = utterances_[speechHead_];
        double start = u.start;
        if (start < 0) start = std::max(u.queued, speechHead_ > 0 ? utterances_[speechHead_ - 1].end : -1.0);
        t = std::min(t, start > now_ ? start : start + u.duration);
    }
    for (SimBuffer* b : live_) {
        if (!b->playing()) continue;
        if (b->polled()) return now_;  // the program follows this sound: fine steps
        double end = b->EndTime();
        if (end >= 0) t = std::min(t, end);
    }
    return t;
}

void SimHost::Step(double maxSeconds) {
    if (!skipAhead_) {
        Advance(quantum_);
        return;
    }
    const double t = std::min(NextMoment(), now_ + maxSeconds);
    // Whole quanta, landing where fine steps would first have seen it.
    double n = std::ceil((t - now_) / quantum_ - 1e-9);
    Advance(std::max(1.0, n) * quantum_);
}

void SimHost::Wait(double maxSeconds) {
    Step(maxSeconds);
    delivered_ = Deliver();
    actionsAtYield_ = actions_;
}

// Only a program polling in a loop may be moved on: a first Yield after the
// program did something, or after a key reached it, lasts one quantum, as a
// Yield of the real platform lasts about a millisecond when nothing comes.
void SimHost::Yield() {
    const bool polling = actions_ == actionsAtYield_ && !delivered_;
    if (polling) Step(kSkipCap);
    else Advance(quantum_);
    delivered_ = Deliver();
    actionsAtYield_ = actions_;
}

bool SimHost::Deliver() {
    if (pending_.empty() || sink_ == nullptr) return false;
    std::stable_sort(pending_.begin(), pending_.end(), [](const Event& a, const Event& b) { return a.time < b.time; });
    std::vector<Event> due;
    auto it = std::partition_point(pending_.begin(), pending_.end(), [&](const Event& e) { return e.time <= now_; });
    due.assign(pending_.begin(), it);
    pending_.erase(pending_.begin(), it);
    for (const Event& e : due) {
        if (e.code == -2) sink_->TerminateRequest();
        else if (e.code < 0) sink_->CloseRequest();
        else sink_->KeyDown(e.code, e.time);
    }
    return !due.empty();
}

void SimHost::PressKey(int code, double time) { pending_.push_back({time < 0 ? now_ : time, code}); }

void SimHost::RequestClose() { pending_.push_back({now_, -1}); }

void SimHost::RequestTerminate() { pending_.push_back({now_, -2}); }

void SimHost::MessageBox(const std::string& text) { messages_.push_back(text); }

bool SimHost::StartProgram(const std::string& path) {
    started_.push_back(path);
    return FileSize(path).has_value();
}

std::unique_ptr<SoundBuffer> SimHost::CreateSoundBufferFromFile(const std::string& path) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    const int64_t modified =
        ec ? 0 : std::filesystem::last_write_time(path, ec).time_since_epoch().count();
    auto known = waves_.find(path);
    if (ec || known == waves_.end() || known->second.size != size || known->second.modified != modified) {
        WaveData wave = LoadWave(path);  // throws for a missing or unplayable file
        const auto dataBytes = static_cast<uint32_t>(wave.bytes.size());
        wave.bytes.clear();
        if (ec) return std::make_unique<SimBuffer>(*this, SoundName(path), wave, dataBytes, 0);
        known = waves_.insert_or_assign(path, KnownWave{size, modified, wave, dataBytes}).first;
    }
    const KnownWave& k = known->second;
    return std::make_unique<SimBuffer>(*this, SoundName(path), k.format, k.dataBytes, static_cast<uint32_t>(size));
}

std::unique_ptr<SoundBuffer> SimHost::CreateTone(uint32_t hz) {
    if (!synthesis_) throw HostError("no tones on this device");
    hz = std::clamp(hz, 20u, 4000u);
    const uint32_t perCycle = (48000 + hz / 2) / hz;
    const uint32_t frames = perCycle * std::max(1u, 4800 / perCycle);
    WaveData format;
    format.channels = 1;
    format.bitsPerSample = 16;
    format.blockAlign = 2;
    format.sampleRate = hz * perCycle;
    return std::make_unique<SimBuffer>(*this, "tone", format, 2 * frames, 0);
}

std::unique_ptr<SoundBuffer> SimHost::CreateClick(uint32_t periodMs) {
    if (!synthesis_) throw HostError("no clicks on this device");
    periodMs = std::clamp(periodMs, 100u, 4000u);
    WaveData format;
    format.channels = 1;
    format.bitsPerSample = 16;
    format.blockAlign = 2;
    format.sampleRate = 48000;
    return std::make_unique<SimBuffer>(*this, "click", format, 2 * 48 * periodMs, 0);
}

// Not an action: choosing the mode moves no sound, so a program that sets it
// at start-up steps through virtual time as one that does not.
void SimHost::SetChannelMode(ChannelMode mode) {
    if (mode == channelMode_) return;
    channelMode_ = mode;
    channelModes_.emplace_back(now_, mode);
}

std::unique_ptr<SpeechVoice> SimHost::CreateVoice() { return std::make_unique<SimVoice>(*this); }

int SimHost::AddSoundPlay(SoundPlay p) {
    sounds_.push_back(std::move(p));
    return static_cast<int>(sounds_.size()) - 1;
}

void SimHost::BufferAlive(SimBuffer* b, bool alive) {
    if (alive) live_.push_back(b);
    else live_.erase(std::remove(live_.begin(), live_.end(), b), live_.end());
}

}  // namespace sw::host::sim
