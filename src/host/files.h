// File-system helpers shared by the real and the simulated host.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sw::host {

// Finds `name` in `folder` ignoring letter case, as on Windows; returns the
// full path of the entry found (exact-case match preferred) or nothing.
std::optional<std::string> FindFile(const std::string& folder, const std::string& name);

// The name of the entry as it is on disk, or nothing when absent.
std::optional<std::string> FileNameOnDisk(const std::string& folder, const std::string& name);

// Size in bytes, or nothing when the file cannot be examined.
std::optional<uint64_t> FileSize(const std::string& path);

// Whole-file read; throws HostError on failure.
std::vector<uint8_t> ReadFile(const std::string& path);
std::string ReadText(const std::string& path);

// Whole-file write through a temporary file in the same folder, flushed and
// renamed over the old file: an interrupted write never leaves it half-written.
// Throws HostError on failure (the old file is then untouched).
void WriteFileAtomic(const std::string& path, const std::string& contents);

// Appends (creating the file when missing); throws HostError on failure.
void AppendFile(const std::string& path, const std::string& contents);

// Called with the path once a write or an append above has completed: lets
// a test keep every version a file went through. None by default.
void SetWriteObserver(std::function<void(const std::string& path)> observer);

// Why the folder cannot be listed ("" when it can): missing, not a folder,
// no permission.
std::string FolderListingError(const std::string& folder);

// True when `path` names an existing folder.
bool IsFolder(const std::string& path);

// True when both paths name the same existing entry (through links too).
bool SameEntry(const std::string& a, const std::string& b);

// Creates a folder (and its parents). False on failure.
bool MakeFolder(const std::string& path);

std::string JoinPath(const std::string& folder, const std::string& name);

// Every path in the program is UTF-8. These convert at the file-system
// library's edge, so a name with accents means the same file on every system.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// Makes a new, empty folder whose name starts with `prefix` inside `parent`
// and returns its path. Throws HostError on failure.
std::string MakeUniqueFolder(const std::string& parent, const std::string& prefix);

}  // namespace sw::host
