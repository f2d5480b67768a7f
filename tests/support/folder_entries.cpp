#include "support/folder_entries.h"

#include "host/files.h"

#include <algorithm>
#include <filesystem>

namespace sw::test {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::vector<std::string> SpellingsOf(const std::string& folder, const std::string& name) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(host::PathFromUtf8(folder), ec)) {
        std::string spelt = host::Utf8FromPath(entry.path().filename());
        if (SameIgnoringCase(spelt, name)) found.push_back(std::move(spelt));
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace sw::test
