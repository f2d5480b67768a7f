#include "play/narration.h"

#include "record/text.h"

namespace sw {

namespace {

// Pan of every contact sound, and of the foul call that ends a foul tip.
constexpr int kContactPan = 2300;
constexpr int kFoulCallPan = 2700;

}  // namespace

Narration::Narration(const PlayDeps& d, FieldingSounds& field, StatusReport& status, CalledPitches& called)
    : gs_(d.gs),
      pv_(d.pv),
      pitch_(d.pitch),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      status_(status),
      called_(called) {}

void Narration::advanceRunners() {
    if (gs_.runnerOnThird == 1) pv_.runsOnPlay += 1;
    gs_.runnerOnThird = int(gs_.runnerOnSecond);
    gs_.runnerOnSecond = int(gs_.runnerOnFirst);
    gs_.runnerOnFirst = 0;
}

void Narration::StopExcitement() {
    Guarded("sound", [&] {
        sound_.StopExcitement();
    });
}

void Narration::AddOut() {
    gs_.AddOuts();
}

void Narration::Narrate() {
    // The contact sounds; a foul tip ends in its own foul call.
    switch (pv_.foulKind) {
    case 1:
        sound_.play3("lh", kContactPan);
        break;
    case 2:
        sound_.play3("mh", kContactPan);
        break;
    case 3:
        sound_.play3("hh", kContactPan);
        break;
    case 4:
    case 5:
    case 6:
        sound_.play3("ft", kContactPan);
        if (pv_.foulKind == 4) sound_.play3("ouch", 2500);
        if (pv_.foulKind == 6) sound_.play3("hitcatch", 2500);
        sound_.play3("foulball", kFoulCallPan);
        pv_.foulCallPending = 0;
        break;
    default:
        break;
    }
    if (pv_.secondFragment.empty() && pv_.foulKind > 3) StopExcitement();

    if (pv_.narrationMode == 0) pv_.narrationMode = pv_.stepNarrationFlag > 0 ? 2 : 1;
    if (!Speak()) {
        ClosingSteps();
        return;
    }
    pv_.foulTipFlag = 0;

    // The home side's home run has its own sound and nothing else.
    if (pv_.homeRunFlag == 1 && gs_.battingTeam == gs_.homeTeam) {
        sound_.play("hr");
        EndPitch();
        return;
    }
    if (pv_.foulCallPending == 1) {
        pv_.foulCallPending = 0;
        sound_.play3("foulball", kFoulCallPan);
    }
    if (pv_.slideSoundFlag == 1) {
        pv_.slideSoundFlag = 0;
        field_.playslide();
    }
    if (pv_.hitOrOut == 2) field_.sayoutat();
    if (pv_.runnerSafe == 1) {
        pv_.runnerSafe = 0;
        field_.saysafeat();
    }
    ClosingSteps();
}

void Narration::EndPitch() {
    pv_.hitOrOut = 0;
    pv_.homeRunFlag = 0;
    pv_.pitchNumber = 0;
}

bool Narration::Speak() {
    switch (pv_.narrationMode) {
    case 1:
        speech_.say(pv_.firstFragment + pv_.secondFragment + pv_.thirdFragment);
        break;
    case 2:
        speech_.say(pv_.firstFragment);
        field_.playerslide(pv_.fielderNumber, pv_.diveCatchFlag);
        keys_.dy(0.2);
        if (!pv_.secondFragment.empty()) speech_.say(pv_.secondFragment);
        if (!pv_.thirdFragment.empty()) speech_.say(pv_.thirdFragment);
        if (pv_.mirrorThrowFlag == 1) {
            if (pv_.throwTarget == 5) pv_.throwTarget = 7;
            else if (pv_.throwTarget == 7) pv_.throwTarget = 5;
        }
        break;
    case 3:
        pv_.outsReadOutFlag = 1;
        speech_.say(pv_.firstFragment);
        field_.prig(pv_.pickupFielder);
        speech_.say(pv_.secondFragment);
        field_.pig(2);
        speech_.say(pv_.thirdFragment);
        pv_.throwTarget = 1;
        if (pv_.runnerSafe == 0) {
            field_.sayoutat();
            speech_.say(pv_.outFragment);
        } else {
            field_.saysafeat();
        }
        pv_.runnerSafe = 0;
        return false;
    case 4:
        speech_.say(pv_.firstFragment);
        field_.prig(pv_.pickupFielder);
        speech_.say(pv_.secondFragment);
        speech_.say(pv_.thirdFragment);
        break;
    default:
        break;
    }
    return true;
}

void Narration::ClosingSteps() {
    StopExcitement();
    const bool homeBats = gs_.battingTeam == gs_.homeTeam;
    const bool visitorsBat = gs_.battingTeam == gs_.visitingTeam;
    if (pv_.cheerFlag == 1) sound_.play("crcheer");
    if (homeBats && pv_.hitOrOut == 1) sound_.play("crcheer");
    if (visitorsBat && pv_.hitOrOut == 2) sound_.play("crcheer");
    if (pv_.booFlag == 1) {
        pv_.booFlag = 0;
        sound_.play("boo");
    }
    if (pv_.hitOrOut == 2) {
        AddOut();
        status_.OutsReadOut();
        return;
    }
    if (pv_.outsReadOutFlag == 1) speech_.say2(status_.OutsSentence());
    EndPitch();
}

void Narration::PlayerSteal() {
    if (pitch_.swungAndMissed == 1) {
        pv_.hitChance = 1;
        called_.SwingingStrike();
    } else if (pitch_.swingPercent == 0) {  // no swing (a late one is a miss)
        pv_.hitChance = 1;
        called_.CalledPitch();
    } else {
        return;  // the batter made contact: no throw
    }
    StealThrow();
}

void Narration::ComputerSteal() {
    if (gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird == 0) return;
    pv_.hitChance = 1;
    called_.CalledPitch();
    StealThrow();
}

void Narration::StealThrow() {
    if (gs_.outs >= 3) return;
    // Nobody left to throw out.
    if (gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird == 0) return;
    keys_.dy(0.5);
    pv_.slideSoundFlag = 1;
    if (gs_.runnerOnThird == 1) {
        pv_.firstFragment = " the base runner tries to steal home";
        pv_.secondFragment = " and here is the play at the plate";
        pv_.throwTarget = 4;
        advanceRunners();
        if (keys_.wf(10) == 7) {
            pv_.runnerSafe = 1;
            gs_.stolenBaseTally = gs_.stolenBaseTally + 1;
        } else {
            gs_.caughtStealingTally = gs_.caughtStealingTally + 1;
            // Only the runner's own run is taken back: a run that ball four
            // forced in on this pitch still counts.
            pv_.runsOnPlay -= 1;
            pv_.hitOrOut = 2;
        }
    } else {
        const bool toThird = gs_.runnerOnSecond == 1;
        pv_.firstFragment = toThird ? " here is the throw to third" : " here is the throw to second";
        pv_.throwTarget = toThird ? 3 : 2;
        pv_.hitOrOut = keys_.wf(2);
        if (pv_.hitOrOut == 1) {
            pv_.runnerSafe = 1;
            gs_.stolenBaseTally = gs_.stolenBaseTally + 1;
        } else {
            gs_.caughtStealingTally = gs_.caughtStealingTally + 1;
        }
        advanceRunners();
        if (pv_.hitOrOut == 2) {
            if (toThird) gs_.runnerOnThird = 0;
            else gs_.runnerOnSecond = 0;
        }
    }
    Narrate();
}

}  // namespace sw
