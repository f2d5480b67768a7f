#include "game/game_end.h"

#include "data/game_files.h"
#include "record/text.h"

namespace sw {

GameEnd::GameEnd(GameState& gs, Speech& speech, Sound& sound, KeyWaits& waits, StatusReport& status,
                 const PlayerFiles& files)
    : gs_(gs), speech_(speech), sound_(sound), waits_(waits), keys_(waits.keys()), status_(status), files_(files) {}

namespace {
bool SeriesOver(const GameState& gs) { return gs.seriesWinsTeam1 >= 4 || gs.seriesWinsTeam2 >= 4; }
}  // namespace

int GameEnd::InningsPlayed() const { return gs_.half == 1 ? gs_.inning - 1 : int(gs_.inning); }

void GameEnd::GameOver() {
    const int home = gs_.homeTeam, visitors = gs_.visitingTeam;
    winningTeam = gs_.runs[home] > gs_.runs[visitors] ? home : visitors;
    losingTeam = winningTeam == 1 ? 2 : 1;
    Num& wins = winningTeam == 1 ? gs_.seriesWinsTeam1 : gs_.seriesWinsTeam2;
    wins = wins + 1;
    if (!SeriesOver(gs_) && winningTeam == home) sound_.play("hr");

    // The result is on disk before a word of it is said: the series record,
    // and at once the marker that says this game is finished, so a program
    // stopped from here on neither loses the game nor plays it again.
    gs_.saveMarker = SeriesOver(gs_) ? data::kMarkerNoGame : data::kMarkerSeriesGame;
    files_.WriteSeries(gs_);
    files_.WriteSaveMarker(gs_.saveMarker);

    sound_.StopExcitement();
    sound_.playcrowd1();

    bool log = true;
    bool fromAnnouncement = true;
    for (;;) {
        if (fromAnnouncement) {
            if (log) files_.AppendLog({" "});
            Announce(log);
            if (SeriesOver(gs_)) Championship(log);
        }
        BoxScore(log);
        log = false;
        files_.WriteSaveMarker(gs_.saveMarker);
        speech_.say2(" Press any key, or the r key to read the baseball log dot t x t file ");
        waits_.AnswerNextKeyAtOnce();
        const Key key = status_.ReadKey();
        const std::string& code = key.code;
        // F1 to F5 first: F3's character is also "r".
        if (code == "112" || code == "113" || code == "114" || code == "115" || code == "116") {
            fromAnnouncement = true;
            continue;
        }
        if (key.ch == "r") {
            sound_.StopExcitement();
            sound_.play4("baseway");
            keys_.dy(0.2);
            ReadLogAloud();
            keys_.dy(0.2);
            sound_.play4("baseway");
            sound_.playcrowd1();
            fromAnnouncement = false;
            continue;
        }
        return;
    }
}

void GameEnd::Announce(bool log) {
    std::string line = " the " + gs_.teamName[winningTeam] + " have won the game";
    speech_.say(line);
    // Every game longer than nine innings says how long it went.
    const int innings = InningsPlayed();
    if (innings > 9) {
        const std::string length = " in " + Spoken(innings) + " innings";
        speech_.say(length);
        line += length;
    }
    const std::string score = " by the score of" + Spoken(gs_.runs[winningTeam]) + " to" + Spoken(gs_.runs[losingTeam]);
    speech_.say(score);
    line += score;
    if (log) files_.AppendLog({data::LogLine(line)});
}

void GameEnd::Championship(bool log) {
    gs_.saveMarker = data::kMarkerNoGame;
    const std::string sentence = "The " + gs_.teamName[winningTeam] + "! win! the Championship.";
    if (log) files_.AppendLog({" ", sentence});
    speech_.say(sentence);
    sound_.playcrowd1();
    files_.WriteSeriesDecided();
    if (winningTeam == gs_.homeTeam) {
        sound_.playspec("champion", 0);
        keys_.dy(1.5);
        // The cheer plays once to its end.
        PlayOnce("crcheer", sound_.waveVolume - 1000, 0);
        sound_.play("hr");
    } else {
        PlayOnce("losers", sound_.waveVolume - 750, 750);
    }
}

void GameEnd::PlayOnce(const std::string& wave, int volume, int pan) {
    Guarded("sound", [&] {
        sound_.Release(Sound::Channel::Effect);
        sound_.StartOnce(Sound::Channel::Effect, wave, volume, pan);
        sound_.WaitToEnd(Sound::Channel::Effect);
    });
}

namespace {
std::string BoxLine(const std::string& team, const std::string& scored, int runs, const std::string& run, int hits,
                    const std::string& hit, int left) {
    return " The " + team + scored + Spoken(runs) + run + PluralS(runs) + ", on " + Spoken(hits) + hit + PluralS(hits) +
           ", and they left" + Spoken(left) + "runner" + PluralS(left) + " on base. ";
}
}  // namespace

std::string GameEnd::VisitorsSentence() const {
    const int t = gs_.visitingTeam;
    return BoxLine(gs_.teamName[t], " scored ", gs_.runs[t], " run", gs_.hits[t], " hit", gs_.leftOnBase[t]);
}

std::string GameEnd::HomeSentence() const {
    const int t = gs_.homeTeam;
    return BoxLine(gs_.teamName[t], " scored", gs_.runs[t], "run", gs_.hits[t], "hit", gs_.leftOnBase[t]);
}

void GameEnd::BoxScore(bool log) {
    const std::string visitors = VisitorsSentence(), home = HomeSentence();
    if (log) files_.AppendLog({" ", visitors, " ", home});
    speech_.say(visitors + home);
}

void GameEnd::ReadLogAloud() {
    keys_.clk();
    const std::string text = files_.ReadLogJoined();
    keys_.clk();
    speech_.say3(text);
    keys_.clk();
}

void GameEnd::CalledGame() {
    // The game is to be replayed: the marker of a finished game without a
    // win counted makes the next start begin this same game of the series
    // from its first pitch, where a resumed game's save would bring back
    // the tied twentieth inning. On disk before a word is said, like a result.
    gs_.saveMarker = data::kMarkerSeriesGame;
    files_.WriteSaveMarker(gs_.saveMarker);
    speech_.say(" The game has been called because of the time.");
    speech_.say(" The game will be replayed at a later date.");
    speech_.say(" Press any key");
    waits_.AnswerNextKeyAtOnce();
    status_.ReadKey();
}

}  // namespace sw
