// What files.cpp shares with the files_posix.cpp or files_win.cpp beside it:
// those hold the reads and writes that each system does its own way.
#pragma once

#include <string>

namespace sw::host::detail {

// Tells the write observer, if any, that `path` has been written.
void NotifyWritten(const std::string& path);

// True when an entry of that name exists, even a dangling link.
bool EntryExists(const std::string& path);

// True when `name` in `folder` exists spelt exactly so, letter case
// included, even on a system that finds names whatever their case.
bool EntryExistsAsSpelt(const std::string& folder, const std::string& name);

}  // namespace sw::host::detail
