// Measurements of the written set, for the developer's eye and ear.
#pragma once

#include <filesystem>
#include <iosfwd>

namespace sg {

// Prints one line per file of the set (duration, peak, RMS, and for loops
// the step across the seam against the largest step inside), then the
// loudness spread of each family. Returns false when a file is missing or
// not in the set's format.
bool report(const std::filesystem::path& dir, std::ostream& out);

}  // namespace sg
