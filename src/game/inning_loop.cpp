#include "game/inning_loop.h"

#include "record/text.h"


namespace sw {

InningLoop::InningLoop(GameState& gs, const data::Rosters& rosters, Speech& speech, Sound& sound, Keys& keys,
                       Plays& plays, Bullpen& bullpen, Broadcast& broadcast, GameEnd& gameEnd, PauseMenu& pauseMenu)
    : gs_(gs),
      rosters_(rosters),
      pv_(plays.pv),
      speech_(speech),
      sound_(sound),
      keys_(keys),
      plays_(plays),
      bullpen_(bullpen),
      broadcast_(broadcast),
      gameEnd_(gameEnd),
      pauseMenu_(pauseMenu) {}

void InningLoop::ResetTallies() {
    gs_.ResetTallies();
    pv_.sameBatter = 0;
}

void InningLoop::Play() {
    if (gs_.resumedGame == 0) ResetTallies();
    keys_.clk();
    plays_.status.ReportOne(StatusReport::kInning);
    plays_.status.ReportOne(StatusReport::kTeamAtBat);
    batPromptCount_ = 1;
    firstBatterOfHalf_ = 1;
    bullpen_.pitchMenuFirst = 1;
    sound_.crowdOn = 1;
    for (;;) OnePitch();
}

void InningLoop::WaitWhileSpeaking() {
    keys_.yield();
    while (speech_.Voice && speech_.Voice->RunningState() == host::kSpeechSpeaking && !keys_.Pressed())
        keys_.yield();
    speech_.stopspeech();
}

void InningLoop::StartingPitchers() {
    const int starter = gs_.gameNumber > 5 ? gs_.gameNumber - 5 : gs_.gameNumber;
    auto announce = [&](int team) {
        const auto& starters = team == 1 ? rosters_.startersTeam1 : rosters_.startersTeam2;
        const std::string name = starter >= 0 && starter < static_cast<int>(starters.size())
                                     ? starters[static_cast<size_t>(starter)]
                                     : std::string();
        speech_.say(" Now on the mound, the starting pitcher for the " + gs_.teamName[team] + " " + name);
    };
    if (starterShownTeam1_ == 0 && gs_.battingTeam == 2) {
        starterShownTeam1_ = starter;
        announce(1);
    }
    if (starterShownTeam2_ == 0 && gs_.battingTeam == 1) {
        starterShownTeam2_ = starter;
        announce(2);
    }
}

void InningLoop::Chant() {
    if (gs_.battingTeam != gs_.homeTeam || firstBatterOfHalf_ == 1) return;
    if (keys_.wf(13) != 7) return;
    if (keys_.wf(5) == 3) sound_.play("charge1");
    sound_.play("charge2");
    if (keys_.wf(4) == 2) sound_.play("charge2");
}

void InningLoop::NewBatter() {
    keys_.dy(0.2);
    WaitWhileSpeaking();
    keys_.dy(0.4);
    const int team = gs_.battingTeam;
    Num& slot = gs_.batterUp(team);
    slot = slot >= 9 ? 1 : slot + 1;
    if (team == 1) speech_.say(" now batting for the " + gs_.teamName[1]);
    else speech_.say(" Now stepping into the batters box for the " + gs_.teamName[2]);
    keys_.dy(0.1);
    const auto& batters = team == 1 ? rosters_.battersTeam1 : rosters_.battersTeam2;
    speech_.say(batters[static_cast<size_t>(int(slot))]);
}

void InningLoop::BatterPrompt() {
    batPromptCount_ += 1;
    for (;;) {
        std::string prompt = " press the space bar to step into the batters box, ";
        const int count = batPromptCount_;
        if (count == 1 || count == 2 || count == 5 || count == 8) prompt += " s to steal, b to bunt or H to hit and run. ";
        speech_.say2(prompt);
        const Key key = plays_.status.ReadKey();
        pv_.buntFlag = 0;
        pv_.stealFlag = 0;
        pv_.hitAndRunFlag = 0;
        const std::string& ch = key.ch;
        if (ch == "b") {
            pv_.batterAction = 2;
            pv_.buntFlag = 1;
            return;
        }
        if (key.code == "32") {
            pv_.batterAction = 2;
            return;
        }
        if (ch == "h" || ch == "s") {
            if (ch == "h") {
                pv_.batterAction = 2;
                pv_.hitAndRunFlag = 1;
            }
            if (gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird > 0) {
                pv_.stealFlag = 1;
                pv_.batterAction = 2;
                return;
            }
        }
        // Anything else, or a runner's order with nobody on: the prompt again
        // with its hint.
        batPromptCount_ = 8;
    }
}

void InningLoop::OnePitch() {
    // 1-3: a clean slate for the sounds of this pitch.
    sound_.ClearEffects();
    broadcast_.skipCommercial = 0;
    sound_.playdrums();
    if (sound_.crowdOn == 0) sound_.starter();

    // 4-8: the announcer finishes, the starters, the home crowd.
    if (gs_.resumedGame == 0) {
        WaitWhileSpeaking();
        StartingPitchers();
    }
    Chant();
    firstBatterOfHalf_ = 2;
    plays_.pitch.DrawHitChance();

    // 9-10: a new batter at 0-0, and the per-pitch values cleared.
    if (pv_.sameBatter == 0 && gs_.balls == 0 && gs_.strikes == 0) NewBatter();
    pv_.sameBatter = 0;
    pv_.NewPitch();
    basesOutsBefore_ = gs_.pickoffTally + gs_.caughtStealingTally;

    // 11-12: the decision and the pitch.
    // The pause menu's way out leaves from inside these steps by RunEnds, so
    // they return only to go on with the pitch.
    atDecision_ = true;
    if (gs_.battingTeam == 1) BatterPrompt();
    else bullpen_.PitchMenu();
    plays_.pitch.ThePitch();
    atDecision_ = false;

    // 13-15: what the pitch changed.
    gs_.runnersOn = gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird;
    // No run counts on a play that makes the third out, but one that ball
    // four forced in had scored before the runners were thrown out.
    if (gs_.outs == 3) pv_.runsOnPlay = pv_.forcedRuns;
    if (pv_.extraBaseFlag != 0)
        speech_.say(pv_.runnersBeforePlay < 2 ? " the base runner advanced" : " the base runners advanced");
    pv_.runnersBeforePlay = gs_.runnersOn;
    if (pv_.runsOnPlay != 0) {
        const int n = pv_.runsOnPlay;
        speech_.say(Spoken(n) + " run" + (n > 1 ? "s" : "") + " scored");
        const int team = gs_.battingTeam;
        gs_.runs[team] = gs_.runs[team] + n;
        gs_.pitcherRunsThisHalf += n;
        gs_.runTally = gs_.runTally + n;
        pv_.runsOnPlay = 0;
    }

    // 16: the home side goes ahead in the last inning or later.
    if (gs_.inning > 8 && gs_.half == 2 && gs_.runs[gs_.homeTeam] > gs_.runs[gs_.visitingTeam]) {
        // The half ends here without its summary, which is where a half's
        // hits go into the box score: they go in now.
        gs_.hits[gs_.battingTeam] = gs_.hits[gs_.battingTeam] + gs_.hitTally;
        gameEnd_.GameOver();
        throw RunEnds{Leave::GameOver};
    }
    if (gs_.battingTeam == 1) bullpen_.ComputerChange();
    if (gs_.outs < 3) return;
    EndOfHalf();
}

void InningLoop::EndOfHalf() {
    // A third out made on the bases leaves the batter to lead off next time.
    if (gs_.pickoffTally + gs_.caughtStealingTally > basesOutsBefore_) {
        Num& slot = gs_.batterUp(gs_.battingTeam);
        slot = slot - 1;
    }
    firstBatterOfHalf_ = 1;
    gs_.ClearBases();
    broadcast_.HalfInningSummary();
    ResetTallies();
    keys_.dy(0.5);
    if (gs_.inning == 7 && gs_.half == 1) broadcast_.SeventhInningStretch();
    gs_.NextHalf();

    const int home = gs_.runs[gs_.homeTeam], visitors = gs_.runs[gs_.visitingTeam];
    if (gs_.inning > 8 && gs_.half == 2 && home > visitors) {
        gameEnd_.GameOver();
        throw RunEnds{Leave::GameOver};
    }
    if (gs_.inning > 9 && gs_.half == 1) {
        if (home != visitors) {
            gameEnd_.GameOver();
            throw RunEnds{Leave::GameOver};
        }
        if (gs_.inning == 20) {
            gameEnd_.CalledGame();
            throw RunEnds{Leave::CalledGame};
        }
    }
    if (broadcast_.skipCommercial != 1) broadcast_.CommercialBreak();
    sound_.starter();
    plays_.status.Report(StatusReport::kInning);
}

}  // namespace sw
