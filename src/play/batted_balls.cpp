#include "play/batted_balls.h"

#include <algorithm>

namespace sw {

namespace {

// Contact sounds by force: light, medium, hard.
const char* const kContact[] = {"", "lh", "mh", "hh"};
// How hard a line drive was hit (1..3).
const char* const kLineDriveForce[] = {"", " ", " sharply hit", " hard hit"};
// The infielder who dives for a line drive (1..4).
const char* const kDivingFielder[] = {"", "first baseman", " second baseman", " shortstop", " third baseman"};
const char* const kBaseWord[] = {"", "first", "second", "third"};
// The pitcher's part the ball comes off.
const char* const kPitcherPart[] = {"", " chest ", " leg ", " glove ", " head ", " back side ", " elbow "};
// The ground ball of a double play: force, fielder and bounce.
const char* const kGroundForce[] = {"", " ", " sharply ", " hard "};
const char* const kGroundFielder[] = {"", " first baseman ", " second baseman ", " short stop ", " third baseman "};
const char* const kBounce[] = {"", " on one high bounce ", " on one bounce ", " after two bounces "};
// Outfield call places by the field drawn: left, right, center.
const int kFieldCall[] = {0, 7, 5, 6};
// The base a diving infielder's out is called at.
const int kDiveCall[] = {0, 1, 2, 2, 3};

// A throw draws bases until it names an occupied one; this many misses in a
// row would mean the draws are stuck, and the first occupied base is taken.
constexpr int kMaxBaseDraws = 100;

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

BattedBalls::BattedBalls(const PlayDeps& d, FieldingSounds& field, Narration& narration)
    : gs_(d.gs),
      pv_(d.pv),
      words_(d.words),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      narration_(narration) {}

int BattedBalls::RunnersNow() const { return gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird; }

Num& BattedBalls::Base(int base) {
    return base == 1 ? gs_.runnerOnFirst : base == 2 ? gs_.runnerOnSecond : gs_.runnerOnThird;
}

std::string BattedBalls::DivingLineDrive(int k, int fielder) {
    return std::string(" It's a") + kLineDriveForce[k] + " line drive. The " + kDivingFielder[fielder] + " dives.";
}

std::string BattedBalls::BloopFly(int s) const {
    const std::string& field = words_.fieldName[s];
    return " It's a bloop pop fly ball into short " + field + " field. " + " The " + field + " fielder" +
           " runs and dives. ";
}

void BattedBalls::ExtraChance() {
    if (gs_.runnersOn < 1) return;
    if (keys_.wf(2) == 1) gs_.extraBaseFlag = 1;
    if (gs_.hitAndRunFlag == 1) gs_.extraBaseFlag = 1;
}

// ---------------------------------------------------------------------------
// Hits

void BattedBalls::HitPlay() {
    gs_.hitTally += 1;
    gs_.runnersOn = RunnersNow();
    if (gs_.outs == 2 && gs_.runnersOn > 0) gs_.extraBaseFlag = 1;
    entry = keys_.wf(14);
    const int r3 = keys_.wf(3);
    pv_.runnersPlaced = 0;
    HitEntry(r3);

    if (pv_.runnersPlaced == 0) {
        if (gs_.extraBaseFlag == 1) {
            narration_.advanceRunners();
            narration_.advanceRunners();
        }
        // The batter takes the first empty base; the runners ahead of him
        // stay where they are unless forced.
        gs_.ForceBatterToFirst();
    }
    narration_.Narrate();
}

void BattedBalls::HitEntry(int r3) {
    std::string& first = pv_.firstFragment;
    std::string& second = pv_.secondFragment;
    std::string& third = pv_.thirdFragment;
    switch (entry) {
        case 1:
            pv_.foulKind = 2;
            first = " it's a long hard hit line drive";
            second = " but it's curving";
            third = " and drops in just fair for a single";
            ExtraChance();
            break;
        case 2:
            pv_.foulKind = 3;
            first = " it's hit hard long and high";
            second = " it's going going";
            third = " and bounces off of the" + words_.fieldSpoken[r3] + " field wall for a single";
            ExtraChance();
            break;
        case 3:
            pv_.foulKind = 1;
            first = " it's a sharpley hit ball";
            second = " on one high bounce the shortstop comes up with the ball";
            third = " here's the throw to first it looks like it could be close";
            pv_.narrationMode = 4;
            pv_.pickupFielder = 3;
            pv_.throwTarget = 1;
            pv_.runnerSafe = 1;
            break;
        case 4: {
            pv_.foulKind = 3;
            first = " it's hit long and high it's going going";
            const int field = keys_.wf(3);
            const char* gone = keys_.wf(2) == 1 ? "over the fence" : "out of the park";
            second = " and the" + words_.fieldSpoken[field] + " fielder watches it go " + gone;
            third = " for a home run";
            HomeRun();
            break;
        }
        case 5:
            pv_.foulKind = 1;
            first = " it's a sharply hit line drive";
            second = " into the gap in" + words_.fieldSpoken[keys_.wf(2)] + " field for a double";
            Double();
            break;
        case 6: {
            pv_.foulKind = 2;
            const int s = keys_.wf(2);
            first = " it's hit down the" + words_.fieldSpoken[s] + " foul line";
            second = " the ball is bouncing around in the corner";
            third = " the" + words_.fieldSpoken[s] + " fielder comes up with the ball and here's the throw to third";
            Triple();
            break;
        }
        case 7:
            pv_.foulKind = 1;
            first = " it's a hit just over the glove of the jumping ";
            second = words_.ordinalWord[r3] + " baseman";
            ExtraChance();
            break;
        case 8: {
            const int k = keys_.wf(3);
            pv_.foulKind = k;
            const int fielder = keys_.wf(4);
            first = DivingLineDrive(k, fielder);
            second = " and the ball gets by for a hit.";
            pv_.stepNarrationFlag = 1;
            pv_.fielderNumber = fielder;
            ExtraChance();
            break;
        }
        case 9:
            pv_.foulKind = 3;
            first = " it's hit hard long and high";
            second = " it's going going";
            third = " and bounces off of the" + words_.fieldSpoken[keys_.wf(3)] + " field wall for a double";
            Double();
            break;
        case 10:
            pv_.foulKind = keys_.wf(2);
            first = " the ball is hit right at the" + words_.ordinalWord[keys_.wf(3)] + " baseman";
            second = " it handcuffs the fielder andis dropped.";
            third = " the fielder picks up the ball but has no play";
            ExtraChance();
            break;
        case 11:
            pv_.foulKind = 1;
            first = " there's a check swing flair";
            second = " into short" + words_.fieldSpoken[keys_.wf(3)] + " field for a single";
            break;
        case 12: {
            pv_.foulKind = keys_.wf(2);
            const int b = keys_.wf(3);
            const int f = b == 1 ? 2 : b == 2 ? 3 : 1;
            first = " it's a ground ball that gets under the glove of";
            second = " the" + words_.ordinalWord[b] + " baseman and rolls";
            third = " into" + words_.fieldSpoken[f] + " field for a single";
            ExtraChance();
            break;
        }
        case 13: {
            pv_.foulKind = keys_.wf(3);
            first = " the ball is hit straight back to the pitcher.";
            const char* how = keys_.wf(2) == 1 ? " bounces " : " glances ";
            second = std::string(" The ball ") + how + " off of the pitcher's " + kPitcherPart[keys_.wf(6)];
            third = " for a hit ";
            ExtraChance();
            break;
        }
        default:  // 14
            BloopHit();
            break;
    }
}

void BattedBalls::HomeRun() {
    pv_.homeRunFlag = 1;
    gs_.homeRunTally += 1;
    gs_.runsOnPlay = gs_.runnersOn + 1;
    if (gs_.runsOnPlay == 4) {
        pv_.thirdFragment = " for a grand slam home run";
        gs_.grandSlamTally += 1;
        gs_.homeRunTally -= 1;
    }
    gs_.runnerOnFirst = 0;
    gs_.runnerOnSecond = 0;
    gs_.runnerOnThird = 0;
    gs_.extraBaseFlag = 0;
    pv_.runnersPlaced = 1;
}

void BattedBalls::Double() {
    gs_.doubleTally += 1;
    gs_.runsOnPlay = RunnersNow();
    gs_.runnerOnFirst = 0;
    gs_.runnerOnSecond = 1;
    gs_.runnerOnThird = 0;
    pv_.runnersPlaced = 1;
}

void BattedBalls::Triple() {
    gs_.tripleTally += 1;
    pv_.throwTarget = 3;
    pv_.runnerSafe = 1;
    pv_.slideSoundFlag = 1;
    gs_.runsOnPlay = RunnersNow();
    gs_.runnerOnFirst = 0;
    gs_.runnerOnSecond = 0;
    gs_.runnerOnThird = 1;
    pv_.runnersPlaced = 1;
}

void BattedBalls::BloopHit() {
    pv_.foulKind = keys_.wf(2);
    const int k = keys_.wf(3);
    pv_.firstFragment = BloopFly(k);
    std::string ending;
    switch (keys_.wf(3)) {
        case 1:
            ending = " single. ";
            gs_.runsOnPlay = gs_.runnerOnThird;
            gs_.runnerOnThird = int(gs_.runnerOnSecond);
            gs_.runnerOnSecond = int(gs_.runnerOnFirst);
            gs_.runnerOnFirst = 1;
            break;
        case 2:
            ending = std::string(keys_.wf(2) == 2 ? " stand up " : "") + " double. ";
            gs_.runsOnPlay = gs_.runnerOnSecond + gs_.runnerOnThird;
            gs_.runnerOnThird = int(gs_.runnerOnFirst);
            gs_.runnerOnSecond = 1;
            gs_.runnerOnFirst = 0;
            gs_.doubleTally += 1;
            break;
        default:
            ending = std::string(keys_.wf(2) == 2 ? " stand up " : "") + " triple. ";
            gs_.runsOnPlay = RunnersNow();
            gs_.runnerOnFirst = 0;
            gs_.runnerOnSecond = 0;
            gs_.runnerOnThird = 1;
            gs_.tripleTally += 1;
            break;
    }
    pv_.secondFragment = " The ball bounces and rolls into " + words_.fieldName[k] + " field for a " + ending;
    pv_.stepNarrationFlag = 1;
    pv_.runnersPlaced = 1;
    pv_.fielderNumber = k + 4;
}

// ---------------------------------------------------------------------------
// Outs

void BattedBalls::OutPlay() {
    entry = 0;
    doublePlayKind = 0;
    gs_.runnersOn = RunnersNow();
    if (gs_.outs < 2) {
        const int n = gs_.hitAndRunFlag == 1 ? 5 : 13;
        // Each double play needs a runner it can put out; the draw is made
        // whether or not there is one.
        if (keys_.wf(n) == 3 && RunnersNow() > 0) return LineDriveDoublePlay();
        if (keys_.wf(n) == 3 && RunnersNow() > 0) return BloopDoublePlay();
        if (gs_.runnerOnFirst == 1 && keys_.wf(gs_.hitAndRunFlag == 1 ? 7 : 3) == 2) return GroundBallDoublePlay();
    }

    entry = keys_.wf(11);
    OutEntry();
    // A third out ends the play before any runner moves.
    if (gs_.outs >= 2) gs_.extraBaseFlag = 0;
    if (gs_.extraBaseFlag == 1) narration_.advanceRunners();
    narration_.Narrate();
}

void BattedBalls::OutEntry() {
    std::string& first = pv_.firstFragment;
    std::string& second = pv_.secondFragment;
    std::string& third = pv_.thirdFragment;
    switch (entry) {
        case 1: {
            pv_.foulKind = 2;
            const int s = keys_.wf(2);
            first = " it's a long hard hit line drive";
            second = " but it's curving";
            third = " and the" + words_.fieldSpoken[s] + " fielder catches it just in side the line";
            pv_.throwTarget = kFieldCall[s];
            ExtraChance();
            break;
        }
        case 2: {
            pv_.foulKind = 3;
            const int s = keys_.wf(3);
            first = " it's hit hard long and high";
            second = " it's going going";
            third = " the" + words_.fieldSpoken[s] + " fielder jumps and catches it at the wall";
            pv_.throwTarget = kFieldCall[s];
            ExtraChance();
            break;
        }
        case 3:
            pv_.foulKind = 1;
            first = " it's a sharply hit ball";
            second = " on one high bounce the shortstop comes up withe the ball";
            third = " here's the throw to first it looks like it could be close";
            pv_.narrationMode = 4;
            pv_.pickupFielder = 3;
            pv_.throwTarget = 1;
            if (gs_.runnersOn > 0) gs_.extraBaseFlag = 1;
            if (gs_.battingTeam == gs_.homeTeam && keys_.wf(3) == 2) pv_.booFlag = 1;
            break;
        case 4:
            pv_.foulKind = 1;
            first = " the pitch was hit straight up in the air";
            second = " the catcher is waiting for the ball to come down but it is drifting. ";
            third = " the catcher is against the screen and makes the catch";
            pv_.throwTarget = 4;
            break;
        case 5: {
            pv_.foulKind = 2;
            const int b = keys_.wf(3);
            first = " it's a hard hit line drive right at the";
            second = words_.ordinalWord[b] + " baseman";
            pv_.throwTarget = b;
            break;
        }
        case 6:
            pv_.foulKind = 1;
            first = " the ball is hit straight back to the pitcher.";
            second = " the pitcher scoops it up and throws to first";
            pv_.throwTarget = 1;
            if (gs_.runnerOnFirst == 1) gs_.extraBaseFlag = 1;
            break;
        case 7: {
            pv_.foulKind = 1;
            const int b = keys_.wf(3);
            first = " it's a high pop up in the infield";
            second = " the" + words_.ordinalWord[b] + " baseman is circling under the ball,";
            third = " just waiting for it to come down";
            pv_.throwTarget = b;
            break;
        }
        case 8:
            pv_.foulKind = keys_.wf(2);
            first = " the ball is hit right at the" + words_.ordinalWord[keys_.wf(3)] + " baseman";
            second = " it handcuffs the fielder and the ball is dropped.";
            third = " the fielder picks up the ball and here is the throw to first";
            pv_.throwTarget = 1;
            ExtraChance();
            break;
        case 9: {
            pv_.foulKind = 2;
            const int s = keys_.wf(3);
            first = " it's a routine fly ball";
            second = " to" + words_.fieldSpoken[s] + " field";
            pv_.throwTarget = kFieldCall[s];
            break;
        }
        case 10: {
            const int k = keys_.wf(3);
            pv_.foulKind = k;
            const int fielder = keys_.wf(4);
            first = DivingLineDrive(k, fielder);
            second = " and catches the ball.";
            pv_.stepNarrationFlag = 1;
            pv_.noGloveFlag = 1;
            pv_.fielderNumber = fielder;
            pv_.diveCatchFlag = 1;
            pv_.throwTarget = kDiveCall[fielder];
            break;
        }
        default: {  // 11
            pv_.foulKind = keys_.wf(2);
            const int s = keys_.wf(3);
            first = BloopFly(s);
            second = " and catches the ball for an out. ";
            pv_.stepNarrationFlag = 1;
            pv_.noGloveFlag = 1;
            pv_.mirrorThrowFlag = 1;
            pv_.throwTarget = s + 4;
            pv_.fielderNumber = s + 4;
            pv_.diveCatchFlag = 1;
            break;
        }
    }
}

// ---------------------------------------------------------------------------
// Double plays

void BattedBalls::LineDriveDoublePlay() {
    doublePlayKind = 1;
    gs_.doublePlayTally = 1;
    gs_.runnersOn -= 1;
    gs_.outs = std::min(3, gs_.outs + 1);
    if (gs_.outs > 1) gs_.extraBaseFlag = 0;

    const int k = keys_.wf(3);
    sound_.play3(kContact[k], 2300);
    const int fielder = keys_.wf(4);
    pv_.firstFragment = DivingLineDrive(k, fielder);
    speech_.say(pv_.firstFragment);
    pv_.fielderNumber = fielder;
    pv_.diveCatchFlag = 1;
    field_.playerslide(pv_.fielderNumber, pv_.diveCatchFlag);
    speech_.say(" and catches the ball.");

    if ((fielder == 2 && gs_.runnerOnFirst == 1) || (fielder == 3 && gs_.runnerOnSecond == 1)) {
        gs_.extraBaseFlag = 0;
        Base(fielder - 1) = 0;
        speech_.say(" and tags the runner for a double play. ");
    } else if ((fielder == 1 && gs_.runnerOnFirst == 1) || (fielder == 4 && gs_.runnerOnThird == 1)) {
        gs_.extraBaseFlag = 0;
        Base(fielder == 1 ? 1 : 3) = 0;
        speech_.say(" and scrambles to the base for a double play. ");
    } else {
        ThrowForDoublePlay();
    }
    narration_.ClosingSteps();
}

void BattedBalls::BloopDoublePlay() {
    doublePlayKind = 2;
    gs_.doublePlayTally = 1;
    gs_.runnersOn -= 1;
    gs_.outs = std::min(3, gs_.outs + 1);

    sound_.play3(keys_.wf(2) == 1 ? "lh" : "mh", 2300);
    const int s = keys_.wf(3);
    pv_.fielderNumber = s + 4;
    pv_.firstFragment = BloopFly(s);
    speech_.say(pv_.firstFragment);
    pv_.diveCatchFlag = 1;
    field_.playerslide(pv_.fielderNumber, pv_.diveCatchFlag);
    speech_.say(" and catches the ball for an out. ");
    ThrowForDoublePlay();
    narration_.ClosingSteps();
}

void BattedBalls::ThrowForDoublePlay() {
    int base = 0;
    for (int tries = 0; tries < kMaxBaseDraws && base == 0; ++tries) {
        const int b = keys_.wf(3);
        if (Base(b) == 1) base = b;
    }
    for (int b = 1; b <= 3 && base == 0; ++b)
        if (Base(b) == 1) base = b;
    if (base == 0) return;  // nobody left to throw out
    Base(base) = 0;
    pv_.throwTarget = base;
    speech_.say(std::string(" the throw goes to ") + kBaseWord[base] + " base. ");
    field_.sayoutat();
    speech_.say(" for a double play. ");
}

void BattedBalls::GroundBallDoublePlay() {
    doublePlayKind = 3;
    pv_.narrationMode = 3;
    const int k = keys_.wf(3);
    pv_.foulKind = k;
    const char* subject = keys_.wf(2) == 1 ? " It's" : " The ball is";
    const char* at = keys_.wf(2) == 1 ? " at the " : " back to the ";
    pv_.pickupFielder = keys_.wf(4);
    const std::string fielder = kGroundFielder[pv_.pickupFielder];
    pv_.firstFragment = std::string(subject) + kGroundForce[k] + " hit " + at + TrimRight(fielder) + ". " +
                        kBounce[keys_.wf(3)];
    pv_.secondFragment = " the " + fielder + " comes up with the ball. " + " the throw is to second for one out.";
    pv_.thirdFragment = " The relay throw is to first base. It looks like it could be close.";
    pv_.outFragment = " And they turn the double play. ";

    if (keys_.wf(2) == 2) {
        // Turned: the runner forced at second and the batter at first.
        gs_.doublePlayTally = 1;
        gs_.outs = std::min(3, gs_.outs + 2);
        gs_.runnersBeforePlay -= 1;
        if (gs_.battingTeam == gs_.homeTeam) pv_.booFlag = 1;
        if (gs_.battingTeam == gs_.visitingTeam) pv_.cheerFlag = 1;
        gs_.runnerOnFirst = 0;
        RunnersMoveUpAfterForce();
        gs_.runnerOnFirst = 0;
        pv_.runnerSafe = 0;
        pv_.hitOrOut = 0;
    } else {
        // Only the force at second: the batter beats the relay.
        gs_.outs = std::min(3, gs_.outs + 1);
        pv_.hitOrOut = 0;
        pv_.runnerSafe = 1;
        gs_.runnersBeforePlay -= 1;
        if (gs_.battingTeam == gs_.visitingTeam) pv_.booFlag = 1;
        gs_.runnerOnFirst = 0;
        RunnersMoveUpAfterForce();
        gs_.runnerOnFirst = 1;
    }
    narration_.Narrate();
}

void BattedBalls::RunnersMoveUpAfterForce() {
    if (gs_.runnerOnSecond == 1 || gs_.runnerOnThird == 1) gs_.extraBaseFlag = 1;
    if (gs_.outs > 2) gs_.extraBaseFlag = 0;
    if (gs_.extraBaseFlag == 1) narration_.advanceRunners();
}

}  // namespace sw
