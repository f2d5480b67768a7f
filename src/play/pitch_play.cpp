#include "play/pitch_play.h"

#include "play/swing_verdict.h"

namespace sw {

PitchPlay::PitchPlay(const PlayDeps& d, Pitch& pitch, CalledPitches& called, BattedBalls& balls, Fouls& fouls,
                     AroundThePitch& around, Narration& narration)
    : gs_(d.gs),
      pv_(d.pv),
      pitchValues_(d.pitch),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      pitch_(pitch),
      called_(called),
      balls_(balls),
      fouls_(fouls),
      around_(around),
      narration_(narration) {}

void PitchPlay::pickspecpitch() {
    pitchValues_.wildPitchFlag = 0;
    pitchValues_.hitBatterFlag = 0;
    pitchValues_.spitballFlag = 0;
    if (keys_.wf(100) == 42) pitchValues_.spitballFlag = 1;
    const int roll = keys_.wf(150);
    if (roll == 69) pitchValues_.wildPitchFlag = 1;
    if (roll == 57) pitchValues_.hitBatterFlag = 1;
}

void PitchPlay::throwspitball() {
    Guarded("sound", [&] {
        sound_.StartOnce(Sound::Channel::Effect, "sp", sound_.waveVolume - 1111, -500);
        sound_.WaitToEnd(Sound::Channel::Effect);
    });
    sound_.ReleaseEffect();
    speech_.say(" It appears that the pitcher is putting a little extra on this pitch");
}

void PitchPlay::DrawHitChance() {
    if (pv_.hitChance == 0) pv_.hitChance = keys_.wf(20) + 15 - gs_.contactHandicap;
}

void PitchPlay::DrawBatterAction() {
    // Ten takes, ten swings, one bunt and one steal in 22; a steal needs a
    // runner and no runner on third, a bunt fewer than two strikes.
    for (;;) {
        const int drawn = keys_.wf(22);
        const int action = drawn <= 10 ? 1 : drawn <= 20 ? 2 : drawn == 21 ? 3 : 4;
        const bool anyoneOn = gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird > 0;
        if (action == 4 && (!anyoneOn || gs_.runnerOnThird == 1)) continue;
        if (action == 3 && gs_.strikes == 2) continue;
        pv_.batterAction = action;
        return;
    }
}

void PitchPlay::ThePitch() {
    gs_.runnersOn = gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird;
    pickspecpitch();
    if (gs_.runnersOn > 0 && keys_.wf(2) == 2) {
        speech_.say(std::string(" the pitcher checks on the runner") + (gs_.runnersOn > 1 ? "s" : ""));
        speech_.say(" and then");
    }
    if (pv_.pitchNumber != 8) {
        if (pitchValues_.spitballFlag == 1) throwspitball();
        if (keys_.wf(2) == 1) {
            speech_.say(" here's the pitch");
        } else {
            speech_.say(" here's the whined up");
            speech_.say(" and the pitch");
        }
    }
    sound_.stopdrums();
    keys_.random().Reseed(keys_.timer());

    if (pv_.pitchNumber == 8) {
        around_.PickOff();
        return;
    }
    if (pitchValues_.wildPitchFlag == 1) {
        around_.WildPitch();
        return;
    }
    const bool computerBats = gs_.battingTeam == 2;
    if (computerBats) pitch_.throwpitch(pv_.batterAction, pv_.pitchNumber, pitchValues_);
    if (computerBats && pitchValues_.hitBatterFlag == 1) {
        around_.HitBatter();
        return;
    }
    switch (pv_.batterAction) {
    case 1:
        called_.CalledPitch();
        break;
    case 3:
        around_.Bunt();
        break;
    case 4:
        narration_.ComputerSteal();
        break;
    case 2:
        if (computerBats) {
            const int roll = pitchValues_.pitchRoll;
            if (roll < 25) {
                called_.SwingingStrike();
                break;
            }
            sound_.playcrowd1();
            if (roll > 75) {
                fouls_.Foul();
                break;
            }
            pv_.hitOrOut = roll < 25 + pv_.hitChance ? 1 : 2;
            gs_.NewCount();
            pv_.hitChance = 0;
            BallInPlay();
        } else {
            pitch_.batting(pv_.pitchNumber, pitchValues_);
            if (pitchValues_.hitBatterFlag == 1) around_.HitBatter();
            else JudgeSwing();
        }
        break;
    default:
        break;
    }
}

void PitchPlay::JudgeSwing() {
    // The pitch sound leaves 0 when no key was judged; a key at 0 percent is
    // a swing that already counts as a miss.
    const bool swung = pitchValues_.swungAndMissed == 1 || pitchValues_.swingPercent != 0;
    const bool bunt = pv_.stealFlag == 0 && pv_.buntFlag == 1;
    const SwingAction action = !swung ? SwingAction::None : bunt ? SwingAction::Bunt : SwingAction::Swing;
    const SwingVerdict verdict = VerdictOf(action, pitchValues_.swingPercent);
    const bool contact = verdict == SwingVerdict::Foul || verdict == SwingVerdict::InPlay;
    if (pv_.stealFlag == 1 && !contact) {
        narration_.PlayerSteal();
        return;
    }
    if (verdict == SwingVerdict::Miss) {
        called_.SwingingStrike();
        return;
    }
    if (verdict == SwingVerdict::Take) {
        called_.CalledPitch();
        return;
    }
    if (action == SwingAction::Bunt) {
        if (verdict == SwingVerdict::Foul) pv_.buntFlag = 2;
        around_.Bunt();
        return;
    }
    sound_.playcrowd1();
    if (verdict == SwingVerdict::Foul) {
        fouls_.Foul();
        return;
    }
    const int chance = pv_.hitChance;
    gs_.NewCount();
    pv_.hitChance = 0;
    pv_.hitOrOut = keys_.wf(50) < chance ? 1 : 2;
    BallInPlay();
}

void PitchPlay::BallInPlay() {
    if (pv_.hitOrOut == 1) balls_.HitPlay();
    else balls_.OutPlay();
}

}  // namespace sw
