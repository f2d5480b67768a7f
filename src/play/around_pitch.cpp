#include "play/around_pitch.h"

#include "record/text.h"

#include <algorithm>

namespace sw {

namespace {

// The umpire's count and the batter sent to first, heard at the plate.
constexpr int kUmpirePan = 2700;

}  // namespace

AroundThePitch::AroundThePitch(const PlayDeps& d, FieldingSounds& field, StatusReport& status, Narration& narration,
                               Pitch& pitch)
    : gs_(d.gs),
      pv_(d.pv),
      pitchValues_(d.pitch),
      words_(d.words),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      status_(status),
      narration_(narration),
      pitch_(pitch) {}

bool AroundThePitch::Occupied(int base) const {
    switch (base) {
    case 1:
        return gs_.runnerOnFirst == 1;
    case 2:
        return gs_.runnerOnSecond == 1;
    case 3:
        return gs_.runnerOnThird == 1;
    default:
        return false;
    }
}

void AroundThePitch::AddOut() {
    gs_.AddOuts();
}

void AroundThePitch::PickOff() {
    pv_.sameBatter = 1;
    int on = 0;
    int base = 0;
    for (int b = 1; b <= 3; ++b) {
        if (Occupied(b)) {
            ++on;
            base = b;
        }
    }
    if (on == 0) return;  // nobody to throw to: the pitch ends unchanged
    if (on > 1) {
        base = 0;
        while (base == 0) {
            speech_.say(" Press the number of the base to throw to");
            status_.ReadKey();
            if (Occupied(status_.menuChoice())) base = status_.menuChoice();
        }
    }

    sound_.playcrowd1();
    speech_.say(" Here is a throw to" + words_.ordinalWord[static_cast<size_t>(base)] + " base");
    pv_.throwTarget = base;
    const bool homeBats = gs_.battingTeam == gs_.homeTeam;
    const int roll = keys_.wf(100);
    if (roll >= 40 && roll <= 49) {
        speech_.say(" the runner dives back");
        field_.playslide();
        field_.sayoutat();
        sound_.play(homeBats ? "boo" : "crcheer");
        AddOut();
        gs_.pickoffTally = gs_.pickoffTally + 1;
        if (base == 1) gs_.runnerOnFirst = 0;
        else if (base == 2) gs_.runnerOnSecond = 0;
        else gs_.runnerOnThird = 0;
    } else if (keys_.wf(3) != 1) {
        speech_.say(" the runner dives back");
        field_.playslide();
        field_.saysafeat();
        if (homeBats) sound_.play("boo");
    } else {
        static const char* const kHow[] = {" gets", " runs", " scampers"};
        speech_.say(std::string(" the runner ") + kHow[keys_.wf(3) - 1] + " back safely");
        if (homeBats) {
            keys_.dy(0.3);
            sound_.play("boo");
        }
    }
}

void AroundThePitch::WildPitch() {
    pitch_.wildpit(pv_.pitchNumber, pitchValues_);
    sound_.playcrowd1();
    const std::string first = keys_.wf(2) == 1 ? " it's a wild pitch" : " the pitch gets away from the pitcher";
    const std::string second = keys_.wf(2) == 1 ? " it bounces in the dirt in front of the plate"
                                                : " it sails right over the head of the catcher and umpire";
    speech_.say(first + second + " and then rolls all of the way to the screen");

    gs_.AddBall();
    sound_.play3("ball", kUmpirePan);
    keys_.dy(0.5);
    sound_.play3(LastDigit(gs_.balls), kUmpirePan);
    const bool walk = gs_.balls == 4;
    if (walk) {
        keys_.dy(0.5);
        sound_.play3("takebase", kUmpirePan);
        gs_.walkTally = gs_.walkTally + 1;
    }
    pv_.hitChance = 0;

    const int on = gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird;
    if (on > 0) {
        speech_.say(std::string("the") + (on == 1 ? " runner " : " runners ") + "advanced");
        if (gs_.runnerOnThird == 1) gs_.runTally = gs_.runTally + 1;
        narration_.advanceRunners();
    }
    if (walk) {
        gs_.runnerOnFirst = 1;
        gs_.NewCount();
    }
    if (pv_.runsOnPlay == 1) {
        speech_.say("one run scored");
        gs_.runs[gs_.battingTeam] += 1;
        pv_.runsOnPlay = 0;
    }
    gs_.runnersOn = gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird;
}

void AroundThePitch::HitBatter() {
    sound_.playcrowd1();
    static const char* const kSounds[] = {"hitbat", "hitbat2", "hitbat3"};
    sound_.play3(kSounds[keys_.wf(3) - 1], 2500);
    speech_.say(" the pitch hits the batter");
    if (gs_.ForceBatterToFirst()) pv_.runsOnPlay = 1;
    keys_.dy(0.5);
    if (gs_.battingTeam == gs_.homeTeam) sound_.play("boo");
    sound_.play3("takebase", kUmpirePan);
    gs_.NewCount();
    gs_.hitBatterTally = gs_.hitBatterTally + 1;
}

void AroundThePitch::Bunt() {
    sound_.playcrowd1();
    pv_.foulKind = 1;
    pv_.hitOrOut = 2;
    pv_.buntDone = 0;

    static const char* const kHow[] = {" the", " a good", " a perfect"};
    static const char* const kWho[] = {" pitcher", " catcher", " first baseman", " third baseman"};
    static const char* const kDoes[] = {" gets", " grabs", " races to", " comes up with"};
    pv_.firstFragment = std::string(" the batter lays down ") + kHow[keys_.wf(3) - 1] + " bunt ";
    const std::string who = kWho[keys_.wf(4) - 1];
    pv_.secondFragment = " the " + who + kDoes[keys_.wf(4) - 1] + " the ball";

    if (pv_.buntFlag == 2) {
        FoulBunt();
    } else {
        const int roll = keys_.wf(pv_.buntFlag == 1 ? 8 : 13);
        if (roll < 9) {
            gs_.NewCount();
        }
        if (roll == 3) {
            pv_.thirdFragment = " and here is the throw to first";
            pv_.throwTarget = 1;
            pv_.hitOrOut = keys_.wf(2);
            if (pv_.hitOrOut == 1) {
                pv_.runnerSafe = 1;
                gs_.hitTally = gs_.hitTally + 1;
            }
            narration_.advanceRunners();
            if (pv_.hitOrOut == 1) gs_.runnerOnFirst = 1;  // a sacrifice otherwise
        } else if (roll == 6) {
            pv_.thirdFragment = " and there is  no play";
            narration_.advanceRunners();
            gs_.runnerOnFirst = 1;
            pv_.hitOrOut = 1;
            gs_.hitTally = gs_.hitTally + 1;
        } else if (roll < 9) {
            ThrowToLeadRunner();
        } else {
            FoulBunt();
        }
    }
    if (pv_.buntDone != 1) narration_.Narrate();
    pv_.buntDone = 0;
}

void AroundThePitch::ThrowToLeadRunner() {
    if (gs_.runnerOnThird == 1) {
        // The play at the plate.
        pv_.hitOrOut = 2;
        pv_.thirdFragment = " and here is the play at the plate";
        pv_.throwTarget = 4;
        pv_.slideSoundFlag = 1;
        const int roll = keys_.wf(10);
        narration_.advanceRunners();
        if (roll == 7) {
            pv_.hitOrOut = 1;
            pv_.runnerSafe = 1;
            gs_.hitTally = gs_.hitTally + 1;
        } else {
            pv_.runsOnPlay = 0;  // out at home
        }
        gs_.runnerOnFirst = 1;
        return;
    }
    // Safe one time in three.
    pv_.hitOrOut = std::min(keys_.wf(3), 2);
    const bool safe = pv_.hitOrOut == 1;
    if (safe) {
        pv_.runnerSafe = 1;
        gs_.hitTally = gs_.hitTally + 1;
    }
    if (gs_.runnerOnSecond == 1) {
        pv_.thirdFragment = " and here is the throw to third base";
        pv_.throwTarget = 3;
        narration_.advanceRunners();
        gs_.runnerOnFirst = 1;
        if (!safe) gs_.runnerOnThird = 0;
    } else if (gs_.runnerOnFirst == 1) {
        pv_.thirdFragment = " and here is the throw to second base";
        pv_.throwTarget = 2;
        if (safe) gs_.runnerOnSecond = 1;  // the batter takes the runner's place at first
    } else {
        pv_.thirdFragment = " and here is the throw to first base";
        pv_.throwTarget = 1;
        if (safe) gs_.runnerOnFirst = 1;
    }
}

void AroundThePitch::FoulBunt() {
    sound_.play3("lh", 2300);
    speech_.say(pv_.firstFragment);
    speech_.say(" the ball rolls foul");
    gs_.AddStrike();
    sound_.play3("strike", kUmpirePan);
    keys_.dy(0.5);
    sound_.play3(LastDigit(gs_.strikes), kUmpirePan);
    if (gs_.strikes == 3) {
        gs_.NewCount();
        gs_.strikeoutTally = gs_.strikeoutTally + 1;
        pv_.throwTarget = 4;
        pv_.noGloveFlag = 1;
        field_.sayoutat();
        AddOut();
        if (gs_.battingTeam == gs_.visitingTeam) sound_.play("crcheer");
    }
    pv_.buntDone = 1;
}

}  // namespace sw
