// The per-user data folder and the one-time move of an older installation's
// files into it.
#pragma once

#include "host/host.h"

#include <string>

namespace sw::data {

// The data folder: "tamberlyn" in the documents folder (an existing folder of
// that name in any letter case is used), created when needed; the working
// folder when there is no documents folder or the folder cannot be made.
std::string getkp(const host::Folders& folders);

// Sets up a new data folder, once: nothing happens when `dataFolder`
// already holds baseball.txt. The files of an older installation are brought
// over from `workingFolder` (unless it is the data folder itself); then each
// of the files the game ships in `defaultsFolder` (rosters, rules, the guide)
// that the data folder still lacks is copied in, so a first start has rosters
// and rules without asking. An existing file is never replaced by a default.
// A `defaultsFolder` that cannot be read is reported on standard error in one
// line and the rest goes on; "" means none ships. Afterwards baseball.txt is
// in the data folder (copied, or a short guide written), so this never runs
// again.
void cofs(const std::string& dataFolder, const std::string& workingFolder, const std::string& defaultsFolder = {});

// The guide written as baseball.txt when neither the older installation nor
// the shipped defaults had one.
extern const char kDataFolderGuide[];

}  // namespace sw::data
