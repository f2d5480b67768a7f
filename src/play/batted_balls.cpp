#include "play/batted_balls.h"

#include <algorithm>
#include <array>

namespace sw {

namespace {

using namespace rows;

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
constexpr int kFieldCall[] = {0, 7, 5, 6};
// The base a diving infielder's out is called at.
constexpr int kDiveCall[] = {0, 1, 2, 2, 3};

// A throw draws bases until it names an occupied one; this many misses in a
// row would mean the draws are stuck, and the first occupied base is taken.
constexpr int kMaxBaseDraws = 100;

// A hit's or an out's row words.
constexpr Fragment Say(const char* s) { return {T(s)}; }
constexpr RowDraw D(int sides) { return {static_cast<int8_t>(sides), 0, 0}; }
// " It's a ... line drive. The ... dives." with the force and the diving
// infielder drawn as `force` and `fielder`.
constexpr Fragment DivingLineDrive(int force, int fielder) {
    return {T(" It's a"), Pick(kLineDriveForce, force), T(" line drive. The "), Pick(kDivingFielder, fielder),
            T(" dives.")};
}
// The bloop fly into short left, center or right, drawn as `field`.
constexpr Fragment BloopFly(int field) {
    return {T(" It's a bloop pop fly ball into short "), FieldName(field), T(" field.  The "), FieldName(field),
            T(" fielder runs and dives. ")};
}

const char* const kGone[] = {"", "over the fence", "out of the park"};
const char* const kGlances[] = {"", " bounces ", " glances "};
const char* const kStandUp[] = {"", "", " stand up "};
const char* const kBloopEnding[] = {"", " single. ", " double. ", " triple. "};
// The field behind the infielder a ground ball gets by (first, second, third).
constexpr int kFieldPastBase[] = {0, 2, 3, 1};
// The outfielder of a bloop fly (left, center, right), as a fielder and a call place.
constexpr int kOutfielder[] = {0, 5, 6, 7};

using Tally = Advance::Tally;
constexpr Advance kHomeRun[] = {{4, {4, 4, 4}, Tally::HomeRun}};
constexpr Advance kDouble[] = {{2, {4, 4, 4}, Tally::Double}};
constexpr Advance kTriple[] = {{3, {4, 4, 4}, Tally::Triple}};
// The bloop hit's single, double and triple.
constexpr Advance kBloop[] = {{1, {2, 3, 4}, Tally::None}, {2, {3, 4, 4}, Tally::Double}, {3, {4, 4, 4}, Tally::Triple}};

// The table of hits; index 0 of the draws is the hit's second draw.
constexpr CommentaryRow kHits[14] = {
    {.foulKind = Is(2),
     .words = {Say(" it's a long hard hit line drive"), Say(" but it's curving"),
               Say(" and drops in just fair for a single")},
     .rule = RunnerRule::ExtraChance},
    {.foulKind = Is(3),
     .words = {Say(" it's hit hard long and high"), Say(" it's going going"),
               Fragment{T(" and bounces off of the"), Spoken(0), T(" field wall for a single")}},
     .rule = RunnerRule::ExtraChance},
    {.foulKind = Is(1),
     .words = {Say(" it's a sharpley hit ball"), Say(" on one high bounce the shortstop comes up with the ball"),
               Say(" here's the throw to first it looks like it could be close")},
     .throwTarget = Is(1),
     .narrationMode = 4,
     .pickupFielder = 3,
     .runnerSafe = true},
    {.draws = {D(3), D(2)},
     .foulKind = Is(3),
     .words = {Say(" it's hit long and high it's going going"),
               Fragment{T(" and the"), Spoken(1), T(" fielder watches it go "), Pick(kGone, 2)},
               Say(" for a home run")},
     .rule = RunnerRule::Advance,
     .advances = kHomeRun},
    {.draws = {D(2)},
     .foulKind = Is(1),
     .words = {Say(" it's a sharply hit line drive"),
               Fragment{T(" into the gap in"), Spoken(1), T(" field for a double")}},
     .rule = RunnerRule::Advance,
     .advances = kDouble},
    {.draws = {D(2)},
     .foulKind = Is(2),
     .words = {Fragment{T(" it's hit down the"), Spoken(1), T(" foul line")},
               Say(" the ball is bouncing around in the corner"),
               Fragment{T(" the"), Spoken(1), T(" fielder comes up with the ball and here's the throw to third")}},
     .throwTarget = Is(3),
     .runnerSafe = true,
     .slideSound = true,
     .rule = RunnerRule::Advance,
     .advances = kTriple},
    {.foulKind = Is(1),
     .words = {Say(" it's a hit just over the glove of the jumping "), Fragment{Ordinal(0), T(" baseman")}},
     .rule = RunnerRule::ExtraChance},
    {.draws = {D(3), D(4)},
     .foulKind = FromDraw(1),
     .words = {DivingLineDrive(1, 2), Say(" and the ball gets by for a hit.")},
     .fielder = FromDraw(2),
     .stepNarration = true,
     .rule = RunnerRule::ExtraChance},
    {.draws = {D(3)},
     .foulKind = Is(3),
     .words = {Say(" it's hit hard long and high"), Say(" it's going going"),
               Fragment{T(" and bounces off of the"), Spoken(1), T(" field wall for a double")}},
     .rule = RunnerRule::Advance,
     .advances = kDouble},
    {.draws = {D(2), D(3)},
     .foulKind = FromDraw(1),
     .words = {Fragment{T(" the ball is hit right at the"), Ordinal(2), T(" baseman")},
               Say(" it handcuffs the fielder andis dropped."), Say(" the fielder picks up the ball but has no play")},
     .rule = RunnerRule::ExtraChance},
    {.draws = {D(3)},
     .foulKind = Is(1),
     .words = {Say(" there's a check swing flair"), Fragment{T(" into short"), Spoken(1), T(" field for a single")}}},
    {.draws = {D(2), D(3)},
     .foulKind = FromDraw(1),
     .words = {Say(" it's a ground ball that gets under the glove of"),
               Fragment{T(" the"), Ordinal(2), T(" baseman and rolls")},
               Fragment{T(" into"), Spoken(2, kFieldPastBase), T(" field for a single")}},
     .rule = RunnerRule::ExtraChance},
    {.draws = {D(3), D(2), D(6)},
     .foulKind = FromDraw(1),
     .words = {Say(" the ball is hit straight back to the pitcher."),
               Fragment{T(" The ball "), Pick(kGlances, 2), T(" off of the pitcher's "), Pick(kPitcherPart, 3)},
               Say(" for a hit ")},
     .rule = RunnerRule::ExtraChance},
    // The bloop hit: a single, or a double or triple that may be stood up.
    {.draws = {D(2), D(3), D(3), RowDraw{2, 3, 2}},
     .foulKind = FromDraw(1),
     .words = {BloopFly(2),
               Fragment{T(" The ball bounces and rolls into "), FieldName(2), T(" field for a "), Pick(kStandUp, 4),
                        Pick(kBloopEnding, 3)}},
     .fielder = FromDraw(2, kOutfielder),
     .stepNarration = true,
     .rule = RunnerRule::Advance,
     .advances = kBloop,
     .advanceDraw = 3},
};

// The table of outs.
constexpr CommentaryRow kOuts[11] = {
    {.draws = {D(2)},
     .foulKind = Is(2),
     .words = {Say(" it's a long hard hit line drive"), Say(" but it's curving"),
               Fragment{T(" and the"), Spoken(1), T(" fielder catches it just in side the line")}},
     .throwTarget = FromDraw(1, kFieldCall),
     .rule = RunnerRule::ExtraChance},
    {.draws = {D(3)},
     .foulKind = Is(3),
     .words = {Say(" it's hit hard long and high"), Say(" it's going going"),
               Fragment{T(" the"), Spoken(1), T(" fielder jumps and catches it at the wall")}},
     .throwTarget = FromDraw(1, kFieldCall),
     .rule = RunnerRule::ExtraChance},
    {.foulKind = Is(1),
     .words = {Say(" it's a sharply hit ball"), Say(" on one high bounce the shortstop comes up withe the ball"),
               Say(" here's the throw to first it looks like it could be close")},
     .throwTarget = Is(1),
     .narrationMode = 4,
     .pickupFielder = 3,
     .booDraw = true,
     .rule = RunnerRule::AnyoneMovesUp},
    {.foulKind = Is(1),
     .words = {Say(" the pitch was hit straight up in the air"),
               Say(" the catcher is waiting for the ball to come down but it is drifting. "),
               Say(" the catcher is against the screen and makes the catch")},
     .throwTarget = Is(4)},
    {.draws = {D(3)},
     .foulKind = Is(2),
     .words = {Say(" it's a hard hit line drive right at the"), Fragment{Ordinal(1), T(" baseman")}},
     .throwTarget = FromDraw(1)},
    {.foulKind = Is(1),
     .words = {Say(" the ball is hit straight back to the pitcher."),
               Say(" the pitcher scoops it up and throws to first")},
     .throwTarget = Is(1),
     .rule = RunnerRule::FirstMovesUp},
    {.draws = {D(3)},
     .foulKind = Is(1),
     .words = {Say(" it's a high pop up in the infield"),
               Fragment{T(" the"), Ordinal(1), T(" baseman is circling under the ball,")},
               Say(" just waiting for it to come down")},
     .throwTarget = FromDraw(1)},
    {.draws = {D(2), D(3)},
     .foulKind = FromDraw(1),
     .words = {Fragment{T(" the ball is hit right at the"), Ordinal(2), T(" baseman")},
               Say(" it handcuffs the fielder and the ball is dropped."),
               Say(" the fielder picks up the ball and here is the throw to first")},
     .throwTarget = Is(1),
     .rule = RunnerRule::ExtraChance},
    {.draws = {D(3)},
     .foulKind = Is(2),
     .words = {Say(" it's a routine fly ball"), Fragment{T(" to"), Spoken(1), T(" field")}},
     .throwTarget = FromDraw(1, kFieldCall)},
    {.draws = {D(3), D(4)},
     .foulKind = FromDraw(1),
     .words = {DivingLineDrive(1, 2), Say(" and catches the ball.")},
     .throwTarget = FromDraw(2, kDiveCall),
     .fielder = FromDraw(2),
     .stepNarration = true,
     .noGlove = true,
     .diveCatch = true},
    {.draws = {D(2), D(3)},
     .foulKind = FromDraw(1),
     .words = {BloopFly(2), Say(" and catches the ball for an out. ")},
     .throwTarget = FromDraw(2, kOutfielder),
     .fielder = FromDraw(2, kOutfielder),
     .stepNarration = true,
     .noGlove = true,
     .mirrorThrow = true,
     .diveCatch = true},
};

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

std::string BattedBalls::DivingLineDrive(int k, int fielder) const {
    return Build(sw::DivingLineDrive(1, 2), Drawn{0, k, fielder}, words_, gs_);
}

std::string BattedBalls::BloopFly(int s) const { return Build(sw::BloopFly(1), Drawn{0, s}, words_, gs_); }

void BattedBalls::ExtraChance() {
    if (gs_.runnersOn < 1) return;
    if (keys_.wf(2) == 1) pv_.extraBaseFlag = 1;
    if (pv_.hitAndRunFlag == 1) pv_.extraBaseFlag = 1;
}

// ---------------------------------------------------------------------------
// Hits

void BattedBalls::HitPlay() {
    gs_.hitTally += 1;
    gs_.runnersOn = RunnersNow();
    if (gs_.outs == 2 && gs_.runnersOn > 0) pv_.extraBaseFlag = 1;
    entry = keys_.wf(14);
    const int r3 = keys_.wf(3);
    pv_.runnersPlaced = 0;
    const CommentaryRow& row = kHits[entry - 1];
    Follow(row, Tell(row, r3, keys_, words_, gs_, pv_));

    if (pv_.runnersPlaced == 0) {
        if (pv_.extraBaseFlag == 1) {
            narration_.advanceRunners();
            narration_.advanceRunners();
        }
        // The batter takes the first empty base; the runners ahead of him
        // stay where they are unless forced.
        if (gs_.ForceBatterToFirst()) pv_.runsOnPlay = 1;
    }
    narration_.Narrate();
}

void BattedBalls::Follow(const CommentaryRow& row, const Drawn& d) {
    switch (row.rule) {
    case RunnerRule::None:
        break;
    case RunnerRule::ExtraChance:
        ExtraChance();
        break;
    case RunnerRule::AnyoneMovesUp:
        if (gs_.runnersOn > 0) pv_.extraBaseFlag = 1;
        break;
    case RunnerRule::FirstMovesUp:
        if (gs_.runnerOnFirst == 1) pv_.extraBaseFlag = 1;
        break;
    case RunnerRule::Advance:
        Place(row.advances[row.advanceDraw < 0 ? 0 : d[static_cast<size_t>(row.advanceDraw)] - 1]);
        break;
    }
    if (row.booDraw && gs_.battingTeam == gs_.homeTeam && keys_.wf(3) == 2) pv_.booFlag = 1;
}

void BattedBalls::Place(const Advance& a) {
    int runs = a.batter == 4 ? 1 : 0;
    std::array<int, 4> after{};
    if (a.batter < 4) after[static_cast<size_t>(a.batter)] = 1;
    for (int b = 1; b <= 3; ++b) {
        if (Base(b) != 1) continue;
        const int to = a.runner[static_cast<size_t>(b - 1)];
        if (to == 4) ++runs;
        else after[static_cast<size_t>(to)] = 1;
    }
    pv_.runsOnPlay = runs;
    for (int b = 1; b <= 3; ++b) Base(b) = after[static_cast<size_t>(b)];
    pv_.runnersPlaced = 1;
    switch (a.tally) {
    case Advance::Tally::None:
        break;
    case Advance::Tally::Double:
        gs_.doubleTally += 1;
        break;
    case Advance::Tally::Triple:
        gs_.tripleTally += 1;
        break;
    case Advance::Tally::HomeRun:
        pv_.homeRunFlag = 1;
        gs_.homeRunTally += 1;
        pv_.extraBaseFlag = 0;
        if (runs == 4) {
            pv_.thirdFragment = " for a grand slam home run";
            gs_.grandSlamTally += 1;
            gs_.homeRunTally -= 1;
        }
        break;
    }
}

// ---------------------------------------------------------------------------
// Outs

void BattedBalls::OutPlay() {
    entry = 0;
    doublePlayKind = 0;
    gs_.runnersOn = RunnersNow();
    if (gs_.outs < 2) {
        const int n = pv_.hitAndRunFlag == 1 ? 5 : 13;
        // Each double play needs a runner it can put out; the draw is made
        // whether or not there is one.
        if (keys_.wf(n) == 3 && RunnersNow() > 0) return LineDriveDoublePlay();
        if (keys_.wf(n) == 3 && RunnersNow() > 0) return BloopDoublePlay();
        if (gs_.runnerOnFirst == 1 && keys_.wf(pv_.hitAndRunFlag == 1 ? 7 : 3) == 2) return GroundBallDoublePlay();
    }

    entry = keys_.wf(11);
    const CommentaryRow& row = kOuts[entry - 1];
    Follow(row, Tell(row, 0, keys_, words_, gs_, pv_));
    // A third out ends the play before any runner moves.
    if (gs_.outs >= 2) pv_.extraBaseFlag = 0;
    if (pv_.extraBaseFlag == 1) narration_.advanceRunners();
    narration_.Narrate();
}

// ---------------------------------------------------------------------------
// Double plays

void BattedBalls::LineDriveDoublePlay() {
    doublePlayKind = 1;
    gs_.doublePlayTally = 1;
    gs_.runnersOn -= 1;
    gs_.AddOuts();
    if (gs_.outs > 1) pv_.extraBaseFlag = 0;

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
        pv_.extraBaseFlag = 0;
        Base(fielder - 1) = 0;
        speech_.say(" and tags the runner for a double play. ");
    } else if ((fielder == 1 && gs_.runnerOnFirst == 1) || (fielder == 4 && gs_.runnerOnThird == 1)) {
        pv_.extraBaseFlag = 0;
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
    gs_.AddOuts();

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
        gs_.AddOuts(2);
        pv_.runnersBeforePlay -= 1;
        if (gs_.battingTeam == gs_.homeTeam) pv_.booFlag = 1;
        if (gs_.battingTeam == gs_.visitingTeam) pv_.cheerFlag = 1;
        gs_.runnerOnFirst = 0;
        RunnersMoveUpAfterForce();
        gs_.runnerOnFirst = 0;
        pv_.runnerSafe = 0;
        pv_.hitOrOut = 0;
    } else {
        // Only the force at second: the batter beats the relay.
        gs_.AddOuts();
        pv_.hitOrOut = 0;
        pv_.runnerSafe = 1;
        pv_.runnersBeforePlay -= 1;
        if (gs_.battingTeam == gs_.visitingTeam) pv_.booFlag = 1;
        gs_.runnerOnFirst = 0;
        RunnersMoveUpAfterForce();
        gs_.runnerOnFirst = 1;
    }
    narration_.Narrate();
}

void BattedBalls::RunnersMoveUpAfterForce() {
    if (gs_.runnerOnSecond == 1 || gs_.runnerOnThird == 1) pv_.extraBaseFlag = 1;
    if (gs_.outs > 2) pv_.extraBaseFlag = 0;
    if (pv_.extraBaseFlag == 1) narration_.advanceRunners();
}

}  // namespace sw
