#include "practice/practice.h"

#include "play/swing_verdict.h"

namespace sw {

namespace {
const char* const kModes[4] = {"", " random pitches ", " selected pitches ", " exit "};
const char* const kPitchNames[8] = {"",        "FAST BALL", "CURVE BALL ",   "SLIDER ",
                                    "SINKER ", "CHANGE UP", "KNUCKLE BALL ", "SCREWBALL "};
}  // namespace

Practice::Practice(Speech& speech, Sound& sound, KeyWaits& waits, Pitch& pitch)
    : speech_(speech), sound_(sound), waits_(waits), keys_(waits.keys()), pitch_(pitch) {}

const char* Practice::PitchName(int number) { return number >= 1 && number <= 7 ? kPitchNames[number] : ""; }

void Practice::batprac() {
    keys_.random().Reseed(keys_.timer());
    keys_.clk();
    for (;;) {
        // The menu.
        speech_.say2(" Select ");
        practiceMode = 1;
        bool chosen = false;
        while (!chosen) {
            speech_.say2(kModes[practiceMode]);
            const Key key = waits_.getkey();
            speech_.stopspeech();
            const std::string& code = key.code;
            if (code == "38") {
                practiceMode = practiceMode == 1 ? 3 : practiceMode - 1;
            } else if (code == "40") {
                practiceMode = practiceMode == 3 ? 1 : practiceMode + 1;
            } else if (code == "13") {
                chosen = true;
            } else {
                speech_.saykey(key);
                break;  // back to " Select "
            }
        }
        if (!chosen) continue;
        if (practiceMode == 3) {
            sound_.ReleaseEffect();
            return;
        }
        if (practiceMode == 2) ChoosePitch();
        PracticeLoop();
    }
}

void Practice::ChoosePitch() {
    for (;;) {
        speech_.say2(" select the pitch that you wish to practice ");
        selectedPitch = 1;
        for (;;) {
            keys_.clk();
            speech_.say2(kPitchNames[selectedPitch]);
            const Key key = waits_.getkey();
            const std::string& code = key.code;
            if (code == "13") return;
            if (code == "40") {
                selectedPitch = selectedPitch == 7 ? 1 : selectedPitch + 1;
            } else if (code == "38") {
                selectedPitch = selectedPitch == 1 ? 7 : selectedPitch - 1;
            } else {
                if (code != "112") speech_.saykey(key);
                break;  // the question again
            }
        }
    }
}

void Practice::PracticeLoop() {
    if (keys_.variant().resetPromptCountOnEntry) practicePromptCount = 0;
    for (;;) {
        ++practicePromptCount;
        if (practicePromptCount == 1 || practicePromptCount == 2 || practicePromptCount == 5 ||
            practicePromptCount == 8)
            speech_.say2(" press any key to swing the bat when the pitch is about 85 percent from left to right ");
        speech_.say2("press the space bar to step into the batters box or e to exit");
        const Key key = waits_.getkey();
        if (key.ch == "e" || (keys_.variant().escapeLeavesBox && key.code == "27")) return;
        if (key.code == "32") {
            OnePitch();
        } else {
            practicePromptCount = 0;
        }
    }
}

void Practice::OnePitch() {
    keys_.clk();
    pitchNumber = practiceMode == 1 ? keys_.wf(7) : selectedPitch;
    const std::string name = PitchName(pitchNumber);
    speech_.say(" here's the whined up");
    speech_.say(" and the pitch");
    pitch_.PitchSound(pitchNumber, pitch, false);

    if (pitch.swingPercent == 0) {
        sound_.play3("glove", 2500);
        if (keys_.Pressed()) {
            // A key during the glove: a swing far too late.
            sound_.playspec("sm", 2300);
            pitch.swingPercent = 99;
            SwingAndMiss();
        } else {
            keys_.dy(0.2);
            const int c = pitch.pitchSpeedClass;
            sound_.play3(c == 1 || c == 5 ? "ball" : "strike", 2700);
            keys_.dy(0.5);
            if (c != 3) {
                std::string words = "a " + name;
                words += c < 3 ? " low " : " high ";
                if (c == 2 || c == 4) words += " but over";
                speech_.say(words);
            }
        }
    } else if (pitch.swungAndMissed == 1) {
        // The swing sound has played and the pitch has run to its end.
        sound_.play3("glove", 2500);
        SwingAndMiss();
    } else if (VerdictOf(SwingAction::Swing, pitch.swingPercent) != SwingVerdict::InPlay) {
        sound_.play3("ft", 2300);
        keys_.dy(0.2);
        sound_.play3("foulball", 2700);
        keys_.dy(0.5);
        speech_.say(std::string("you swung just a bit too ") + (pitch.swingPercent < 85 ? "early" : "late"));
    } else {
        // Graded by the whole part of the percentage: best at 87. Exactly 90
        // has no grade of its own and counts as the edge of the window, a hit.
        static const char* const kSounds[6] = {"lh", "lh", "mh", "hh", "mh", "lh"};
        static const char* const kWords[6] = {"a hit", "a hit", "a good hit", "you got all of that one", "a good hit",
                                              "a hit"};
        int grade = static_cast<int>(pitch.swingPercent) - 84;
        if (grade < 1 || grade > 5) grade = grade < 1 ? 1 : 5;
        sound_.play3(kSounds[grade], 2300);
        keys_.dy(0.2);
        speech_.say(kWords[grade]);
    }
    keys_.dy(0.5);
}

void Practice::SwingAndMiss() {
    keys_.dy(0.2);
    sound_.play3("strike", 2700);
    keys_.dy(0.5);
    speech_.say("a swing and a miss");
    keys_.dy(0.2);
    speech_.say(std::string("you swung too ") + (pitch.swingPercent < 80 ? "early" : "late"));
}

}  // namespace sw
