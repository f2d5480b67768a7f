// A player's data folder for program runs on the simulated host: the one
// the game finds under the simulated home, with the files a first start
// would have written.
#pragma once

#include "data/rosters.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <string>
#include <vector>

namespace sw::test {

// The rosters as built in, and the introduction's settings (nothing read yet).
inline void SeedDataFolder(const std::string& folder) {
    host::MakeFolder(folder);
    for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
        host::WriteFileAtomic(folder + "/" + data::Layout(f).fileName, data::DefaultRosterText(f));
    host::WriteFileAtomic(folder + "/baseball.cfg", " 0 \r\n 0 \r\n");
}

// The data folder of a simulated host whose root is `root`.
inline std::string DataFolderOf(const std::string& root) { return root + "/home/Documents/tamberlyn"; }

// The series record of the Reds (the player's, managed by kim) against the Owls.
inline std::string SeriesRecord(int opener, int wins1, int wins2) {
    return " " + std::to_string(opener) + " \r\n " + std::to_string(wins1) + " \r\n " + std::to_string(wins2) +
           " \r\nReds\r\nkim\r\nOwls\r\n";
}

// The lines of a file written with CR LF line ends.
inline std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

// A data folder kept across program runs.
struct Home {
    TempDir dir;
    Home() { SeedDataFolder(data()); }
    std::string data() const { return DataFolderOf(dir.path()); }
    // "" when the file is not there.
    std::string Read(const std::string& name) const {
        auto f = host::FindFile(data(), name);
        return f ? host::ReadText(*f) : std::string();
    }
    void Write(const std::string& name, const std::string& text) const {
        host::MakeFolder(data());
        host::WriteFileAtomic(data() + "/" + name, text);
    }
};

}  // namespace sw::test
