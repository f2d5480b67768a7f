#include "speech/speech.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace sw {

Speech::Speech(host::Host& host, Keys& keys) : host_(host), keys_(keys) {
    host_.speech().OnStarted([history = history_](const std::string& text) { history->Started(text); });
}

void Speech::Speak(const std::string& text, int flags) {
    if (!Voice) return;
    try {
        Voice->Speak(text, flags);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "speech: %s\n", e.what());
    }
    // The engine has told of every text that started before the purge.
    if ((flags & host::kSpeakPurge) != 0) history_->Purged();
}

void Speech::Recall(SpeechHistory::Step step) {
    stopspeech();
    if (const auto text = history_->Take(step)) say2(*text);
    else host_.sound().Beep();
}

void Speech::say(const std::string& text) { Speak(text, host::kSpeakWait); }

void Speech::say2(const std::string& text) { Speak(text, host::kSpeakAsync); }

void Speech::stopspeech() { Speak("", host::kSpeakPurge); }

void Speech::say3(const std::string& text) {
    say2(text);
    keys_.dy(0.5);
    keys_.clk();
    if (!Voice) return;
    // The engine reports "speaking" from the moment a text is queued until it
    // has been heard, and "done" once it has: the wait for the reading to start
    // therefore ends at once, also for a text too short to be heard.
    keys_.yield();
    while (Voice->RunningState() == host::kSpeechSpeaking && !keys_.Pressed()) keys_.yield();
    stopspeech();
}

// The echo of a typed key, two rate steps faster; F1 is never echoed but
// still silences what was being said.
void Speech::EchoKey(const Key& key, int flags) {
    if (!Voice) return;
    Voice->SetRate(speechRate + 2);
    stopspeech();
    if (key.code != "112") Speak(key.ch, flags);
    Voice->SetRate(speechRate);
}

void Speech::saykey(const Key& key) { EchoKey(key, host::kSpeakAsync); }

void Speech::saykey2(const Key& key) { EchoKey(key, host::kSpeakWait); }

void Speech::NewVoice(int index) {
    Voice.reset();
    try {
        Voice = host_.speech().CreateVoice();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "speech: cannot create a voice: %s\n", e.what());
        return;
    }
    if (!Voice->SelectVoice(index))
        std::fprintf(stderr, "speech: there is no voice %d; keeping the default voice\n", index);
}

void Speech::UseSystemVoice() {
    host::SpeechEngine& engine = host_.speech();
    const int index = engine.FindSystemVoice();
    if (index < 0) {
        say2(" your screen reader's voice cannot be reached. the game's own voice speaks instead. ");
        return;
    }
    voiceCount = engine.VoiceCount();
    voiceIndex = index;
    NewVoice(voiceIndex);
    if (!Voice) return;
    Voice->SetRate(speechRate);
    Voice->SetVolume(speechVolume);
}

bool ApplyStoredVoiceSettings(Speech& speech, const StoredVoice& stored, int defaultSpeechVolume, int* waveVolume) {
    host::SpeechEngine& engine = speech.host().speech();
    speech.voiceCount = engine.VoiceCount();
    if (speech.voiceCount <= 0) return false;
    speech.NewVoice(0);
    speech.voiceIndex = 0;
    if (!speech.Voice) return false;
    speech.speechRate = speech.Voice->Rate();
    speech.Voice->SetRate(speech.speechRate);
    speech.speechVolume = defaultSpeechVolume;
    speech.Voice->SetVolume(speech.speechVolume);
    if (stored.haveVolumes) {
        if (waveVolume) *waveVolume = stored.waveVolume;
        speech.speechVolume = stored.speechVolume;
        speech.Voice->SetVolume(speech.speechVolume);
    }
    if (stored.haveConfig) {
        // A voice past the others is the player's own, chosen last time.
        if (stored.voiceIndex >= speech.voiceCount && engine.FindSystemVoice() >= 0) speech.voiceCount = engine.VoiceCount();
        speech.voiceIndex = stored.voiceIndex;
        speech.speechRate = std::clamp(stored.speechRate, -10, 10);
        speech.NewVoice(speech.voiceIndex);
        if (speech.Voice) {
            speech.Voice->SetRate(speech.speechRate);
            speech.Voice->SetVolume(speech.speechVolume);
        }
        speech.configLoaded = 1;
    }
    if (speech.systemVoiceWanted) speech.UseSystemVoice();
    return true;
}

}  // namespace sw
