// The platform seams. Everything above src/host talks to these interfaces only;
// the real implementation sits on SDL2 and libespeak-ng, the simulated one runs
// in virtual time for the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace sw::host {

// Raised by a host operation that cannot be carried out (a file that cannot be
// read, a wave file that is not PCM, ...). Callers abandon the operation.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Monotonic seconds with fractions. Never jumps, never wraps at midnight.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

// Playback status values, as the game tests them.
inline constexpr int kStatusStopped = 0;
inline constexpr int kStatusPlaying = 1;
inline constexpr int kStatusLooping = 5;

inline constexpr int kPlayOnce = 0;
inline constexpr int kPlayLooping = 1;

// One sound buffer, created from one wave file. Volume is in hundredths of a
// decibel (0 full, -10000 silent), pan -10000 (left) .. 10000 (right), the
// frequency is the playback rate of the buffer's samples in Hz.
class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;
    virtual void SetCurrentPosition(uint32_t byteOffset) = 0;
    // Byte offset in the wave data of the sample the listener hears now.
    virtual uint32_t GetCurrentPosition() = 0;
    // The same, at a given clock time in the recent past (or now): a key's
    // time stamp is turned into the position of the sound heard at that time.
    virtual uint32_t GetPositionAt(double clockTime) = 0;
    virtual void SetVolume(int32_t volume) = 0;
    virtual void SetPan(int32_t pan) = 0;
    virtual void SetFrequency(uint32_t hz) = 0;
    virtual uint32_t GetFrequency() = 0;
    virtual void Play(int flags) = 0;
    virtual void Stop() = 0;
    virtual int GetStatus() = 0;
    // Length of the wave data in bytes.
    virtual uint32_t DataBytes() const = 0;
};

// How the mix reaches the ears (a player's option): stereo as panned; mono,
// each voice at the larger of its two gains on both sides; left or right,
// that on one side and silence on the other.
enum class ChannelMode { Stereo, Mono, Left, Right };

class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // Stereo until the player chooses otherwise.
    virtual void SetChannelMode(ChannelMode /*mode*/) {}
    // Throws HostError when the file is missing or not a wave file we can play.
    virtual std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& path) = 0;
    // A buffer of whole cycles of a sine that sounds at `hz` when played at
    // its own frequency (GetFrequency) and moves in proportion to it; meant
    // to loop, as loud as the game's effects (20 dB under full scale, RMS).
    // Throws HostError when the device makes no tones.
    virtual std::unique_ptr<SoundBuffer> CreateTone(uint32_t /*hz*/) { throw HostError("no tones on this device"); }
    // A metronome: a buffer `periodMs` long holding one short click at its
    // start and silence after it, meant to loop; its position tells how far
    // the listener is from the last click. Throws HostError when the device
    // makes no clicks.
    virtual std::unique_ptr<SoundBuffer> CreateClick(uint32_t /*periodMs*/) { throw HostError("no clicks on this device"); }
    // A short system tone.
    virtual void Beep() = 0;
};

// Speech running states.
inline constexpr int kSpeechDone = 1;
inline constexpr int kSpeechSpeaking = 2;

// Speak flags.
inline constexpr int kSpeakWait = 0;
inline constexpr int kSpeakAsync = 1;
inline constexpr int kSpeakPurge = 2;

// One voice object. A fresh object starts with the engine's defaults: voice 0,
// rate 0, volume 100.
class SpeechVoice {
public:
    virtual ~SpeechVoice() = default;
    // 0: speak and return when done; 1: queue and return at once;
    // 2 with empty text: drop everything queued and stop at once.
    virtual void Speak(const std::string& text, int flags) = 0;
    // kSpeechSpeaking from the moment something is queued until its last
    // sample has been heard, kSpeechDone otherwise.
    virtual int RunningState() = 0;
    virtual int Rate() = 0;
    virtual void SetRate(int rate) = 0;      // -10..10, clamped
    virtual void SetVolume(int volume) = 0;  // 0..100, clamped
    // False (and the voice unchanged) when there is no voice of that index.
    virtual bool SelectVoice(int index) = 0;
};

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    virtual int VoiceCount() = 0;
    virtual std::string VoiceName(int index) = 0;
    // Throws HostError when the engine cannot be used.
    virtual std::unique_ptr<SpeechVoice> CreateVoice() = 0;
    // Hears each text of its voices as it starts to sound, when its caption
    // is written; an empty function hears none. It may be called on any of
    // the engine's threads, always before a purge that follows returns, and
    // must not call the engine.
    virtual void OnStarted(std::function<void(const std::string& text)> /*listener*/) {}
    // The index of the player's own voice, the one their screen reader
    // speaks with, or -1 when the system has none. On Linux asking reaches
    // out to the system's speech service, so it is asked only once the
    // player looks for that voice; once the service answers, VoiceCount
    // counts the voice and it is the last. On Windows it is the first
    // installed voice. Why there is none is told on standard error.
    virtual int FindSystemVoice() { return -1; }
};

// Receives the window's events during Yield.
class EventSink {
public:
    virtual ~EventSink() = default;
    // code: the Windows virtual-key number; time: clock time of the key-down.
    virtual void KeyDown(int code, double time) = 0;
    virtual void CloseRequest() = 0;
    // The session is ending (SIGTERM, SIGHUP): the program is to save what
    // must not be lost and end, without asking.
    virtual void TerminateRequest() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;
    virtual void SetEventSink(EventSink* sink) = 0;
    // Processes pending events, delivering them to the sink; sleeps until
    // the next event or a short tick when there is none.
    virtual void Yield() = 0;
    // The same for a program that has nothing to do but wait for a key: the
    // sleep may last up to `maxSeconds`, and an event still ends it at once.
    virtual void Wait(double maxSeconds) = 0;
    // Modal message with an OK button; also written to standard error.
    virtual void MessageBox(const std::string& text) = 0;
    // Starts another program without waiting for it. False when it could not be started.
    virtual bool StartProgram(const std::string& path) = 0;
    // The file name of the program called `name` on this system ("vellobar",
    // or "vellobar.exe" on Windows).
    virtual std::string ProgramFile(const std::string& name) = 0;
};

// Where the program's files live.
struct Folders {
    std::string program;    // folder of the running executable
    std::string sounds;     // the wave files
    std::string defaults;   // the files a new data folder starts with ("" when none ship)
    std::string documents;  // the user's documents folder ("" when there is no home)
    std::string working;    // the current folder
};

// The whole platform, as handed to the game's objects.
class Host {
public:
    virtual ~Host() = default;
    virtual Clock& clock() = 0;
    virtual Platform& platform() = 0;
    virtual SoundDevice& sound() = 0;
    virtual SpeechEngine& speech() = 0;
    virtual const Folders& folders() const = 0;
};

}  // namespace sw::host
