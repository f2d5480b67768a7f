#include "game/start_up.h"

#include "data/data_folder.h"
#include "game/commercials.h"
#include "game/saved_game.h"
#include "host/files.h"
#include "record/text.h"
#include "speech/waves.h"

#include <cstdio>

namespace sw {

const char* const kUmpires[4] = {"Barnaby Quillfeather", "Odell Pinkerton", "Marcus Fenwright", "Rosalind Tibbets"};

StartUp::StartUp(host::Host& host, const Variant& variant, KeyWaits& waits, Speech& speech, Sound& sound, Dialogs& dialogs,
                 Prompts& prompts, Practice& practice, RosterCheck& rosterCheck, data::Rosters& rosters, GameState& gs,
                 PlayerFiles& files)
    : host_(host),
      variant_(variant),
      waits_(waits), keys_(waits.keys()),
      speech_(speech),
      sound_(sound),
      dialogs_(dialogs),
      prompts_(prompts),
      practice_(practice),
      rosterCheck_(rosterCheck),
      rosters_(rosters),
      gs_(gs),
      files_(files) {}

void StartUp::Run() {
    if (!checkwaves(host_.folders().sounds)) {
        host_.platform().MessageBox("Sorry but one or more of the wave files seem to be corrupt\rPlease contact Pellwick");
        throw RunEnds{Leave::StartUpFailure};
    }
    speech_.voiceCount = host_.speech().VoiceCount();
    if (speech_.voiceCount <= 0) {
        host_.platform().MessageBox("Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
        throw RunEnds{Leave::StartUpFailure};
    }

    files_.folder = data::getkp(host_.folders());
    data::cofs(files_.folder, host_.folders().working, host_.folders().defaults);
    prompts_.dataFolder = files_.folder;
    if (dataFolderKnown) dataFolderKnown();

    if (!LoadSettings()) {
        host_.platform().MessageBox("Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
        throw RunEnds{Leave::StartUpFailure};
    }
    if (!ReadRosters()) throw RunEnds{Leave::DamagedRoster};
    extraCommercials = getcommercials(host_.folders().sounds);
    PlayTitle();

    gs_.gameNumber = 0;
    files_.ReadSeries(gs_);
    if (DecideFromSavedGame()) {
        start = Start::Resumed;
        logHeader = files_.ReadLogHeader();
        return;
    }
    Introduction();
    keys_.clk();
    if (gs_.seriesOpenerHome > 0) {
        start = Start::NextGame;
        NextGameOfSeries();
    } else {
        start = Start::NewSeries;
        AskNames();
        FlipCoin();
    }
    Announce();
}

bool StartUp::LoadSettings() {
    sound_.waveFrequency = 11026;
    const StoredVoice stored = files_.ReadVoiceSettings();
    sound_.waveVolume = 0;
    speech_.configLoaded = 0;
    settingsLoaded = ApplyStoredVoiceSettings(speech_, stored, variant_.defaultSpeechVolume, &sound_.waveVolume);
    return settingsLoaded;
}

bool StartUp::ReadRosters() {
    gs_.bullpenCountTeam1 = 6;
    gs_.bullpenCountTeam2 = 8;
    gs_.batterUpTeam1 = 0;
    gs_.batterUpTeam2 = 0;
    prompts_.rosterError = 0;
    rosterCheck_.getbatters();
    if (prompts_.rosterError == 1) return false;
    rosterCheck_.getstartingpitchers();
    if (prompts_.rosterError == 1) return false;
    rosterCheck_.getreliefpitchers();
    return prompts_.rosterError != 1;
}

void StartUp::PlayTitle() {
    sound_.CreateDrums();
    keys_.clk();
    sound_.startcrowd();
    Guarded("sound", [&] {
        sound_.LoadEffect(takeWave);
        sound_.PlayEffect();
    });
    speech_.say(" ");
    if (sound_.EffectLoaded()) {
        // A key ends the title early, and so does the end of the session.
        while (sound_.EffectPlaying() && !keys_.Pressed() && !keys_.terminating())
            keys_.idle();
        sound_.StopEffect();
    }
}

bool StartUp::DecideFromSavedGame() {
    sound_.crowdOn = 0;
    sound_.ForgetDrums();
    gs_.resumedGame = 0;
    newLog_ = 0;
    const data::SaveProbe probe = files_.ProbeSave();
    switch (probe.kind) {
        case data::SaveKind::Missing:
            newLog_ = 1;
            return false;
        case data::SaveKind::Unreadable:
            return false;
        case data::SaveKind::MarkerOnly:
        case data::SaveKind::WithData:
            if (probe.marker == data::kMarkerNoGame) {
                newLog_ = 1;
                return false;
            }
            if (probe.marker == data::kMarkerSeriesGame || probe.kind == data::SaveKind::MarkerOnly) return false;
            break;
    }
    // Whatever the file cannot give keeps the value the game holds now.
    data::SavedGame saved = SavedGameOf(gs_, rosters_);
    files_.ReadSave(saved);
    // A game that cannot say who is at bat in which inning cannot go on: a
    // file cut short that early leaves the game as it is and the next game
    // of the series begins.
    for (const Num* n : {&saved.inning, &saved.half, &saved.battingTeam, &saved.homeTeam, &saved.visitingTeam}) {
        if (*n == 0) {
            std::fprintf(stderr, "saved game: %s holds no game that can go on; a new game begins\n",
                         files_.Path("baseball.sav").c_str());
            return false;
        }
    }
    gs_.resumedGame = 1;
    RestoreSavedGame(saved, gs_, rosters_);
    files_.ReadBattingOrder(gs_);
    // At 0-0 the interrupted batter is announced again: his slot goes back
    // one, so the next batter step brings him up. A slot of 0 has nobody
    // before it and stays.
    if (gs_.balls == 0 && gs_.strikes == 0 && (gs_.battingTeam == 1 || gs_.battingTeam == 2)) {
        Num& slot = gs_.batterUp(gs_.battingTeam);
        if (slot > 0) --slot;
    }
    return true;
}

void StartUp::Introduction() {
    for (;;) {
        keys_.clk();
        prompts_.askreadbbrtxt(speech_.configLoaded);
        prompts_.askspeckeys(speech_.configLoaded);
        dialogs_.changevoice();
        keys_.clk();
        const int answer = prompts_.AskOnce(" would you like to get in some batting practice? yes ", kYes);
        if (answer == kNo) return;
        if (answer == kYes) practice_.batprac();
    }
}

void StartUp::AskName(const std::string& question, const std::string& before, const std::string& after,
                          std::string& name) {
    for (;;) {
        const std::string answer = waits_.getter(question);
        if (answer.empty()) continue;
        // Stored at once; a "no" asks again and the next answer replaces it.
        name = answer;
        int yes = 0;
        while (yes == 0) {
            keys_.clk();
            yes = prompts_.AskOnce(before + name + after, kYes);
        }
        if (yes == kYes) return;
    }
}

void StartUp::AskNames() {
    AskName(" What would you like the name of your team to be ?", "is, ", ", correct for the name of your team? yes ",
            gs_.teamName[1]);
    AskName(" Your team needs a manager.  What is your name ?", " is, ", ", correct for your name? yes ",
            gs_.managerName);
    AskName(" What would you like the name of my team to be ?", "is, ", ", correct for the name of my team? yes ",
            gs_.teamName[2]);
}

void StartUp::FlipCoin() {
    do {
        keys_.clk();
        speech_.say2(" Let's flip a coin.  The winner is the home team");
        if (!keys_.Pressed()) speech_.say2(" Please press H for heads or T for tails");
        if (!keys_.Pressed()) waits_.getkey();
    } while (keys_.Last().ch != "h" && keys_.Last().ch != "t");
    const std::string call = keys_.Last().ch;
    const int coin = keys_.wf(2);
    speech_.say(" The coin comes up");
    speech_.say(coin == 1 ? " HEADS!" : " TAILS!");
    const bool won = (call == "h" && coin == 1) || (call == "t" && coin == 2);
    gs_.homeTeam = won ? 1 : 2;
    speech_.say(won ? " You r the home team" : " I am the home team");
    gs_.visitingTeam = won ? 2 : 1;
    gs_.seriesOpenerHome = gs_.homeTeam;
    gs_.seriesWinsTeam1 = 0;
    gs_.seriesWinsTeam2 = 0;
    gs_.gameNumber = 1;
    files_.WriteSeries(gs_);
}

void StartUp::NextGameOfSeries() {
    gs_.gameNumber = gs_.seriesWinsTeam1 + gs_.seriesWinsTeam2 + 1;
    const int opener = gs_.seriesOpenerHome;
    const int other = opener == 1 ? 2 : 1;
    // 2-3-2: games 3, 4 and 5 at the other team's park.
    const bool away = gs_.gameNumber >= 3 && gs_.gameNumber <= 5;
    gs_.homeTeam = away ? other : opener;
    gs_.visitingTeam = gs_.homeTeam == 1 ? 2 : 1;
}

void StartUp::Announce() {
    if (newLog_ == 1) files_.StartNewLog();
    if (gs_.gameNumber == 0) gs_.gameNumber = 1;
    gs_.inning = 1;
    gs_.half = 1;
    keys_.dy(0.5);

    std::string game = " this is game #" + std::to_string(gs_.gameNumber);
    if (gs_.gameNumber == 1) game += " of the best of 7 ";
    speech_.say(game);
    const std::string teams = " the " + gs_.teamName[gs_.visitingTeam] + " verses the " + gs_.teamName[gs_.homeTeam];
    speech_.say(teams);
    std::vector<std::string> lines = {"", data::LogLine(game + " " + teams)};
    logHeader = lines[1];

    if (gs_.gameNumber >= 2) {
        const int w1 = gs_.seriesWinsTeam1, w2 = gs_.seriesWinsTeam2;
        std::string standing;
        if (w1 == w2) {
            standing = " the series is tied " + Spoken(w1) + " game" + (w1 > 1 ? "s" : "") + " each";
        } else {
            const int lead = w2 > w1 ? 2 : 1;
            const int ahead = lead == 2 ? w2 : w1, behind = lead == 2 ? w1 : w2;
            standing = " the " + gs_.teamName[lead] + " lead the series " + Spoken(ahead) + " game" +
                       (ahead > 1 ? "s" : "") + " to " + Spoken(behind);
        }
        speech_.say(standing);
        lines.push_back(data::LogLine(standing));
        logHeader += lines.back();
    }
    files_.AppendLog(lines);

    speech_.say("The umpires for today's game are ");
    speech_.say(std::string("at first base, ") + kUmpires[0]);
    speech_.say(std::string("second base, ") + kUmpires[1]);
    speech_.say(std::string("third base, ") + kUmpires[2]);
    speech_.say(std::string(" and at home plate is our first ever lady umpire ") + kUmpires[3]);
    keys_.dy(0.3);
    sound_.play3("letsplay", 555);
    gs_.battingTeam = gs_.visitingTeam;
}

}  // namespace sw
