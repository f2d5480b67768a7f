// Where this user's files and this program live, on POSIX systems.
#include "host/real/real_host.h"

#include "host/files.h"
#include "host/real/espeak_engine.h"
#include "host/real/speechd_engine.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace sw::host::real {

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// One line of user-dirs.dirs, of the form XDG_DOCUMENTS_DIR="$HOME/Documents"
// or with an absolute path. Returns the folder, or "" when the line is not a
// valid setting of the documents folder.
std::string DocumentsSetting(const std::string& line, const std::string& home) {
    static const std::string key = "XDG_DOCUMENTS_DIR";
    size_t p = line.find_first_not_of(" \t");
    if (p == std::string::npos || line.compare(p, key.size(), key) != 0) return {};
    p = line.find_first_not_of(" \t", p + key.size());
    if (p == std::string::npos || line[p] != '=') return {};
    p = line.find_first_not_of(" \t", p + 1);
    if (p == std::string::npos || line[p] != '"') return {};
    ++p;

    std::string folder;
    if (line.compare(p, 5, "$HOME") == 0) {
        p += 5;
        if (p >= line.size() || (line[p] != '/' && line[p] != '"')) return {};
        folder = home;
    } else if (p >= line.size() || line[p] != '/') {
        return {};  // only absolute paths and paths under $HOME are allowed
    }
    for (; p < line.size() && line[p] != '"'; ++p) {
        if (line[p] == '\\' && p + 1 < line.size()) ++p;
        folder += line[p];
    }
    return WithoutTrailingSlashes(folder);
}

}  // namespace

std::string ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path().string();
}

std::string UserDocumentsFolder() {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    std::string configHome = Env("XDG_CONFIG_HOME");
    if (!configHome.empty() && configHome.front() != '/') configHome.clear();
    return DocumentsFolder(Env("HOME"), configHome);
}

std::string DocumentsFolder(const std::string& home, const std::string& configHome) {
    if (home.empty()) return {};
    std::string config = configHome.empty() ? JoinPath(home, ".config") : configHome;

    std::string text;
    try {
        text = ReadText(JoinPath(config, "user-dirs.dirs"));
    } catch (const HostError&) {
        // No settings (or unreadable ones): the default folder.
    }
    std::string found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        // The last valid setting wins, as in a shell.
        if (std::string folder = DocumentsSetting(line, home); !folder.empty()) found = folder;
    }
    return found.empty() ? JoinPath(WithoutTrailingSlashes(home), "Documents") : found;
}

// The engine finds its data where the system's package put it.
std::string EspeakDataParent() {
    return {};
}

// The built-in voices, then the player's own from the system's speech
// service, which is not reached until the player looks for it.
std::unique_ptr<SpeechEngine> PlayerVoices(SpeechEngine& builtIn) {
    return std::make_unique<SystemVoices>(builtIn);
}

}  // namespace sw::host::real
