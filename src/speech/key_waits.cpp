#include "speech/key_waits.h"

#include <cctype>

namespace sw {

KeyWaits::KeyWaits(Keys& keys, Speech& speech, Sound& sound) : keys_(keys), speech_(speech), sound_(sound) {}

void KeyWaits::AddHotKey(std::string code, std::function<void()> fn, Then then) {
    (then == Then::WaitOn ? waitingKeys_ : hotKeys_).emplace_back(std::move(code), std::move(fn));
}

// Windows' codes of the four keys; never Insert or Caps Lock, which screen
// readers hold down for their own commands.
void KeyWaits::AddHistoryKeys() {
    using Step = SpeechHistory::Step;
    const std::pair<const char*, Step> keys[] = {{"36", Step::Latest}, {"33", Step::Back}, {"34", Step::Forward},
                                                 {"35", Step::Newest}};
    for (const auto& [code, step] : keys)
        AddHotKey(code, [this, step = step] { speech_.Recall(step); }, Then::WaitOn);
}

bool KeyWaits::RanWaitingKey() {
    if (typing_) return false;
    for (auto& [code, fn] : waitingKeys_) {
        if (keys_.Last().code == code) {
            fn();
            keys_.Discard();
            return true;
        }
    }
    return false;
}

Key KeyWaits::getkey() {
    const Keys::KeyWait wait(keys_);
    keys_.clk();
    do {
        keys_.idle();
        if (sound_.crowdOn == 1 || keys_.variant().crowdAlways) sound_.ramcrowd();
        keys_.yield();
    } while (!keys_.Pressed() || RanWaitingKey());
    speech_.stopspeech();
    bool hot = false;
    for (auto& [code, fn] : hotKeys_) {
        if (keys_.Last().code == code) {
            fn();
            hot = true;
        }
    }
    if (hot && keys_.variant().hotKeyLeavesOne) keys_.SetCode(std::string("1"));  // (a plain "1" trips a false -Wrestrict in GCC 12)
    return keys_.Last();
}

std::string KeyWaits::getter(const std::string& prompt) {
    struct Typing {
        explicit Typing(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
        ~Typing() { flag_ = was_; }
        bool& flag_;
        bool was_;
    } typing(typing_);
restart:
    keys_.clk();
    speech_.say2(prompt);
    typedAnswer_.clear();
    for (;;) {
        Key key = getkey();
        if (key.code == "112") goto restart;
        if (key.code == "16") {
            shiftPending_ = true;
            continue;
        }
        if (shiftPending_) {
            shiftPending_ = false;
            for (char& c : key.ch) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (key.code == "8") {
            if (!typedAnswer_.empty()) {
                // The whole last character goes, however many bytes it
                // takes: half a character would end up in the saved files.
                size_t last = typedAnswer_.size() - 1;
                while (last > 0 && (static_cast<unsigned char>(typedAnswer_[last]) & 0xC0) == 0x80) --last;
                key.ch = typedAnswer_.substr(last);
                speech_.saykey(key);
                typedAnswer_.erase(last);
            }
            continue;
        }
        if (key.code == "13") return typedAnswer_;
        speech_.saykey(key);
        typedAnswer_ += key.ch;
    }
}

bool KeyWaits::TakeAnswerAtOnce() {
    if (LeadingNumber(typedAnswer_) != 1) return false;
    typedAnswer_ = std::string("0");  // (a plain "0" trips a false -Wrestrict in GCC 12)
    return true;
}

// As the game reads typed answers and key codes: leading blanks skipped,
// 0 when there is none.
int LeadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    int sign = 1;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
    long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && value < 100000000)
        value = value * 10 + (text[i++] - '0');
    return sign * static_cast<int>(value);
}

}  // namespace sw
