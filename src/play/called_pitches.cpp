#include "play/called_pitches.h"

#include "record/text.h"

namespace sw {

namespace {

// A redraw that keeps being rejected gives up after this many draws. Every
// height has rows that fit, so a working generator never gets near it.
constexpr int kMaxDraws = 100;

}  // namespace

CalledPitches::CalledPitches(const PlayDeps& d, FieldingSounds& field, StatusReport& status)
    : gs_(d.gs),
      pv_(d.pv),
      pitch_(d.pitch),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      status_(status) {}

const char* CalledPitches::PitchNameOf(int pitchNumber) {
    static const char* const kNames[] = {"FAST BALL", "CURVE BALL ",   "SLIDER ",   "SINKER ",
                                         "CHANGE UP", "KNUCKLE BALL ", "SCREWBALL "};
    if (pitchNumber < 1 || pitchNumber > 7) return nullptr;
    return kNames[pitchNumber - 1];
}

void CalledPitches::CalledPitch() {
    if (const char* name = PitchNameOf(pv_.pitchNumber)) pitchName = name;
    sound_.playcrowd1();
    sound_.play3("glove", 2500);
    // A key that came while the ball went into the mitt is a swing, too late.
    if (keys_.Pressed() && gs_.battingTeam == 1) {
        StrikeCall();
        return;
    }
    const int height = pitch_.pitchSpeedClass;
    if (height == 1 || height == 5) CalledBall();
    else CalledStrike();
}

void CalledPitches::SwingingStrike() {
    sound_.playcrowd1();
    sound_.play3("glove", 2500);
    StrikeCall();
}

void CalledPitches::CountStrike() {
    sound_.play3("strike", 2700);
    keys_.dy(0.5);
    gs_.AddStrike();
    sound_.play3(LastDigit(gs_.strikes), 2700);
}

void CalledPitches::StrikeCall() {
    CountStrike();
    pitchName.clear();
    pitchComment = "swing and a miss";
    if (gs_.strikes >= 3) Strikeout();
    Sentence();
}

std::string CalledPitches::StrikePhrase(int r) const {
    const bool middle = pitch_.pitchSpeedClass == 3;
    switch (r) {
        case 1: return middle ? " thigh high and right down the center of the plate" : "";
        case 2: return " caught the out side corner of the plate";
        case 3: return " caught the in side corner of the plate";
        case 4: return heightWord + " and tight but over";
        case 5: return heightWord + " and away but over";
        case 6: return middle ? " over right at the knees" : "";
        case 7: return " must have just caught the out side corner";
        case 8: return " must have just caught the in side corner";
        case 9: return heightWord + " and in side but over";
        case 10: return heightWord + " and away but over";
        default: return "";
    }
}

void CalledPitches::CalledStrike() {
    CountStrike();
    const int height = pitch_.pitchSpeedClass;
    for (int draws = 1;; ++draws) {
        const int r = keys_.wf(10);
        heightWord = height == 2 ? "low " : height == 4 ? "high " : "-";
        pitchComment = StrikePhrase(r);
        if (!pitchComment.empty() && pitchComment[0] != '-') break;
        if (draws >= kMaxDraws) {
            pitchComment = StrikePhrase(2);  // fits every height
            break;
        }
    }
    if (gs_.strikes >= 3) Strikeout();
    Sentence();
}

void CalledPitches::CalledBall() {
    pitchComment.clear();
    if (pitch_.pitchSpeedClass == 1) heightWord = " low ";
    else if (pitch_.pitchSpeedClass == 5) heightWord = " high ";
    pitchComment = keys_.wf(2) == 2 ? " just missed " : " missed ";
    switch (keys_.wf(8)) {
        case 1: pitchComment += heightWord + " and tight"; break;
        case 2: pitchComment += heightWord + " and away"; break;
        case 3:
        case 4: pitchComment += heightWord; break;
        case 5: pitchComment += " in side"; break;
        case 6: pitchComment += " out side"; break;
        case 7: pitchComment += heightWord + " and in side"; break;
        default: pitchComment += heightWord + " and out side"; break;
    }
    sound_.play3("ball", 2700);
    gs_.AddBall();
    keys_.dy(0.5);
    sound_.play3(LastDigit(gs_.balls), 2700);
    if (gs_.balls >= 4) Walk();
    Sentence();
}

void CalledPitches::Walk() {
    sound_.play3("takebase", 2700);
    gs_.walkTally += 1;
    pv_.hitChance = 0;
    if (gs_.ForceBatterToFirst()) pv_.runsOnPlay = pv_.forcedRuns = 1;
}

void CalledPitches::Strikeout() {
    gs_.strikeoutTally += 1;
    pv_.throwTarget = 4;
    pv_.noGloveFlag = 1;
    field_.sayoutat();
    // The home crowd mostly boos its own batter for looking at strike three.
    if (gs_.battingTeam == gs_.homeTeam && pv_.batterAction == 1 && keys_.wf(3) != 2) sound_.play("boo");
    gs_.AddOuts();
    pv_.hitChance = 0;
    status_.OutsReadOut();  // the outs item alone
}

void CalledPitches::Sentence() {
    speech_.say(" a " + pitchName + pitchComment);
    if (pv_.hitChance != 0) return;
    if (gs_.battingTeam == gs_.homeTeam && gs_.balls == 4) sound_.play("crcheer");
    if (gs_.battingTeam == gs_.visitingTeam && gs_.strikes == 3) sound_.play("crcheer");
    gs_.NewCount();
}

}  // namespace sw
