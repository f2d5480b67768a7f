#include "play/pitch.h"

#include "play/swing_verdict.h"
#include "record/text.h"

#include <cmath>
#include <optional>
#include <string>

namespace sw {

namespace {
constexpr uint32_t kSpeedRates[6] = {0, 8000, 9500, 11000, 12500, 14000};
constexpr int kWobbleLow = 8042, kWobbleHigh = 16084;
constexpr double kEarliestSwing = 0.001;  // percent
}  // namespace

Pitch::Pitch(Sound& sound, Keys& keys) : sound_(sound), keys_(keys) {}

void Pitch::batting(int& pitchNumber, PitchValues& s) {
    s.swungAndMissed = 0;
    s.swingPercent = 0;
    keys_.clk();
    pitchNumber = keys_.wf(7);
    PitchSound(pitchNumber, s, true);
}

void Pitch::PitchSound(int pitchNumber, PitchValues& s, bool hitBatterCheck) {
    s.swungAndMissed = 0;
    s.swingPercent = 0;
    keys_.clk();
    Play(Kind::Batting, pitchNumber, 2, s, hitBatterCheck);
    sound_.ReleaseEffect();
}

void Pitch::throwpitch(int a, int b, PitchValues& s) {
    keys_.clk();
    s.pitchRoll = keys_.wf(100);
    s.pitchSpeedClass = 0;
    // The finished buffer stays until the next sound replaces it.
    Play(Kind::Thrown, b, a, s, false);
}

void Pitch::wildpit(int& pitchNumber, PitchValues& s) {
    keys_.clk();
    s.pitchSpeedClass = 0;
    if (!(pitchNumber > 0)) pitchNumber = keys_.wf(7);
    Play(Kind::Wild, pitchNumber, 0, s, false);
    sound_.ReleaseEffect();
}

void Pitch::Play(Kind kind, int pitchNumber, int batterAction, PitchValues& s, bool hitBatterCheck) {
    Guarded("pitch", [&] {
        sound_.LoadMeasuredEffect("p" + LastDigit(pitchNumber));
        sound_.StartEffect(sound_.waveVolume, 11026, -2500);
        sound_.StartPitchCue();
        int changes = 0;
        double mark = 40;
        int wobble = kWobbleHigh;
        bool stoppedEarly = false;
        // The moment the swing answers: taken from the first key, and come
        // before the swing is judged (a negative delay lies ahead of it).
        std::optional<double> swingMoment;
        for (;;) {
            const double percent = sound_.EffectPercent();
            sound_.SteerPitchCue(percent);
            keys_.yield();
            if (kind == Kind::Wild && percent > mark) {
                if (wobble == kWobbleLow) {
                    wobble = kWobbleHigh;
                    mark += 20;
                } else {
                    wobble = kWobbleLow;
                    mark += 10;
                }
                sound_.SetEffectFrequency(static_cast<uint32_t>(wobble));
            }
            sound_.SetEffectPan(static_cast<int32_t>(std::floor(percent * 50)) - 2500);
            if (kind == Kind::Batting && hitBatterCheck && percent > 80 && s.hitBatterFlag == 1) {
                // The pitch hits the batter before any swing counts.
                sound_.StopEffect();
                stoppedEarly = true;
                break;
            }
            if (kind != Kind::Wild &&
                ((changes == 0 && percent > 25) || (changes == 1 && percent > 50) || (changes == 2 && percent > 75))) {
                ++changes;
                s.pitchSpeedClass = static_cast<int>(keys_.random().Next() * 5) + 1;
                sound_.SetEffectFrequency(kSpeedRates[s.pitchSpeedClass]);
            }
            if (kind == Kind::Thrown && percent > 80 && (batterAction == 2 || batterAction == 3)) {
                if (batterAction == 2 && s.pitchRoll < 25) sound_.playspec("sm", 2700);
                sound_.StopEffect();
                stoppedEarly = true;
                break;
            }
            keys_.yield();
            if (!sound_.EffectPlaying()) break;
            if (kind == Kind::Batting && keys_.Pressed()) {
                if (!swingMoment) swingMoment = sound_.SwingMoment(keys_.Last().time);
                if (keys_.timer() >= *swingMoment) break;
            }
        }
        // The cue ends with the pitch's flight, or with the swing.
        sound_.StopPitchCue();
        if (kind == Kind::Wild) sound_.StopEffect();
        if (kind == Kind::Batting && !stoppedEarly && keys_.Pressed()) {
            // The swing is judged by what the player heard when the key went
            // down, as late as the player's sound delay says they hear it.
            s.swingPercent = sound_.EffectPercentAt(swingMoment ? *swingMoment : sound_.SwingMoment(keys_.Last().time));
            // A swing before the ball was heard at all (a sound delay reaches
            // back past the pitch's start) is the earliest swing, not none.
            if (s.swingPercent <= 0) s.swingPercent = kEarliestSwing;
            // Swing and bunt miss in the same band; which of the two it was
            // matters only after the sound.
            if (VerdictOf(SwingAction::Swing, s.swingPercent) == SwingVerdict::Miss) {
                sound_.playspec("sm", 2300);
                s.swungAndMissed = 1;
                while (sound_.EffectPlaying()) keys_.yield();
            } else {
                sound_.StopEffect();
            }
        }
    });
    sound_.StopPitchCue();  // also when a step above failed
}

}  // namespace sw
