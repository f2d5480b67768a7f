// Speech over SAPI 5, for the player's own installed voices on Windows, and
// the list the game speaks through there: the SAPI voices first, then the
// built-in ones. When SAPI cannot speak, the list says so once and the
// built-in voice takes over; the game is never left silent.
#pragma once

#include "host/host.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct ISpVoice;

namespace sw::host::win {

// Makes the SAPI voice object for voice `index` of the list: a new reference
// in *out and S_OK, or a failing HRESULT. Called on the voice's own thread,
// which has joined the multithreaded COM apartment.
using SapiVoiceFactory = std::function<long(int index, ISpVoice** out)>;

// Receives each text when it starts to sound.
using CaptionWriter = std::function<void(const std::string& text)>;

// The caption as the built-in engine writes it: the text as one line on
// standard output, flushed at once.
void WriteCaption(const std::string& text);

// One SAPI voice. Once a SAPI call has failed it stays silent and says why.
class SapiVoice : public SpeechVoice {
public:
    // Empty while SAPI does what it is asked, else what failed.
    virtual std::string Failure() = 0;
};

class SapiEngine : public SpeechEngine {
public:
    SapiEngine(std::vector<std::string> names, SapiVoiceFactory factory, CaptionWriter caption = WriteCaption);

    // The voices installed on this machine. Null, with `error` set, when SAPI
    // cannot be asked for them.
    static std::unique_ptr<SapiEngine> OpenInstalled(std::string& error);

    int VoiceCount() override;
    std::string VoiceName(int index) override;
    std::unique_ptr<SpeechVoice> CreateVoice() override;
    std::unique_ptr<SapiVoice> CreateSapiVoice();
    void OnStarted(std::function<void(const std::string& text)> listener) override;

    struct Started;
private:
    std::vector<std::string> names_;
    SapiVoiceFactory factory_;
    CaptionWriter caption_;
    std::shared_ptr<Started> started_;
};

// The voices the game offers on Windows: those of `sapi` (which may be null)
// first, then those of `builtIn`. `report` hears, once, why SAPI is not used
// (the message also goes to standard error).
class VoiceList : public SpeechEngine {
public:
    using Report = std::function<void(const std::string& message)>;

    VoiceList(std::unique_ptr<SapiEngine> sapi, const std::string& sapiError, SpeechEngine& builtIn,
              Report report = {});
    ~VoiceList() override;

    int VoiceCount() override;
    std::string VoiceName(int index) override;
    std::unique_ptr<SpeechVoice> CreateVoice() override;
    void OnStarted(std::function<void(const std::string& text)> listener) override;
    // The first SAPI voice (the system's own voices come first), or -1.
    int FindSystemVoice() override;

    struct Shared;
private:
    std::unique_ptr<SapiEngine> sapi_;
    SpeechEngine& builtIn_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace sw::host::win
