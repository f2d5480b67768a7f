#include "host/real/real_host.h"

#include "host/files.h"
#include "host/real/audio_device.h"
#include "host/real/espeak_engine.h"
#include "host/real/mixer.h"
#include "host/real/window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
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
        std::string folder = Utf8FromPath(PathFromUtf8(JoinPath(root, name)).lexically_normal());
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
        host->builtInSpeech_ = std::make_unique<EspeakEngine>(*host->mixer_, host->clock_);
        host->speechOk_ = true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The speech engine could not be started: %s\n", e.what());
        host->builtInSpeech_ = std::make_unique<NullSpeechEngine>();
    }
    host->speech_ = PlayerVoices(*host->builtInSpeech_);

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
    return speech_ ? *speech_ : *builtInSpeech_;
}

const Folders& RealHost::folders() const {
    return folders_;
}

Folders FindFolders() {
    Folders folders;
    std::error_code ec;
    folders.working = Utf8FromPath(fs::current_path(ec));
    if (ec) folders.working.assign(1, '.');  // (a plain "." trips a false -Wrestrict in GCC 12)

    folders.program = ProgramFolder();
    if (folders.program.empty()) folders.program = folders.working;

    folders.sounds = ShippedFolder(folders.program, "sounds");
    if (folders.sounds.empty()) folders.sounds = folders.program;
    folders.defaults = ShippedFolder(folders.program, "defaults");
    if (folders.defaults.empty()) {
        // Named all the same, so that the first start can say what is missing.
        folders.defaults = Utf8FromPath(PathFromUtf8(JoinPath(folders.program, kShareFromProgram)).lexically_normal() / "defaults");
    }

    folders.documents = UserDocumentsFolder();
    return folders;
}

}  // namespace sw::host::real
