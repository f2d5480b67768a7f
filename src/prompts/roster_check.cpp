#include "prompts/roster_check.h"

#include "host/files.h"

#include <cstdio>
#include <exception>

namespace sw {

RosterCheck::RosterCheck(Speech& speech, Sound& sound, Keys& keys, Prompts& prompts, data::Rosters& rosters)
    : speech_(speech), sound_(sound), keys_(keys), prompts_(prompts), rosters_(rosters) {}

void RosterCheck::Read(data::RosterFile which) {
    const data::RosterLayout& layout = data::Layout(which);
    bool usable = false;
    if (auto path = host::FindFile(prompts_.dataFolder, layout.fileName)) {
        try {
            usable = data::ParseRoster(which, host::ReadText(*path), rosters_);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "rosters: %s\n", e.what());
        }
    }
    if (!usable) Corrupt(which);
}

bool RosterCheck::Rewrite(data::RosterFile which) {
    const data::RosterLayout& layout = data::Layout(which);
    auto onDisk = host::FileNameOnDisk(prompts_.dataFolder, layout.fileName);
    const std::string path = host::JoinPath(prompts_.dataFolder, onDisk ? *onDisk : layout.fileName);
    try {
        host::WriteFileAtomic(path, data::DefaultRosterText(which));
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rosters: %s\n", e.what());
        return false;
    }
}

void RosterCheck::Corrupt(data::RosterFile which) {
    sound_.stopdrums();
    sound_.stopper();
    data::SetDefaults(which, rosters_);
    const std::string question = std::string(data::Layout(which).corruptText) +
                                 " Would you like me to rewrite the original file?" + " Yes ";
    int answer = 0;
    while (answer == 0) {
        keys_.clk();
        answer = prompts_.AskOnce(question, kYes, Prompts::Wait::NoHotKeys);
    }
    if (answer == kYes) {
        const bool written = Rewrite(which);
        keys_.dy(0.1);
        // Never report a rewrite that did not happen.
        speech_.say(written ? " Done. " : " Sorry, I could not rewrite the file. ");
        keys_.dy(0.1);
    }
    prompts_.afeon();
    if (prompts_.rosterError != 1) sound_.starter();
}

}  // namespace sw
