// The values a play hands on: what the play of the ball chose (commentary,
// contact sound, the base of the throw, runner moves) and what the common play
// narration then acts on. Most are cleared before every pitch; the narration
// clears the flags it acts on.
#pragma once

#include <array>
#include <string>

namespace sw {

struct PlayValues {
    // The batter's decision for this pitch: 1 take, 2 swing (the player),
    // 1..4 (the computer's draw); and the orders that go with it.
    int batterAction = 0;
    int buntFlag = 0, stealFlag = 0, hitAndRunFlag = 0;
    int pitchNumber = 0;        // 1..7 a pitch, 8 a pick-off, 9 a pitching change
    int hitChance = 0;          // the batter's chance of a hit, drawn once an at-bat; 1 after a steal
    int sameBatter = 0;         // the same batter stays up after this pitch
    // What the pitch did to the runners, turned into runs by the inning loop.
    int runnersBeforePlay = 0;
    int runsOnPlay = 0;
    int forcedRuns = 0;         // of runsOnPlay, those ball four forced in before anything else happened
    int extraBaseFlag = 0;
    // The three commentary fragments, spoken in this order, and the words
    // after the out call of a step-by-step throw.
    std::string firstFragment, secondFragment, thirdFragment, outFragment;
    int foulKind = 0;           // contact sound 0..6
    int narrationMode = 0;      // 0 chosen by the narration; 3 infield throw to first; 4 pick-up
    int stepNarrationFlag = 0;  // fragments one by one with a dive between
    int mirrorThrowFlag = 0;    // after a dive, right and left field swap
    int fielderNumber = 0;      // the diving fielder, 1..7
    int diveCatchFlag = 0;      // the diving fielder catches the ball
    int pickupFielder = 0;      // the infielder who picks the ball up, 1..4
    int throwTarget = 0;        // 1 first, 2 second, 3 third, 4 home; 5 right, 6 center, 7 left field
    int hitOrOut = 0;           // 1 hit (or runner safe), 2 out
    int runnerSafe = 0;         // the umpire's safe call is made
    int homeRunFlag = 0;
    int foulCallPending = 0;    // a foul whose "foulball" call is still to come
    int slideSoundFlag = 0;
    int cheerFlag = 0, booFlag = 0;
    int outsReadOutFlag = 0;    // tell the outs after a play that made none
    int foulTipFlag = 0;
    int noGloveFlag = 0;        // the out call comes without a glove
    int runnersPlaced = 0;      // the play has put every runner where he ends
    int buntDone = 0;           // a foul bunt has been told and counted
    int foulChoice = 0;         // the foul description of this pitch, 1..11
    // The last three foul descriptions, newest first; kept for the whole run.
    std::array<int, 3> recentFouls{};

    // Before each pitch's decision, in this one place: the decision, the
    // play's runs and fragments and the narration's modes. What lasts longer
    // stays (the hit chance, the same-batter mark, the runners before the
    // play, the recent fouls), and the narration clears the flags it acts on.
    void NewPitch() {
        pitchNumber = 0;
        stealFlag = buntFlag = hitAndRunFlag = 0;
        runsOnPlay = forcedRuns = extraBaseFlag = 0;
        firstFragment.clear();
        secondFragment.clear();
        thirdFragment.clear();
        outFragment.clear();
        foulKind = narrationMode = stepNarrationFlag = mirrorThrowFlag = diveCatchFlag = 0;
        hitOrOut = cheerFlag = outsReadOutFlag = noGloveFlag = foulChoice = 0;
    }
};

}  // namespace sw
