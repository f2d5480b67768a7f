#include "support/folder_entries.h"

#include <sys/stat.h>

namespace sw::test {

std::optional<std::pair<uint64_t, uint64_t>> FileIdentity(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return std::make_pair(static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino));
}

}  // namespace sw::test
