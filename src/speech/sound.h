// Sound effects, the crowd ambience and its random life.
#pragma once

#include "host/host.h"
#include "input/keys.h"

#include <functional>
#include <memory>
#include <string>

namespace sw {

class Sound {
public:
    Sound(host::Host& host, Keys& keys);

    // The player's settings, read by every sound that starts: the level
    // (hundredths of a decibel, -5000..0) and the playback rate.
    int waveVolume = 0;
    int waveFrequency = 11026;
    // 1 while the crowd lives: the key waits let it act on each turn.
    int crowdOn = 0;

    // The two one-shot channels: the effect (what the game waits on) and the
    // overlay (a sound over it).
    enum class Channel { Effect, Overlay };
    // Full path of a wave file of the set, found ignoring case.
    std::string WavePath(const std::string& name) const;
    // Creates a buffer from the named wave; throws host::HostError.
    std::unique_ptr<host::SoundBuffer> Load(const std::string& name);

    void play(const std::string& name);
    void play2(const std::string& name);
    void play3(const std::string& name, int pan);
    void play4(const std::string& name);
    void playspec(const std::string& name, int pan);
    void playcrowd1();
    void playdrums();
    void stopdrums();
    // `afterLoop` (optional) runs after each of the three loops is started.
    void startcrowd(const std::function<void(int loop)>& afterLoop = {});
    void stopper();
    void starter();
    void adjuster();
    void ramcrowd();
    void CreateDrums();
    // Stops and releases every buffer.
    void ReleaseAll();

    // --- the channels ------------------------------------------------------------
    // Loads the wave on the channel in place of what it held and plays it
    // once from its start at `volume`, the set rate and `pan`; throws
    // host::HostError. The sound stays until released or replaced.
    void StartOnce(Channel channel, const std::string& name, int volume, int pan);
    // Waits for the channel's sound to end, then stops it.
    void WaitToEnd(Channel channel);
    void Release(Channel channel);
    // Stops and releases the excitement, the effect and the overlay, in that
    // order: a clean slate for the next pitch.
    void ClearEffects();
    // Stops the effect, the overlay and the excitement, in that order.
    void StopEffects();
    void StopExcitement();
    // Stops the three crowd loops, keeping them for a later starter().
    void StopCrowd();
    // The drums count as silent from here: stopdrums leaves their buffer
    // alone until the next playdrums.
    void ForgetDrums();
    bool drumsPlaying() const { return drumsOn_ != 0; }

    // --- the effect --------------------------------------------------------------
    // Loads the wave as the effect at its start, at the player's level and
    // rate, not playing yet; throws host::HostError.
    void LoadEffect(const std::string& name);
    // As LoadEffect without the settings, keeping the file's size, against
    // which EffectPercent measures; throws host::HostError when the size
    // cannot be told.
    void LoadMeasuredEffect(const std::string& name);
    // Plays the loaded effect once from its start at these settings.
    void StartEffect(int volume, uint32_t frequency, int pan);
    // Each does nothing without an effect loaded.
    void PlayEffect();
    void LoopEffect();
    // Plays the effect again from its start, then sets it to the player's
    // level (the volume dialog's sample).
    void ReplayEffect();
    void StopEffect();
    void ReleaseEffect();
    void SetEffectFrequency(uint32_t hz);
    void SetEffectPan(int pan);
    bool EffectLoaded() const { return effectBuffer_ != nullptr; }
    bool EffectPlaying();
    // How far the measured effect has played, in percent of its file, now
    // and at an earlier clock time (what the player heard then).
    double EffectPercent();
    double EffectPercentAt(double clockTime);

    // How much later than the device believes the player hears its sounds,
    // in milliseconds (a player's option, 0 until chosen). A key pressed at
    // `keyTime` answers what was heard at SwingMoment(keyTime): earlier
    // when the delay is positive, a moment still to come when negative.
    void SetLatency(int ms) { latencyMs_ = ms; }
    int latencyMs() const { return latencyMs_; }
    double SwingMoment(double keyTime) const { return keyTime - latencyMs_ / 1000.0; }

    // The rising tone that follows the pitch (a player's option; off until
    // chosen). Turning it off silences a cue that is sounding.
    void SetPitchCue(bool on);
    bool pitchCue() const { return pitchCue_; }
    // While the option is on: starts the cue, centred and 15 dB under the
    // player's level, at the height of 0 percent; moves it to the height of
    // `percent` of the pitch's travel; stops it. Each does nothing while the
    // option is off.
    void StartPitchCue();
    void SteerPitchCue(double percent);
    void StopPitchCue();
    // The cue's pitch at a position: kPitchCueHz at 0 percent, rising one
    // octave to 100 (clamped to that range).
    static constexpr uint32_t kPitchCueHz = 440;
    static double PitchCueHz(double percent);

    Keys& keys() { return keys_; }
    host::Host& host() { return host_; }

private:
    // kind: 0 play, 1 play2, 3 play3, 4 play4
    void PlayBlocking(const std::string& name, int kind, int pan);

    std::unique_ptr<host::SoundBuffer>& Buffer(Channel channel);
    // Loads, rewinds and sets the level, the set rate and the pan of `b`,
    // then plays it with `flags`.
    void Start(std::unique_ptr<host::SoundBuffer>& b, const std::string& name, int volume, int pan, int flags);

    host::Host& host_;
    bool pitchCue_ = false;
    int latencyMs_ = 0;
    std::unique_ptr<host::SoundBuffer> cueBuffer_;
    uint32_t cueBaseRate_ = 0;  // the tone's own rate: kPitchCueHz
    uint32_t cueRate_ = 0;      // the rate it plays at now
    Keys& keys_;
    std::unique_ptr<host::SoundBuffer> effectBuffer_;
    std::unique_ptr<host::SoundBuffer> overlayBuffer_;
    std::unique_ptr<host::SoundBuffer> excitementBuffer_;
    std::unique_ptr<host::SoundBuffer> drumsBuffer_;
    std::unique_ptr<host::SoundBuffer> crowdBuffer_[3];
    int drumsOn_ = 0;
    double nextCrowdEvent_ = 0;
    double effectBytes_ = 1;  // file size of the measured effect
};

// Runs `fn`; a failure is reported on standard error and swallowed, so the
// caller goes on with its next step.
void Guarded(const char* what, const std::function<void()>& fn);

}  // namespace sw
