#include "input/keys.h"

#include "host/keychar.h"

#include <utility>

namespace sw {

Keys::Keys(host::Host& host, Random& random, const Variant& variant)
    : host_(host), random_(random), variant_(variant) {
    host_.platform().SetEventSink(this);
}

Keys::~Keys() { host_.platform().SetEventSink(nullptr); }

void Keys::KeyDown(int code, double time) {
    key_ = Key{std::to_string(code), host::KeyChar(code), time};
}

void Keys::CloseRequest() {
    if (closeRequest) closeRequest();
}

void Keys::TerminateRequest() {
    terminating_ = true;
    if (terminateRequest) terminateRequest();
    // A key wait would wait for ever now: it ends here, from inside the
    // event, which also leaves a dialog a hot key opened, however it waits.
    if (keyWaits_ > 0) throw RunEnds{Leave::SessionEnded};
}

Keys::KeyWait::KeyWait(Keys& keys) : keys_(keys) {
    if (keys_.terminating_) throw RunEnds{Leave::SessionEnded};
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
    Discard();
    yield();
}

// The time of the last key-down stays: a swing judged on a code set
// afterwards (a close during the pitch) is judged at it.
void Keys::Discard() {
    key_.code.clear();
    key_.ch.clear();
}

void Keys::SetCode(std::string code) { key_.code = std::move(code); }

Key Keys::getkey2() {
    const KeyWait wait(*this);
    clk();
    while (!Pressed()) idle();
    return key_;
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
    int rnd = static_cast<int>(r * n) + 1;
    if (rnd > n) rnd = n;
    if (rnd < 1) rnd = 1;
    return rnd;
}

}  // namespace sw
