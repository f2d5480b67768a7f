// The simulated host: virtual time advanced only by Yield, scripted keys,
// recorded speech, sounds and started programs. Whole programs run on it in
// milliseconds of real time.
#pragma once

#include "host/host.h"
#include "host/wav.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sw::host::sim {

// One utterance as the engine received it.
struct Utterance {
    std::string text;
    int flags = 0;
    int voice = 0;
    int rate = 0;
    int volume = 100;
    double duration = 0;    // seconds it lasts when heard to its end
    double queued = 0;      // clock time Speak was called
    double start = -1;      // clock time it started to sound; -1 if never (purged first)
    double end = -1;        // clock time it ended or was cut; -1 while still queued/playing
    bool cut = false;       // purged before its natural end
};

// One play of a sound buffer.
struct SoundPlay {
    std::string name;       // file name without folder and ".wav", lower case
    double start = 0;
    double stop = -1;       // -1 while still sounding
    int32_t volume = 0;
    int32_t pan = 0;        // pan when the play started
    uint32_t frequency = 0; // rate when the play started
    bool looping = false;
    std::vector<std::pair<double, int32_t>> pans;          // later pan changes
    std::vector<std::pair<double, uint32_t>> frequencies;  // later rate changes
};

class SimHost;

class SimBuffer : public SoundBuffer {
public:
    // `wave` gives the format; its samples are not kept, only their length.
    SimBuffer(SimHost& host, std::string name, const WaveData& wave, uint32_t dataBytes, uint32_t fileBytes);
    ~SimBuffer() override;

    void SetCurrentPosition(uint32_t byteOffset) override;
    uint32_t GetCurrentPosition() override;
    uint32_t GetPositionAt(double clockTime) override;
    void SetVolume(int32_t volume) override;
    void SetPan(int32_t pan) override;
    void SetFrequency(uint32_t hz) override;
    uint32_t GetFrequency() override;
    void Play(int flags) override;
    void Stop() override;
    int GetStatus() override;
    uint32_t DataBytes() const override;

    const std::string& name() const { return name_; }
    uint32_t fileBytes() const { return fileBytes_; }
    bool playing();
    // Index in the host's record of sounds of the current play (-1 when
    // stopped): tells one play from another, where the buffer's address may
    // be used again by the next.
    int playIndex() const { return playIndex_; }
    // The program has read the position of the current play.
    bool polled() const { return polled_; }
    // Clock time at which a one-shot play ends if nothing changes, or a
    // negative value when it is not playing or loops.
    double EndTime();
    // Clock time at which the heard position reaches `byteOffset` if nothing
    // changes, or a negative value when it never will.
    double TimeOfPosition(uint32_t byteOffset);

private:
    struct Anchor {
        double time;
        double frame;  // position in sample frames
        double rate;   // frames per second, 0 while stopped
    };
    void settle();             // applies the end of a one-shot play up to now
    double frameAt(double t) const;
    void anchor(double rate);  // starts a new segment at now
    void endPlay(double when);

    SimHost& host_;
    std::string name_;
    uint32_t sampleRate_;
    uint16_t blockAlign_;
    uint32_t dataBytes_;
    uint32_t fileBytes_;
    uint32_t frames_;
    int32_t volume_ = 0;
    int32_t pan_ = 0;
    uint32_t frequency_;
    bool playing_ = false;
    bool looping_ = false;
    bool polled_ = false;
    std::vector<Anchor> anchors_;
    int playIndex_ = -1;  // index in the host's sound record of the current play
};

