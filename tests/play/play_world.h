// The play objects on a simulated host, with a game under way: the player's
// Owls visit the computer's Hawks in the first inning, nobody out, nobody on.
#pragma once

#include "data/rosters.h"
#include "play/plays.h"
#include "support/stack.h"

#include <algorithm>
#include <string>
#include <vector>

namespace sw::test {

// The value of the generator that makes `wf n` give `k`.
inline double Draw(int n, int k) { return (k - 0.5) / n; }

struct PlayWorld : Stack {
    PlayWorld() : pitchSound(sound, keys), plays(gs, words, rosters, speech, sound, waits, pitchSound) {
        words.Fill();
        data::SetDefaults(data::RosterFile::Batters, rosters);
        data::SetDefaults(data::RosterFile::StartingPitchers, rosters);
        data::SetDefaults(data::RosterFile::ReliefPitchers, rosters);
        gs.teamName[1] = "Owls";
        gs.teamName[2] = "Hawks";
        gs.managerName = "kim";
        gs.visitingTeam = 1;
        gs.homeTeam = 2;
        gs.battingTeam = 1;
        gs.inning = 1;
        gs.half = 1;
        gs.outs = 0;
        gs.balls = 0;
        gs.strikes = 0;
        gs.runs[1] = 0;
        gs.runs[2] = 0;
        gs.batterUpTeam1 = 1;
        gs.batterUpTeam2 = 1;
        plays.pv.hitChance = 20;
        Bases(0, 0, 0);
    }

    // Puts runners on first, second and third (1 occupied).
    void Bases(int first, int second, int third) {
        gs.runnerOnFirst = first;
        gs.runnerOnSecond = second;
        gs.runnerOnThird = third;
        gs.runnersOn = first + second + third;
        plays.pv.runnersBeforePlay = first + second + third;
    }
    std::string BasesNow() const {
        return std::to_string(int(gs.runnerOnFirst)) + std::to_string(int(gs.runnerOnSecond)) +
               std::to_string(int(gs.runnerOnThird));
    }
    // The generator's next values, in order (see Draw).
    void Force(std::deque<double> values) { random.Force(std::move(values)); }

    // Every text handed to the voice, in order.
    std::vector<std::string> Said() const { return Queued(*world.sim); }
    // Every sound played, as "name@pan/volume", in order; the crowd's
    // excitement loop and the pitch sounds are left out unless asked for.
    std::vector<std::string> Sounds(bool all = false) const {
        std::vector<std::string> out;
        for (const auto& p : world.sim->sounds()) {
            if (!all && (p.name == "crexite" || (p.name.size() == 2 && p.name[0] == 'p'))) continue;
            out.push_back(p.name + "@" + std::to_string(p.pan) + "/" + std::to_string(p.volume));
        }
        return out;
    }
    // Just the names of the sounds, as Sounds() chooses them.
    std::vector<std::string> SoundNames(bool all = false) const {
        std::vector<std::string> out;
        for (const auto& p : world.sim->sounds()) {
            if (!all && (p.name == "crexite" || (p.name.size() == 2 && p.name[0] == 'p'))) continue;
            out.push_back(p.name);
        }
        return out;
    }

    // Speech ("say:" + text, when it was handed to the voice) and sounds
    // ("name@pan/volume", when they started) in the order they came; the
    // excitement loop is left out.
    std::vector<std::string> Timeline() const {
        std::vector<std::pair<double, std::string>> events;
        for (const auto& u : world.sim->utterances()) events.emplace_back(u.queued, "say:" + u.text);
        for (const auto& p : world.sim->sounds())
            if (p.name != "crexite")
                events.emplace_back(p.start, p.name + "@" + std::to_string(p.pan) + "/" + std::to_string(p.volume));
        std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::string> out;
        for (auto& e : events) out.push_back(e.second);
        return out;
    }

    PlayValues& pv() { return plays.pv; }
    const PlayValues& pv() const { return plays.pv; }
    PitchValues& pitch() { return plays.pitchValues; }

    GameState gs;
    WordTables words;
    data::Rosters rosters;
    Pitch pitchSound;
    Plays plays;
};

}  // namespace sw::test
