#include "input/keys.h"

#include "host/keychar.h"

#include <cctype>

namespace sw {

Keys::Keys(host::Host& host, Random& random, const Variant& variant)
    : host_(host), random_(random), variant_(variant) {
    host_.platform().SetEventSink(this);
}

Keys::~Keys() { host_.platform().SetEventSink(nullptr); }

void Keys::AddHotKey(std::string code, std::function<void()> fn) { hotKeys_.emplace_back(std::move(code), std::move(fn)); }

void Keys::KeyDown(int code, double time) {
    keyCode = std::to_string(code);
    keyChar = host::KeyChar(code);
    keyTime = time;
}

void Keys::CloseRequest() {
    if (closeRequest) closeRequest();
}

void Keys::TerminateRequest() {
    terminating = true;
    if (terminateRequest) terminateRequest();
    // A key wait would wait for ever now: it ends here, from inside the
    // event, which also leaves a dialog a hot key opened, however it waits.
    if (keyWaits_ > 0) throw RunEnds{Leave::SessionEnded};
}

Keys::KeyWait::KeyWait(Keys& keys) : keys_(keys) {
    if (keys_.terminating) throw RunEnds{Leave::SessionEnded};
    ++keys_.keyWaits_;
}

Keys::KeyWait::~KeyWait() { --keys_.keyWaits_; }

void Keys::yield() { host_.platform().Yield(); }

// A key wakes the sleep at once; only the crowd's next event, due seconds
// from now, waits on the timeout.
void Keys::idle() { host_.platform().Wait(0.05); }

double Keys::timer() { return host_.clock().now(); }

void Keys::clk() {
    // Events that arrived while the program was not polling (during spoken
    // text, say) are taken in first, so that a key pressed before the
    // question never answers it.
    yield();
    keyCode.clear();
    keyChar.clear();
    yield();
}

void Keys::getkey() {
    const KeyWait wait(*this);
    clk();
    do {
        idle();
        if ((crowdOn == 1 || variant_.crowdAlways) && crowdTurn) crowdTurn();
        yield();
    } while (keyCode.empty());
    if (stopSpeech) stopSpeech();
    bool hot = false;
    for (auto& [code, fn] : hotKeys_) {
        if (keyCode == code) {
            fn();
            hot = true;
        }
    }
    if (hot && variant_.hotKeyLeavesOne) keyCode = std::string("1");  // (a plain "1" trips a false -Wrestrict in GCC 12)
}

void Keys::getkey2() {
    const KeyWait wait(*this);
    clk();
    while (keyCode.empty()) idle();
}

void Keys::getter(const std::string& prompt) {
restart:
    clk();
    if (sayQueued) sayQueued(prompt);
    typedAnswer.clear();
    for (;;) {
        getkey();
        if (keyCode == "112") goto restart;
        if (keyCode == "16") {
            shiftPending = true;
            continue;
        }
        if (shiftPending) {
            shiftPending = false;
            for (char& c : keyChar) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (keyCode == "8") {
            if (!typedAnswer.empty()) {
                // The whole last character goes, however many bytes it
                // takes: half a character would end up in the saved files.
                size_t last = typedAnswer.size() - 1;
                while (last > 0 && (static_cast<unsigned char>(typedAnswer[last]) & 0xC0) == 0x80) --last;
                keyChar = typedAnswer.substr(last);
                if (echoKey) echoKey();
                typedAnswer.erase(last);
            }
            continue;
        }
        if (keyCode == "13") return;
        if (echoKey) echoKey();
        typedAnswer += keyChar;
    }
}

void Keys::dy(double seconds) {
    const double start = timer();
    do {
        // Tells the platform when the pause ends, so it need not look sooner.
        host_.platform().Wait(start + seconds - timer());
    } while (!(timer() > start + seconds));
}

int Keys::wf(int n) {
    random_.Reseed(timer());
    double r = random_.Next();
    rnd = static_cast<int>(r * n) + 1;
    if (rnd > n) rnd = n;
    if (rnd < 1) rnd = 1;
    return rnd;
}

}  // namespace sw
