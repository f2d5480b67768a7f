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

// Brings the files of an older installation from `workingFolder` into
// `dataFolder`, once: nothing happens when the data folder already holds
// baseball.txt or is the working folder itself. Afterwards baseball.txt is
// in the data folder (copied, or a short guide written), so the move never
// runs again.
void cofs(const std::string& dataFolder, const std::string& workingFolder);

// The guide written as baseball.txt when the older installation had none.
extern const char kDataFolderGuide[];

}  // namespace sw::data
