// The speaking operations and the one voice object.
#pragma once

#include "host/host.h"
#include "input/keys.h"
#include "speech/history.h"

#include <memory>
#include <string>

namespace sw {

class Speech {
public:
    Speech(host::Host& host, Keys& keys);

    std::unique_ptr<host::SpeechVoice> Voice;
    int voiceIndex = 0;
    int voiceCount = 0;   // installed voices
    int speechRate = 0;
    int speechVolume = 90;
    int configLoaded = 0;
    // The player chose their own voice (the system's) in the options file.
    bool systemVoiceWanted = false;

    void say(const std::string& text);
    void say2(const std::string& text);
    void say3(const std::string& text);
    void stopspeech();
    // Echo the key's character (F1 only silences).
    void saykey(const Key& key);
    void saykey2(const Key& key);

    // Releases the voice and creates a fresh one (engine defaults); selects
    // `index`, keeping the default voice when there is no such voice.
    void NewVoice(int index);
    // Takes the player's own voice, the system's; when the system has none,
    // says so and keeps the voice it has.
    void UseSystemVoice();
    // Speaks through the voice with errors reported and swallowed.
    void Speak(const std::string& text, int flags);

    // Speaks again the sentence of the history the step leads to, cutting
    // what is being said; a beep at either end.
    void Recall(SpeechHistory::Step step);
    const SpeechHistory& history() const { return *history_; }

    int voiceCountMinus1() const { return voiceCount - 1; }
    Keys& keys() { return keys_; }
    host::Host& host() { return host_; }

private:
    void EchoKey(const Key& key, int flags);

    host::Host& host_;
    Keys& keys_;
    // Shared with the engine, which may tell it from its own threads.
    std::shared_ptr<SpeechHistory> history_ = std::make_shared<SpeechHistory>();
};

// Stored voice settings as read from the settings files; absent fields keep
// their defaults.
struct StoredVoice {
    bool haveVolumes = false;
    int waveVolume = 0;
    int speechVolume = 90;
    bool haveConfig = false;
    int voiceIndex = 0;
    int speechRate = 0;
};

// The start-up voice set-up. Returns false when no voice is installed (the
// caller shows its message and leaves). `waveVolume` receives the stored one.
bool ApplyStoredVoiceSettings(Speech& speech, const StoredVoice& stored, int defaultSpeechVolume, int* waveVolume);

}  // namespace sw
