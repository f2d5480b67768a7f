#include "play/fouls.h"

#include <algorithm>
#include <string>

namespace sw {

namespace {

// A redraw that keeps meeting the history gives up after this many draws and
// takes the lowest description not in it. Eight of eleven always fit, so a
// working generator never gets near it.
constexpr int kMaxDraws = 100;

}  // namespace

Fouls::Fouls(const PlayDeps& d, Narration& narration) : gs_(d.gs), pv_(d.pv), keys_(d.keys), narration_(narration) {}

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
    std::string& first = pv_.firstFragment;
    std::string& second = pv_.secondFragment;
    std::string& third = pv_.thirdFragment;
    first.clear();
    second.clear();
    third.clear();
    switch (choice) {
        case 1:
            pv_.foulKind = keys_.wf(3);
            first = " it's a high pop up, foul, and out of play to the ";
            first += keys_.wf(2) == 1 ? " right " : " left ";
            break;
        case 2:
            pv_.foulKind = 5;
            first = "There's a foul tip off of the catchers shin guard";
            break;
        case 3:
            pv_.foulKind = 1;
            first = "the pitch was fouled straight back";
            break;
        case 4:
            pv_.foulKind = 1;
            first = " the pitch was hit straight up in the air";
            second = " the catcher is waiting for the ball to come down but it is drifting ";
            third = " and into the stands it goes";
            break;
        case 5:
            pv_.foulKind = 2;
            first = " it's a long hard hit line drive";
            second = " but it's curving into the stands";
            break;
        case 6:
            pv_.foulKind = 3;
            first = " it's hit hard long and high";
            second = " it's going going but curving into the stands";
            break;
        case 7:
            pv_.foulKind = keys_.wf(2);
            first = " it's a line drive into the ";
            second = gs_.teamName[keys_.wf(2)] + " dug out";
            break;
        case 8: {
            static const char* const kWhere[] = {"foot", "shin", "knee"};
            pv_.foulKind = 4;
            first = " it looked like that foul ball bounced off of the batters ";
            first += kWhere[keys_.wf(3) - 1];
            break;
        }
        case 9: {
            static const char* const kWhere[] = {"chin", "elbow", "thigh"};
            pv_.foulKind = 4;
            first = "I think that foul tip bounced up and hit the batter on the ";
            first += kWhere[keys_.wf(3) - 1];
            break;
        }
        case 10: {
            static const char* const kWhere[] = {"on the bare hand", "square in the mask", "just under the mask"};
            pv_.foulKind = 4;
            first = "That foul tip caught the catcher ";
            first += kWhere[keys_.wf(3) - 1];
            break;
        }
        default:
            pv_.foulKind = 6;
            first = "I don't even want to tell you where that foul ball hit the catcher";
            break;
    }
    // The tips, and every foul that hits somebody.
    if (choice == 2 || choice > 7) pv_.foulTipFlag = 1;
    if (choice > 7) {
        second = " that must have hurt";
        if (choice == 11) second += " real bad";
    }
}

void Fouls::Foul() {
    pv_.foulChoice = ChooseDescription();
    pv_.foulCallPending = 1;
    Describe(pv_.foulChoice);
    if (gs_.strikes < 2) gs_.strikes += 1;
    narration_.Narrate();
}

}  // namespace sw
