// The real platform: the window, the clock, the mixer on the sound card, the
// speech engine and the folders of this machine.
#pragma once

#include "host/host.h"
#include "host/real/steady_clock.h"

#include <memory>
#include <string>

namespace sw::host::real {

class AudioDevice;
class Mixer;
class Window;

class RealHost : public Host {
public:
    // Opens the window titled `title` and starts sound and speech. Returns null
    // and sets `error` to one line for the player when the window cannot be
    // opened. A sound card that cannot be opened (the game then runs silently)
    // or a speech engine that cannot start is reported on standard error only.
    static std::unique_ptr<RealHost> Create(const std::string& title, std::string* error);
    ~RealHost() override;
    RealHost(const RealHost&) = delete;
    RealHost& operator=(const RealHost&) = delete;

    Clock& clock() override;
    Platform& platform() override;
    SoundDevice& sound() override;
    // With no working speech engine this is an engine without voices.
    SpeechEngine& speech() override;
    const Folders& folders() const override;

    // False when the built-in speech engine could not be started.
    bool speechOk() const { return speechOk_; }
    Mixer& mixer() { return *mixer_; }

private:
    RealHost() = default;

    // Declared first so that it goes last: shuts SDL down after the members
    // that use it.
    struct SdlShutdown {
        ~SdlShutdown();
    } sdlShutdown_;
    SteadyClock clock_;
    std::unique_ptr<Window> window_;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<AudioDevice> audio_;  // pulls from the mixer: goes before it
    std::unique_ptr<SpeechEngine> builtInSpeech_;
    std::unique_ptr<SpeechEngine> speech_;  // the player's voices over the built-in ones; may be null
    bool speechOk_ = false;
    Folders folders_;
};

// The folders of this installation and user, from the running executable, the
// environment and the current folder.
Folders FindFolders();

// The folder `name` ("sounds", "defaults") of the files that ship with the
// programs, found from the folder of the running executable; "" when none.
std::string ShippedFolder(const std::string& programFolder, const std::string& name);

// The folder of the running executable; "" when it cannot be told.
std::string ProgramFolder();

// The voices the player is offered on this system, the built-in engine's
// among them; null when the built-in ones are all there is.
std::unique_ptr<SpeechEngine> PlayerVoices(SpeechEngine& builtIn);

// This user's documents folder; "" when there is none.
std::string UserDocumentsFolder();

// On POSIX systems, the user's documents folder: XDG_DOCUMENTS_DIR from user-dirs.dirs in
// `configHome` (when empty: `home`/.config), with "$HOME" expanded; else
// `home`/Documents. Empty when `home` is empty.
std::string DocumentsFolder(const std::string& home, const std::string& configHome);

}  // namespace sw::host::real
