// The sentences the player has heard, to be heard again: Home the latest,
// PageUp back through the last ones, PageDown forward, End the newest.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// Holds what started to sound, as the engine tells it (from its own threads,
// hence the lock), leaving out one-character key echoes, a sentence said
// twice in a row, and a sentence being heard again from here.
class SpeechHistory {
public:
    static constexpr size_t kKept = 50;

    enum class Step { Latest, Back, Forward, Newest };

    // A text started to sound.
    void Started(const std::string& text);
    // Speech was purged: a replay that has not started by now never will.
    void Purged();

    // Moves as the key asks and gives the sentence to speak, marked as a
    // replay; none at either end (or with nothing heard yet).
    std::optional<std::string> Take(Step step);

    std::vector<std::string> Entries() const;

private:
    mutable std::mutex mu_;
    std::deque<std::string> entries_;
    size_t cursor_ = 0;                  // the entry last spoken, or the newest
    std::optional<std::string> replay_;  // a replay queued and not yet heard starting
};

}  // namespace sw
