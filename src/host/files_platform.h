// What files.cpp shares with the files_posix.cpp or files_win.cpp beside it:
// those hold the reads and writes that each system does its own way.
#pragma once

#include <string>

namespace sw::host::detail {

// Tells the write observer, if any, that `path` has been written.
void NotifyWritten(const std::string& path);

// True when an entry of that name exists, even a dangling link.
bool EntryExists(const std::string& path);

}  // namespace sw::host::detail
