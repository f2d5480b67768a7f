#include "data/data_folder.h"

#include "host/files.h"

#include <cstdio>
#include <exception>

namespace sw::data {

const char kDataFolderGuide[] =
    "Sluggerwood data folder\r\n"
    "\r\n"
    "The game keeps its own files here. All are plain text and may be opened\r\n"
    "with any text editor; each value or name stands on a line of its own.\r\n"
    "\r\n"
    "baseballbatters.txt: the line \"Your Batters:\", your nine batters in\r\n"
    "  batting order, then \"Other team's Batters:\" and their nine.\r\n"
    "baseballstartingpitchers.txt: \"Your starting pitchers:\", five names,\r\n"
    "  then \"Other team's starting pitchers:\" and five more.\r\n"
    "baseballreliefpitchers.txt: \"Your relief pitchers:\", six lines each with\r\n"
    "  a name, a colon and a few words about the pitcher, then\r\n"
    "  \"Other team's relief pitchers:\" and nine names.\r\n"
    "  Keep the header lines exactly as they are. In the batters and starting\r\n"
    "  pitchers files a name must not hold a comma.\r\n"
    "baseballrules.txt: the rules, read aloud when you press F9.\r\n"
    "baseball.sav and basebats.sav: a game left with save and exit, and whose\r\n"
    "  turn it was to bat on each team.\r\n"
    "baseball.rec: the series under way: who was home in game 1, the games\r\n"
    "  each team has won, the team names and the manager's name.\r\n"
    "baseball.cfg: the voice and the speech rate you chose.\r\n"
    "baseball.vol: the volume of the sounds and of the speech.\r\n"
    "baseballlog.txt: the game log, a few lines for every game and every\r\n"
    "  half-inning played.\r\n"
    "\r\n"
    "Once this file is here the game leaves the files of this folder in place:\r\n"
    "it never again copies older files over them.\r\n";

namespace {

constexpr const char* kGuideName = "baseball.txt";

struct Bringover {
    const char* from;  // name in the working folder
    const char* to;    // name in the data folder
};
// In the order they are handled.
constexpr Bringover kBringover[] = {
    {"baseball.txt", "baseball.txt"},
    {"baseballbatters.txt", "baseballbatters.txt"},
    {"baseballreliefpitchers.txt", "baseballreliefpitchers.txt"},
    {"baseballrules.txt", "baseballrules.txt"},
    {"baseballstartingpitchers.txt", "baseballstartingpitchers.txt"},
    {"baseball.vol", "baseball.vol"},
    {"baseball.rec", "baseball.rec"},
    {"baseball.sav", "baseball.sav"},
    {"basebats.sav", "basebats.sav"},
    {"baseball.cfg", "baseball.cfg"},
    {"baseballscore.txt", "baseballlog.txt"},  // the log's older name
};

// The files the game ships for a new data folder, the guide last: it marks
// the folder as set up, so an interrupted first start tries again.
constexpr const char* kShippedDefaults[] = {
    "baseballbatters.txt", "baseballstartingpitchers.txt", "baseballreliefpitchers.txt",
    "baseballrules.txt",   kGuideName,
};

std::string WithoutTrailingSlashes(std::string path) {
    if (path.empty()) return ".";
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool SameFolder(const std::string& a, const std::string& b) {
    const std::string na = WithoutTrailingSlashes(a), nb = WithoutTrailingSlashes(b);
    if (na == nb) return true;
    return host::IsFolder(na) && host::IsFolder(nb) && host::SameEntry(na, nb);
}

// The text with every line ended by CR LF. Lines end at CR LF, LF or a lone
// CR; a last line without a line end gets one.
std::string WithCrLfLines(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') out += "\r\n";
    return out;
}

// Copies `source` into the data folder as `name` (under the name already
// on disk, in any letter case), with CR LF lines. A failure is reported and
// the caller goes on with the next file.
void CopyIn(const std::string& dataFolder, const std::string& source, const std::string& name) {
    if (!host::FileSize(source)) {
        std::fprintf(stderr, "data folder: %s is not a file; not copied\n", source.c_str());
        return;
    }
    const std::string target = host::JoinPath(dataFolder, host::FileNameOnDisk(dataFolder, name).value_or(name));
    try {
        host::WriteFileAtomic(target, WithCrLfLines(host::ReadText(source)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "data folder: cannot copy %s: %s\n", source.c_str(), e.what());
    }
}

// The shipped defaults the data folder lacks. A defaults folder that cannot
// be read is one line on standard error: the readers then ask about what is
// missing, as they would without it.
void BringDefaults(const std::string& dataFolder, const std::string& defaultsFolder) {
    if (defaultsFolder.empty()) return;
    if (std::string why = host::FolderListingError(defaultsFolder); !why.empty()) {
        std::fprintf(stderr, "data folder: the default files in %s cannot be read (%s); none brought over\n",
                     defaultsFolder.c_str(), why.c_str());
        return;
    }
    for (const char* name : kShippedDefaults) {
        if (host::FileNameOnDisk(dataFolder, name)) continue;  // the player's own, or the older installation's
        if (auto source = host::FindFile(defaultsFolder, name)) {
            CopyIn(dataFolder, *source, name);
        } else {
            std::fprintf(stderr, "data folder: no %s among the default files in %s\n", name, defaultsFolder.c_str());
        }
    }
}

}  // namespace

std::string getkp(const host::Folders& folders) {
    if (folders.documents.empty()) return folders.working;
    try {
        if (auto onDisk = host::FileNameOnDisk(folders.documents, "tamberlyn")) {
            std::string found = host::JoinPath(folders.documents, *onDisk);
            if (host::IsFolder(found)) return found;
            std::fprintf(stderr, "data folder: %s is not a folder; using the working folder\n", found.c_str());
            return folders.working;
        }
        std::string made = host::JoinPath(folders.documents, "tamberlyn");
        if (host::MakeFolder(made)) return made;
        std::fprintf(stderr, "data folder: cannot make %s; using the working folder\n", made.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "data folder: %s; using the working folder\n", e.what());
    }
    return folders.working;
}

void cofs(const std::string& dataFolder, const std::string& workingFolder, const std::string& defaultsFolder) {
    try {
        if (host::FileNameOnDisk(dataFolder, kGuideName)) return;  // set up already
        // A file is never copied onto itself.
        if (!SameFolder(dataFolder, workingFolder)) {
            for (const auto& file : kBringover) {
                if (auto source = host::FindFile(workingFolder, file.from)) CopyIn(dataFolder, *source, file.to);
            }
        }
        BringDefaults(dataFolder, defaultsFolder);
        // Without the guide the copy would run again at every start and
        // replace the data folder's newer files with the old ones.
        if (!host::FileNameOnDisk(dataFolder, kGuideName))
            host::WriteFileAtomic(host::JoinPath(dataFolder, kGuideName), kDataFolderGuide);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "data folder: %s\n", e.what());
    }
}

}  // namespace sw::data
