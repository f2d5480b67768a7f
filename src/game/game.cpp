#include "game/game.h"

#include "data/data_folder.h"
#include "data/game_files.h"
#include "data/settings_files.h"
#include "game/commercials.h"
#include "game/saved_game.h"
#include "host/files.h"
#include "record/text.h"
#include "speech/waves.h"

#include <cstdio>

namespace sw {

const char* const kUmpires[4] = {"Barnaby Quillfeather", "Odell Pinkerton", "Marcus Fenwright", "Rosalind Tibbets"};

GameProgram::GameProgram(host::Host& h)
    : host(h),
      variant(Variant::Game()),
      keys(h, random, variant),
      speech(h, keys),
      sound(h, keys),
      dialogs(speech, sound, keys),
      prompts(speech, sound, keys),
      pitch(sound, keys),
      practice(speech, sound, keys, pitch),
      rosterCheck(speech, sound, keys, prompts, rosters),
      plays(gs, words, rosters, speech, sound, keys, pitch) {
    RegisterHotKeys();
}

int RunGame(host::Host& host) {
    GameProgram program(host);
    return program.Run();
}

std::string GameProgram::DataPath(const std::string& name) const {
    auto onDisk = host::FileNameOnDisk(dataFolder, name);
    return host::JoinPath(dataFolder, onDisk ? *onDisk : name);
}

void GameProgram::RegisterHotKeys() {
    // Tested in this order, each on the key as the previous one left it.
    keys.AddHotKey("17", [this] { dialogs.adjrate(); });
    keys.AddHotKey("119", [this] { prompts.speckeys(); });
    keys.AddHotKey("120", [this] { prompts.readbbrtxt(); });
    keys.AddHotKey("122", [this] { dialogs.adjvol(); });
    keys.AddHotKey("123", [this] { dialogs.changevoice(); });
    keys.AddHotKey("192", [this] { StpHig(); });
    keys.AddHotKey("220", [this] { sayss(); });
    dialogs.saveVolumes = [this](int waveVolume, int speechVolume) {
        if (dataFolder.empty()) return;
        data::WriteVolumes(DataPath("baseball.vol"), {waveVolume, speechVolume});
    };
    // Closing the window never loses a game: until the exit sequence allows
    // it, the close becomes an Escape for the key wait in progress. This runs
    // inside event delivery, so the key is cleared without yielding.
    keys.closeRequest = [this] {
        keys.keyCode.clear();
        keys.keyChar.clear();
        speech.stopspeech();
        if (closingAllowed == 1) endNow = true;
        else keys.keyCode = "27";
    };
}

void GameProgram::ReadBack(const std::string& text) {
    keys.clk();
    if (text.empty()) return;
    sound.stopdrums();
    sound.stopper();
    keys.dy(0.3);
    speech.say3(text);
    keys.dy(0.3);
    sound.starter();
    sound.playdrums();
    keys.clk();
}

bool GameProgram::LoadSettings() {
    sound.waveFrequency = 11026;
    StoredVoice stored;
    if (auto path = host::FindFile(dataFolder, "baseball.vol")) {
        if (auto vol = data::ReadVolumes(*path, {0, 90})) {
            stored.haveVolumes = true;
            stored.waveVolume = vol->waveVolume;
            stored.speechVolume = vol->speechVolume;
        }
    }
    if (auto path = host::FindFile(dataFolder, "baseball.cfg")) {
        if (auto cfg = data::ReadVoiceConfig(*path)) {
            stored.haveConfig = true;
            stored.voiceIndex = cfg->voiceIndex;
            stored.speechRate = cfg->speechRate;
        }
    }
    sound.waveVolume = 0;
    speech.configLoaded = 0;
    settingsLoaded = ApplyStoredVoiceSettings(speech, stored, variant.defaultSpeechVolume, &sound.waveVolume);
    return settingsLoaded;
}

bool GameProgram::ReadRosters() {
    gs.bullpenCountTeam1 = 6;
    gs.bullpenCountTeam2 = 8;
    gs.batterUpTeam1 = 0;
    gs.batterUpTeam2 = 0;
    prompts.rosterError = 0;
    rosterCheck.getbatters();
    if (prompts.rosterError == 1) return false;
    rosterCheck.getstartingpitchers();
    if (prompts.rosterError == 1) return false;
    rosterCheck.getreliefpitchers();
    return prompts.rosterError != 1;
}

void GameProgram::PlayTitle() {
    sound.CreateDrums();
    keys.clk();
    sound.startcrowd();
    Guarded("sound", [&] {
        sound.effectBuffer = sound.Load(takeWave);
        sound.effectBuffer->SetCurrentPosition(0);
        sound.effectBuffer->SetVolume(sound.waveVolume);
        sound.effectBuffer->SetFrequency(static_cast<uint32_t>(sound.waveFrequency));
        sound.effectBuffer->Play(host::kPlayOnce);
    });
    speech.say(" ");
    if (sound.effectBuffer) {
        while (sound.effectBuffer->GetStatus() == host::kStatusPlaying && keys.keyCode.empty()) keys.idle();
        sound.effectBuffer->Stop();
    }
}

void GameProgram::ReadSeriesRecord() {
    gs.seriesOpenerHome = 0;
    gs.gameNumber = 0;
    gs.seriesWinsTeam1 = 0;
    gs.seriesWinsTeam2 = 0;
    auto path = host::FindFile(dataFolder, "baseball.rec");
    if (!path) return;
    data::SeriesRecord rec = SeriesRecordOf(gs);
    data::ReadSeriesRecord(*path, rec);
    gs.seriesOpenerHome = rec.seriesOpenerHome;
    if (gs.seriesOpenerHome == 0) return;
    gs.seriesWinsTeam1 = rec.seriesWinsTeam1;
    gs.seriesWinsTeam2 = rec.seriesWinsTeam2;
    gs.teamName[1] = rec.teamName1;
    gs.managerName = rec.managerName;
    gs.teamName[2] = rec.teamName2;
}

bool GameProgram::DecideFromSavedGame() {
    keys.crowdOn = 0;
    sound.drumsOn = 0;
    gs.resumedGame = 0;
    gs.newLog = 0;
    auto path = host::FindFile(dataFolder, "baseball.sav");
    if (!path) {
        gs.newLog = 1;
        return false;
    }
    const data::SaveProbe probe = data::ProbeSavedGame(*path);
    switch (probe.kind) {
        case data::SaveKind::Missing:
            gs.newLog = 1;
            return false;
        case data::SaveKind::Unreadable:
            return false;
        case data::SaveKind::MarkerOnly:
        case data::SaveKind::WithData:
            if (probe.marker == data::kMarkerNoGame) {
                gs.newLog = 1;
                return false;
            }
            if (probe.marker == data::kMarkerSeriesGame || probe.kind == data::SaveKind::MarkerOnly) return false;
            break;
    }
    // Whatever the file cannot give keeps the value the game holds now.
    data::SavedGame saved = SavedGameOf(gs, rosters);
    data::ReadSavedGame(*path, saved);
    // A game that cannot say who is at bat in which inning cannot go on: a
    // file cut short that early leaves the game as it is and the next game
    // of the series begins.
    for (const Num* n : {&saved.inning, &saved.half, &saved.battingTeam, &saved.homeTeam, &saved.visitingTeam}) {
        if (*n == 0) {
            std::fprintf(stderr, "saved game: %s holds no game that can go on; a new game begins\n", path->c_str());
            return false;
        }
    }
    gs.resumedGame = 1;
    RestoreSavedGame(saved);
    return true;
}

void GameProgram::RestoreSavedGame(const data::SavedGame& saved) {
    sw::RestoreSavedGame(saved, gs, rosters);

    if (auto bats = host::FindFile(dataFolder, "basebats.sav")) {
        data::BattingOrder order{gs.batterUpTeam1, gs.batterUpTeam2};
        data::ReadBattingOrder(*bats, order);
        gs.batterUpTeam1 = order.batterUpTeam1;
        gs.batterUpTeam2 = order.batterUpTeam2;
    }
    // At 0-0 the interrupted batter is announced again: his slot goes back
    // one, so the next batter step brings him up. A slot of 0 has nobody
    // before it and stays.
    if (gs.balls == 0 && gs.strikes == 0 && (gs.battingTeam == 1 || gs.battingTeam == 2)) {
        Num& slot = gs.batterUp(gs.battingTeam);
        if (slot > 0) --slot;
    }
}

void GameProgram::Introduction() {
    for (;;) {
        keys.clk();
        prompts.askreadbbrtxt(speech.configLoaded);
        prompts.askspeckeys(speech.configLoaded);
        dialogs.changevoice();
        keys.clk();
        const int answer = prompts.AskOnce(" would you like to get in some batting practice? yes ", kYes);
        if (answer == kNo) return;
        if (answer == kYes) practice.batprac();
    }
}

void GameProgram::AskName(const std::string& question, const std::string& before, const std::string& after,
                          std::string& name) {
    for (;;) {
        keys.getter(question);
        if (keys.typedAnswer.empty()) continue;
        // Stored at once; a "no" asks again and the next answer replaces it.
        name = keys.typedAnswer;
        int yes = 0;
        while (yes == 0) {
            keys.clk();
            yes = prompts.AskOnce(before + name + after, kYes);
        }
        if (yes == kYes) return;
    }
}

void GameProgram::AskNames() {
    AskName(" What would you like the name of your team to be ?", "is, ", ", correct for the name of your team? yes ",
            gs.teamName[1]);
    AskName(" Your team needs a manager.  What is your name ?", " is, ", ", correct for your name? yes ",
            gs.managerName);
    AskName(" What would you like the name of my team to be ?", "is, ", ", correct for the name of my team? yes ",
            gs.teamName[2]);
}

void GameProgram::FlipCoin() {
    do {
        keys.clk();
        speech.say2(" Let's flip a coin.  The winner is the home team");
        if (keys.keyCode.empty()) speech.say2(" Please press H for heads or T for tails");
        if (keys.keyCode.empty()) keys.getkey();
    } while (keys.keyChar != "h" && keys.keyChar != "t");
    const std::string call = keys.keyChar;
    const int coin = keys.wf(2);
    speech.say(" The coin comes up");
    speech.say(coin == 1 ? " HEADS!" : " TAILS!");
    const bool won = (call == "h" && coin == 1) || (call == "t" && coin == 2);
    gs.homeTeam = won ? 1 : 2;
    speech.say(won ? " You r the home team" : " I am the home team");
    gs.visitingTeam = won ? 2 : 1;
    gs.seriesOpenerHome = gs.homeTeam;
    gs.seriesWinsTeam1 = 0;
    gs.seriesWinsTeam2 = 0;
    gs.gameNumber = 1;
    data::WriteSeriesRecord(DataPath("baseball.rec"), SeriesRecordOf(gs));
}

void GameProgram::NextGameOfSeries() {
    gs.gameNumber = gs.seriesWinsTeam1 + gs.seriesWinsTeam2 + 1;
    const int opener = gs.seriesOpenerHome;
    const int other = opener == 1 ? 2 : 1;
    // 2-3-2: games 3, 4 and 5 at the other team's park.
    const bool away = gs.gameNumber >= 3 && gs.gameNumber <= 5;
    gs.homeTeam = away ? other : opener;
    gs.visitingTeam = gs.homeTeam == 1 ? 2 : 1;
}

void GameProgram::Announce() {
    const std::string log = DataPath("baseballlog.txt");
    if (gs.newLog == 1) data::StartNewLog(log);
    if (gs.gameNumber == 0) gs.gameNumber = 1;
    gs.inning = 1;
    gs.half = 1;
    keys.dy(0.5);

    std::string game = " this is game #" + std::to_string(gs.gameNumber);
    if (gs.gameNumber == 1) game += " of the best of 7 ";
    speech.say(game);
    const std::string teams = " the " + gs.teamName[gs.visitingTeam] + " verses the " + gs.teamName[gs.homeTeam];
    speech.say(teams);
    std::vector<std::string> lines = {"", data::LogLine(game + " " + teams)};
    logHeader = lines[1];

    if (gs.gameNumber >= 2) {
        const int w1 = gs.seriesWinsTeam1, w2 = gs.seriesWinsTeam2;
        std::string standing;
        if (w1 == w2) {
            standing = " the series is tied " + Spoken(w1) + " game" + (w1 > 1 ? "s" : "") + " each";
        } else {
            const int lead = w2 > w1 ? 2 : 1;
            const int ahead = lead == 2 ? w2 : w1, behind = lead == 2 ? w1 : w2;
            standing = " the " + gs.teamName[lead] + " lead the series " + Spoken(ahead) + " game" +
                       (ahead > 1 ? "s" : "") + " to " + Spoken(behind);
        }
        speech.say(standing);
        lines.push_back(data::LogLine(standing));
        logHeader += lines.back();
    }
    data::AppendLog(log, lines);

    speech.say("The umpires for today's game are ");
    speech.say(std::string("at first base, ") + kUmpires[0]);
    speech.say(std::string("second base, ") + kUmpires[1]);
    speech.say(std::string("third base, ") + kUmpires[2]);
    speech.say(std::string(" and at home plate is our first ever lady umpire ") + kUmpires[3]);
    keys.dy(0.3);
    sound.play3("letsplay", 555);
    gs.battingTeam = gs.visitingTeam;
}

int GameProgram::Run() {
    sound.waveFrequency = 11026;
    if (!checkwaves(host.folders().sounds)) {
        host.platform().MessageBox("Sorry but one or more of the wave files seem to be corrupt\rPlease contact Pellwick");
        ExitSequence(true);
        return 1;
    }
    speech.voiceCount = host.speech().VoiceCount();
    if (speech.voiceCount <= 0) {
        host.platform().MessageBox("Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
        ExitSequence(true);
        return 1;
    }

    dataFolder = data::getkp(host.folders());
    data::cofs(dataFolder, host.folders().working);
    prompts.dataFolder = dataFolder;

    if (!LoadSettings()) {
        host.platform().MessageBox("Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
        ExitSequence(true);
        return 1;
    }
    if (!ReadRosters()) {
        ExitSequence();
        return 0;
    }
    extraCommercials = getcommercials(host.folders().sounds);
    PlayTitle();

    ReadSeriesRecord();
    if (DecideFromSavedGame()) {
        start = Start::Resumed;
    } else {
        Introduction();
        keys.clk();
        if (gs.seriesOpenerHome > 0) {
            start = Start::NextGame;
            NextGameOfSeries();
        } else {
            start = Start::NewSeries;
            AskNames();
            FlipCoin();
        }
        Announce();
    }
    if (start == Start::Resumed) logHeader = data::ReadLogHeader(DataPath("baseballlog.txt"));
    words.Fill();

    // The inning loop takes over here once it is in place; until then the
    // game ends where the first pitch would be thrown.
    ExitSequence();
    return 0;
}

void GameProgram::ExitSequence(bool afterStartupFailure) {
    if (!afterStartupFailure) {
        for (auto& b : sound.crowdBuffer)
            if (b) b->Stop();
        sound.stopdrums();
        for (auto* b : {&sound.effectBuffer, &sound.overlayBuffer, &sound.excitementBuffer})
            if (*b) (*b)->Stop();
        sound.play("beer2");
    }
    // Before the settings are loaded there is nothing of the player's to
    // store, and writing the defaults would undo the stored choice.
    if (settingsLoaded) data::WriteVoiceConfig(DataPath("baseball.cfg"), {speech.voiceIndex, speech.speechRate});
    sound.ReleaseAll();
    closingAllowed = 1;
    if (endNow) return;

    if (auto menu = host::FindFile(host.folders().program, "vellobar")) {
        speech.Voice.reset();
        host.platform().StartProgram(*menu);
        return;
    }
    host.sound().Beep();
    keys.dy(0.1);
    host.sound().Beep();
    keys.dy(0.1);
    if (endNow) return;
    speech.say("Sorry, but I could not find the Tamberlyn game menu program.");
    keys.dy(0.2);
    speech.Voice.reset();
}

}  // namespace sw
