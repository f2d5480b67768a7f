#include "speech/history.h"

namespace sw {

namespace {

// A key's echo is one character (of however many bytes); blanks around it
// do not count. An empty or blank text is nothing heard either.
bool OneCharacterAtMost(const std::string& text) {
    int characters = 0;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == ' ' || (b & 0xC0) == 0x80) continue;
        if (++characters > 1) return false;
    }
    return true;
}

}  // namespace

void SpeechHistory::Started(const std::string& text) {
    std::lock_guard lock(mu_);
    if (replay_) {
        const bool ours = *replay_ == text;
        replay_.reset();
        if (ours) return;
    }
    if (OneCharacterAtMost(text)) return;
    if (!entries_.empty() && entries_.back() == text) return;
    entries_.push_back(text);
    if (entries_.size() > kKept) entries_.pop_front();
    cursor_ = entries_.size() - 1;
}

void SpeechHistory::Purged() {
    std::lock_guard lock(mu_);
    replay_.reset();
}

std::optional<std::string> SpeechHistory::Take(Step step) {
    std::lock_guard lock(mu_);
    if (entries_.empty()) return std::nullopt;
    switch (step) {
        case Step::Latest:
        case Step::Newest:
            cursor_ = entries_.size() - 1;
            break;
        case Step::Back:
            if (cursor_ == 0) return std::nullopt;
            --cursor_;
            break;
        case Step::Forward:
            if (cursor_ + 1 >= entries_.size()) return std::nullopt;
            ++cursor_;
            break;
    }
    replay_ = entries_[cursor_];
    return replay_;
}

std::vector<std::string> SpeechHistory::Entries() const {
    std::lock_guard lock(mu_);
    return {entries_.begin(), entries_.end()};
}

}  // namespace sw
