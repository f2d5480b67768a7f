#include "host/real/real_host.h"

#include "host/files.h"
#include "host/real/audio_device.h"
#include "host/real/espeak_engine.h"
#include "host/real/mixer.h"
#include "host/real/window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <sstream>
#include <system_error>

#ifndef SW_SHARE_DIR
#define SW_SHARE_DIR "/usr/local/share/games/sluggerwood"
#endif

namespace sw::host::real {

namespace fs = std::filesystem;

namespace {

// Stands in when the speech engine cannot start: it has no voices, so the
// program can say so in its own way, and its voices are silent.
class NullSpeechVoice : public SpeechVoice {
public:
    void Speak(const std::string&, int) override {}
    int RunningState() override { return kSpeechDone; }
    int Rate() override { return rate_; }
    void SetRate(int rate) override { rate_ = std::clamp(rate, -10, 10); }
    void SetVolume(int) override {}
    bool SelectVoice(int) override { return false; }

private:
    int rate_ = 0;
};

class NullSpeechEngine : public SpeechEngine {
public:
    int VoiceCount() override { return 0; }
    std::string VoiceName(int) override { return {}; }
    std::unique_ptr<SpeechVoice> CreateVoice() override {
        return std::make_unique<NullSpeechVoice>();
    }
};

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
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

std::string ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path().string();
}

// The shared files of an installed tree, seen from its programs' folder:
// <prefix>/games/baseball finds <prefix>/share/games/sluggerwood.
constexpr const char* kShareFromProgram = "../share/games/sluggerwood";

}  // namespace

// The folder `name` of the files that ship with the programs: beside the
// program (the build tree, an unpacked archive), in the share folder of the
// tree the program is installed in (any prefix), else where this build was to
// be installed. "" when none of them exists.
std::string ShippedFolder(const std::string& programFolder, const std::string& name) {
    for (const std::string& root : {programFolder, JoinPath(programFolder, kShareFromProgram),
                                    std::string(SW_SHARE_DIR)}) {
        std::string folder = fs::path(JoinPath(root, name)).lexically_normal().string();
        if (IsFolder(folder)) return folder;
    }
    return {};
}

RealHost::SdlShutdown::~SdlShutdown() {
    SDL_Quit();
}

std::unique_ptr<RealHost> RealHost::Create(const std::string& title, std::string* error) {
    std::unique_ptr<RealHost> host(new RealHost());
    // The window first: without it there is nothing to play with, and there is
    // no point in starting sound and speech.
    host->window_ = Window::Open(title, host->clock_, error);
    if (!host->window_) return nullptr;

    host->mixer_ = std::make_unique<Mixer>(host->clock_);
    host->audio_ = std::make_unique<AudioDevice>(*host->mixer_);
    host->audio_->Open();  // on failure it reports and keeps time silently

    try {
        host->speech_ = std::make_unique<EspeakEngine>(*host->mixer_, host->clock_);
        host->speechOk_ = true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The speech engine could not be started: %s\n", e.what());
        host->speech_ = std::make_unique<NullSpeechEngine>();
    }

    host->folders_ = FindFolders();
    return host;
}

RealHost::~RealHost() = default;

Clock& RealHost::clock() {
    return clock_;
}

Platform& RealHost::platform() {
    return *window_;
}

SoundDevice& RealHost::sound() {
    return *mixer_;
}

SpeechEngine& RealHost::speech() {
    return *speech_;
}

const Folders& RealHost::folders() const {
    return folders_;
}

Folders FindFolders() {
    Folders folders;
    std::error_code ec;
    folders.working = fs::current_path(ec).string();
    if (ec) folders.working.assign(1, '.');  // (a plain "." trips a false -Wrestrict in GCC 12)

    folders.program = ProgramFolder();
    if (folders.program.empty()) folders.program = folders.working;

    folders.sounds = ShippedFolder(folders.program, "sounds");
    if (folders.sounds.empty()) folders.sounds = folders.program;
    folders.defaults = ShippedFolder(folders.program, "defaults");
    if (folders.defaults.empty()) {
        // Named all the same, so that the first start can say what is missing.
        folders.defaults = fs::path(JoinPath(folders.program, kShareFromProgram)).lexically_normal() / "defaults";
    }

    // A relative XDG_CONFIG_HOME is invalid and ignored.
    std::string configHome = Env("XDG_CONFIG_HOME");
    if (!configHome.empty() && configHome.front() != '/') configHome.clear();
    folders.documents = DocumentsFolder(Env("HOME"), configHome);
    return folders;
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

}  // namespace sw::host::real
