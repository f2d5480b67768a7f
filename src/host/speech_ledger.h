// What a speech service has been handed and what it has told of it since.
// The service gives each text a message id when it takes it, and tells of
// the id as it starts to sound, ends, or is cancelled. Its events come on a
// thread of its own and may overtake the call that handed the text over, so
// an event for an id not yet known is kept until the id is; an event for an
// id no newer than the newest known, and not outstanding, belongs to a text
// already done with (a purged one, say) and is dropped.
//
// Plain bookkeeping: the caller guards it with its own lock and makes every
// call into the service outside that lock.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace sw::host {

class SpeechLedger {
public:
    enum class Event { Begin, End, Cancel };

    // A text is on its way to the service: speaking from now on.
    void Sending();
    // The service took it under `id`. Returns the texts to caption now: this
    // one, when its start was told before its id came back.
    std::vector<std::string> Queued(std::size_t id, const std::string& text);
    // The service did not take it.
    void SendFailed();

    // One event of the service. Returns the texts to caption now: a text is
    // captioned once, when it starts, or at its end when its start was never
    // told; a cancelled text that never started is not.
    std::vector<std::string> Told(std::size_t id, Event event);

    // Forgets every text still outstanding: what the service later tells of
    // them is dropped.
    void Purge();

    // From the moment a text is sent until it has ended, been cancelled or purged.
    bool Speaking() const { return sending_ > 0 || !outstanding_.empty(); }

private:
    struct Entry {
        std::string text;
        bool begun = false;
    };
    // Events kept for ids not yet known; beyond this many a stray id's are dropped.
    static constexpr std::size_t kMaxEarly = 64;

    void Apply(std::size_t id, Event event, std::vector<std::string>& captions);

    std::map<std::size_t, Entry> outstanding_;
    std::map<std::size_t, std::vector<Event>> early_;
    std::size_t newest_ = 0;  // the newest id the service has given
    int sending_ = 0;
};

}  // namespace sw::host