class SimHost : public Host,
                private Clock,
                private Platform,
                private SoundDevice,
                private SpeechEngine {
public:
    // `root` is a temporary folder for this run: the program, sounds,
    // documents and working folders default to subfolders of it.
    explicit SimHost(const std::string& root, int voiceCount = 3);
    ~SimHost() override;

    Clock& clock() override { return *this; }
    Platform& platform() override { return *this; }
    SoundDevice& sound() override { return *this; }
    SpeechEngine& speech() override { return *this; }
    const Folders& folders() const override { return folders_; }

    // --- script side -------------------------------------------------------
    // The folders, for a test that places them elsewhere (no default files
    // ship unless a test says where they are).
    Folders& editFolders() { return folders_; }
    // Length of virtual time one Yield advances.
    void SetQuantum(double seconds) { quantum_ = seconds; }
    double quantum() const { return quantum_; }
    // Lets Yield and Wait move straight on, in whole quanta, to the first
    // moment something can happen: a key or wake-up due, speech starting or
    // ending, a sound ending; never more than `kSkipCap` at once. While a
    // sound whose position the program reads is playing, every Yield is one
    // quantum as before.
    void SetSkipAhead(bool on) { skipAhead_ = on; }
    bool skipAhead() const { return skipAhead_; }
    static constexpr double kSkipCap = 0.05;
    // The script wants a tick at (or just after) `time`.
    void WakeAt(double time);
    // How many times virtual time moved on.
    uint64_t steps() const { return steps_; }
    // Called after every advance of virtual time, before events are delivered.
    void OnTick(std::function<void()> fn) { tick_ = std::move(fn); }
    // A key-down at `time` (default: now); delivered at the next Yield.
    void PressKey(int code, double time = -1);
    void RequestClose();
    // As a SIGTERM would: delivered at the next Yield.
    void RequestTerminate();
    // Ends a run that would otherwise wait for ever: every Yield after this
    // many virtual seconds throws SimTimeout.
    void SetTimeLimit(double seconds) { limit_ = seconds; }
    // A device that makes no tones and no clicks: both throw HostError.
    void SetSynthesis(bool on) { synthesis_ = on; }

    // --- record ----------------------------------------------------------------
    const std::vector<Utterance>& utterances() const { return utterances_; }
    // Texts that started to sound, in order.
    std::vector<std::string> Spoken() const;
    const std::vector<SoundPlay>& sounds() const { return sounds_; }
    const std::vector<std::string>& started() const { return started_; }
    const std::vector<std::string>& messages() const { return messages_; }
    int beeps() const { return beeps_; }
    // The channel mode the program chose, and when it changed it (empty
    // while it has stayed stereo).
    ChannelMode channelMode() const { return channelMode_; }
    const std::vector<std::pair<double, ChannelMode>>& channelModes() const { return channelModes_; }
    // Requests the platform could not carry out as asked (a volume or pan
    // out of its range, clamped), in words.
    const std::vector<std::string>& faults() const { return faults_; }
    void Fault(std::string what) { faults_.push_back(std::move(what)); }
    // The buffers alive now (for bots that swing at a pitch).
    std::vector<SimBuffer*> liveBuffers() const { return live_; }
    // Seconds a text lasts at a rate; the simulated engine's only model.
    static double Duration(const std::string& text, int rate);
    // Names of the simulated voices.
    std::string VoiceName(int index) override;
    void SetVoiceCount(int n) { voiceCount_ = n; }

    // --- used by the simulated objects ------------------------------------------
    void Advance(double seconds);  // moves virtual time, running the script
    void SpeechSettle();           // starts and ends utterances up to now
    int AddSoundPlay(SoundPlay p);
    SoundPlay& soundPlay(int index) { return sounds_[static_cast<size_t>(index)]; }
    void BufferAlive(SimBuffer* b, bool alive);

    std::vector<Utterance>& mutableUtterances() { return utterances_; }
    bool speechBusy();
    void SpeechPurgeAll();
    // The program changed something (spoke, played, moved a sound ...).
    void Acted() { ++actions_; }
    // Moves on to the next moment worth a look, at most `maxSeconds` ahead
    // (one quantum unless skipping ahead).
    void Step(double maxSeconds);

private:
    // Clock
    double now() const override { return now_; }
    // Platform
    void SetEventSink(EventSink* sink) override { sink_ = sink; }
    void Yield() override;
    void Wait(double maxSeconds) override;
    void MessageBox(const std::string& text) override;
    bool StartProgram(const std::string& path) override;
    std::string ProgramFile(const std::string& name) override { return name; }
    // SoundDevice
    std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& path) override;
    // A buffer named "tone": whole cycles of `hz` at about 48000 Hz.
    std::unique_ptr<SoundBuffer> CreateTone(uint32_t hz) override;
    // A buffer named "click": `periodMs` of 48000 Hz frames.
    std::unique_ptr<SoundBuffer> CreateClick(uint32_t periodMs) override;
    void SetChannelMode(ChannelMode mode) override;
    void Beep() override { ++beeps_; }
    // SpeechEngine
    int VoiceCount() override { return voiceCount_; }
    std::unique_ptr<SpeechVoice> CreateVoice() override;
    void OnStarted(std::function<void(const std::string& text)> listener) override {
        startListener_ = std::move(listener);
    }

    struct Event {
        double time;
        int code;  // -1: close request, -2: terminate request
    };

    Folders folders_;
    double now_ = 0;
    double quantum_ = 0.001;
    double limit_ = 3600 * 6;
    std::function<void()> tick_;
    EventSink* sink_ = nullptr;
    std::vector<Event> pending_;
    std::vector<Utterance> utterances_;
    size_t speechHead_ = 0;  // first utterance not yet finished
    std::function<void(const std::string&)> startListener_;  // told as each utterance starts
    std::vector<SoundPlay> sounds_;
    std::vector<SimBuffer*> live_;
    std::vector<std::string> started_;
    std::vector<std::string> messages_;
    std::vector<std::string> faults_;
    int beeps_ = 0;
    ChannelMode channelMode_ = ChannelMode::Stereo;
    std::vector<std::pair<double, ChannelMode>> channelModes_;
    int voiceCount_;
    bool inTick_ = false;
    bool skipAhead_ = false;
    bool synthesis_ = true;
    std::vector<double> wakeups_;
    uint64_t steps_ = 0;
    uint64_t actions_ = 0;
    uint64_t actionsAtYield_ = 0;
    bool delivered_ = false;
    bool Deliver();
    double NextMoment();
    // Wave files already read, by path: a simulated game opens the same few
    // dozen files thousands of times.
    struct KnownWave {
        uintmax_t size;
        int64_t modified;
        WaveData format;
        uint32_t dataBytes;
    };
    std::map<std::string, KnownWave> waves_;
};

// Thrown by Yield when the time limit has passed.
struct SimTimeout : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace sw::host::sim
