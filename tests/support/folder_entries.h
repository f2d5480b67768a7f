// What a folder holds, asked in a way that gives the same answer whether
// the system finds names whatever their letter case (Windows) or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sw::test {

// The names in `folder` that are `name` whatever their letter case, each
// as the folder spells it, sorted. Two entries there mean two files; a
// system that finds names whatever their case lists one.
std::vector<std::string> SpellingsOf(const std::string& folder, const std::string& name);

// Tells one file from another, whatever its name: the volume and the file's
// number on it. A file replaced by a write has a new one; nothing when the
// file cannot be opened.
std::optional<std::pair<uint64_t, uint64_t>> FileIdentity(const std::string& path);

}  // namespace sw::test
