#include "host/speech_ledger.h"

#include <algorithm>

namespace sw::host {

void SpeechLedger::Sending() { ++sending_; }

void SpeechLedger::SendFailed() {
    if (sending_ > 0) --sending_;
}

std::vector<std::string> SpeechLedger::Queued(std::size_t id, const std::string& text) {
    SendFailed();
    newest_ = std::max(newest_, id);
    std::vector<std::string> captions;
    outstanding_[id] = Entry{text, false};
    if (auto it = early_.find(id); it != early_.end()) {
        const std::vector<Event> events = std::move(it->second);
        early_.erase(it);
        for (Event e : events) Apply(id, e, captions);
    }
    return captions;
}

std::vector<std::string> SpeechLedger::Told(std::size_t id, Event event) {
    std::vector<std::string> captions;
    if (outstanding_.count(id) != 0) {
        Apply(id, event, captions);
    } else if (id > newest_ && sending_ > 0) {
        // Its id is still on the way back to the sender.
        auto it = early_.find(id);
        if (it != early_.end() || early_.size() < kMaxEarly) early_[id].push_back(event);
    }
    return captions;
}

void SpeechLedger::Apply(std::size_t id, Event event, std::vector<std::string>& captions) {
    auto it = outstanding_.find(id);
    if (it == outstanding_.end()) return;
    Entry& entry = it->second;
    switch (event) {
    case Event::Begin:
        if (!entry.begun) captions.push_back(entry.text);
        entry.begun = true;
        return;
    case Event::End:
        // It was heard even if its start was never told.
        if (!entry.begun) captions.push_back(entry.text);
        outstanding_.erase(it);
        return;
    case Event::Cancel:
        outstanding_.erase(it);
        return;
    }
}

void SpeechLedger::Purge() {
    outstanding_.clear();
    early_.clear();
}

}  // namespace sw::host
