#include "play/fouls.h"

#include "play/commentary_rows.h"

#include <algorithm>
#include <string>

namespace sw {

namespace {

using namespace rows;

// A redraw that keeps meeting the history gives up after this many draws and
// takes the lowest description not in it. Eight of eleven always fit, so a
// working generator never gets near it.
constexpr int kMaxDraws = 100;

constexpr Fragment Say(const char* s) { return {T(s)}; }
constexpr RowDraw D(int sides) { return {static_cast<int8_t>(sides), 0, 0}; }

const char* const kSide[] = {"", " right ", " left "};
const char* const kBatterLow[] = {"", "foot", "shin", "knee"};
const char* const kBatterHigh[] = {"", "chin", "elbow", "thigh"};
const char* const kCatcher[] = {"", "on the bare hand", "square in the mask", "just under the mask"};
constexpr const char* kHurt = " that must have hurt";

// The eleven descriptions. The tips, and every foul that hits somebody, are
// foul tips for the call.
constexpr CommentaryRow kFouls[11] = {
    {.draws = {D(3), D(2)},
     .foulKind = FromDraw(1),
     .words = {Fragment{T(" it's a high pop up, foul, and out of play to the "), Pick(kSide, 2)}}},
    {.foulKind = Is(5), .words = {Say("There's a foul tip off of the catchers shin guard")}, .foulTip = true},
    {.foulKind = Is(1), .words = {Say("the pitch was fouled straight back")}},
    {.foulKind = Is(1),
     .words = {Say(" the pitch was hit straight up in the air"),
               Say(" the catcher is waiting for the ball to come down but it is drifting "),
               Say(" and into the stands it goes")}},
    {.foulKind = Is(2), .words = {Say(" it's a long hard hit line drive"), Say(" but it's curving into the stands")}},
    {.foulKind = Is(3),
     .words = {Say(" it's hit hard long and high"), Say(" it's going going but curving into the stands")}},
    // Into either dugout.
    {.draws = {D(2), D(2)},
     .foulKind = FromDraw(1),
     .words = {Say(" it's a line drive into the "), Fragment{Team(2), T(" dug out")}}},
    {.draws = {D(3)},
     .foulKind = Is(4),
     .words = {Fragment{T(" it looked like that foul ball bounced off of the batters "), Pick(kBatterLow, 1)},
               Say(kHurt)},
     .foulTip = true},
    {.draws = {D(3)},
     .foulKind = Is(4),
     .words = {Fragment{T("I think that foul tip bounced up and hit the batter on the "), Pick(kBatterHigh, 1)},
               Say(kHurt)},
     .foulTip = true},
    {.draws = {D(3)},
     .foulKind = Is(4),
     .words = {Fragment{T("That foul tip caught the catcher "), Pick(kCatcher, 1)}, Say(kHurt)},
     .foulTip = true},
    {.foulKind = Is(6),
     .words = {Say("I don't even want to tell you where that foul ball hit the catcher"), Fragment{T(kHurt), T(" real bad")}},
     .foulTip = true},
};

}  // namespace

Fouls::Fouls(const PlayDeps& d, Narration& narration)
    : gs_(d.gs), pv_(d.pv), words_(d.words), keys_(d.keys), narration_(narration) {}

int Fouls::ChooseDescription() {
    auto& recent = pv_.recentFouls;
    auto seen = [&](int v) { return std::find(recent.begin(), recent.end(), v) != recent.end(); };
    int choice = keys_.wf(11);
    for (int draws = 1; seen(choice); ++draws) {
        if (draws >= kMaxDraws) {
            choice = 1;
            while (seen(choice)) ++choice;
            break;
        }
        choice = keys_.wf(11);
    }
    recent[2] = recent[1];
    recent[1] = recent[0];
    recent[0] = choice;
    return choice;
}

void Fouls::Describe(int choice) {
    pv_.firstFragment.clear();
    pv_.secondFragment.clear();
    pv_.thirdFragment.clear();
    Tell(kFouls[choice - 1], 0, keys_, words_, gs_, pv_);
}

void Fouls::Foul() {
    pv_.foulChoice = ChooseDescription();
    pv_.foulCallPending = 1;
    Describe(pv_.foulChoice);
    gs_.AddStrike(2);
    narration_.Narrate();
}

}  // namespace sw
