// The waits for a key that the player hears: the crowd lives on while the
// game waits, the key silences the voice, and the hot keys open their
// dialogs from any question. Typed answers are echoed as they are typed.
#pragma once

#include "input/keys.h"
#include "speech/sound.h"
#include "speech/speech.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace sw {

class KeyWaits {
public:
    KeyWaits(Keys& keys, Speech& speech, Sound& sound);

    // What getkey does once a hot key has run: hand the key on to the
    // question that waited, or take it and wait on, the question never
    // knowing (keys that only serve the player, as the history keys do).
    enum class Then { Return, WaitOn };

    // Hot keys of getkey, tested in the order added, each on the key as the
    // one before left it. Keys that wait on are tested first, and not in a
    // typed answer, where every key is typed.
    void AddHotKey(std::string code, std::function<void()> fn, Then then = Then::Return);
    // Home, PageUp, PageDown and End: the sentences heard, again.
    void AddHistoryKeys();

    // Waits for a key while the crowd lives, silences the voice and runs the
    // hot keys; returns the key as they left it.
    Key getkey();
    // Says the prompt and takes a typed answer up to Enter; F1 starts again.
    std::string getter(const std::string& prompt);

    // The next status key wait hands its key back at once, whatever it is:
    // the answer after the game's end, a called game, or "return to game".
    // A typed answer that reads as 1 does the same, as it always has.
    void AnswerNextKeyAtOnce() { typedAnswer_ = std::string("1"); }  // (a plain "1" trips a false -Wrestrict in GCC 12)
    // True once after either; the wait that asks takes the mark away.
    bool TakeAnswerAtOnce();

    Keys& keys() { return keys_; }

private:
    Keys& keys_;
    Speech& speech_;
    Sound& sound_;
    // Runs the key's hot key that waits on, if it has one.
    bool RanWaitingKey();

    std::vector<std::pair<std::string, std::function<void()>>> hotKeys_;
    std::vector<std::pair<std::string, std::function<void()>>> waitingKeys_;
    bool typing_ = false;  // in a typed answer
    std::string typedAnswer_;
    bool shiftPending_ = false;
};

// The number a text starts with (digits after optional blanks and a sign);
// 0 when it starts with none.
int LeadingNumber(const std::string& text);

}  // namespace sw
