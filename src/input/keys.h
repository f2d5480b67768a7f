// Key input, waits and random numbers: the window's keys and the plain
// waits every question of the game is built on.
#pragma once

#include "host/host.h"
#include "input/leave.h"
#include "input/random.h"
#include "input/variant.h"

#include <functional>
#include <string>

namespace sw {

// One key as the window gave it.
struct Key {
    std::string code;  // the key's code as decimal text; empty for no key
    std::string ch;    // its character, lower case
    double time = 0;   // clock time of the key-down

    bool none() const { return code.empty(); }
};

class Keys : public host::EventSink {
public:
    Keys(host::Host& host, Random& random, const Variant& variant);
    ~Keys() override;

    // The program decides what a close and a session's end mean (the game's
    // exit sequence, the menu's Escape); the platform tells only this sink,
    // which cannot know the program above it.
    std::function<void()> closeRequest;                // the window was asked to close
    std::function<void()> terminateRequest;            // the session is ending

    // --- the key since the last clk ---------------------------------------------------
    // Forgets the key, taking in first whatever events were waiting.
    void clk();
    // Forgets the key without yielding: for use inside event delivery.
    void Discard();
    // Changes the key's code only, for the wait that reads it next: a close
    // becomes Escape, a dialog leaves its answer to the wait that opened it.
    void SetCode(std::string code);
    // A key has come since the last clk.
    bool Pressed() const { return !key_.none(); }
    const Key& Last() const { return key_; }

    // --- waits ----------------------------------------------------------------------
    // Waits for any key, without hot keys, and returns it.
    Key getkey2();
    void dy(double seconds);
    int wf(int n);
    // Yields to the window's events once.
    void yield();
    // Yields, sleeping longer when no event comes: for waits for a key.
    void idle();
    // The game's timer: monotonic seconds, unaffected by midnight.
    double timer();

    // The session is ending (SIGTERM, SIGHUP): set by the first terminate
    // request, never cleared. No key will come any more.
    bool terminating() const { return terminating_; }

    // Marks a key wait for its lifetime. Once the session is ending, a wait
    // throws RunEnds{Leave::SessionEnded}: the wait in progress when the
    // request comes (with whatever its hot key opened), and every wait
    // begun later.
    class KeyWait {
    public:
        explicit KeyWait(Keys& keys);
        ~KeyWait();
        KeyWait(const KeyWait&) = delete;
        KeyWait& operator=(const KeyWait&) = delete;

    private:
        Keys& keys_;
    };

    Random& random() { return random_; }
    host::Host& host() { return host_; }
    const Variant& variant() const { return variant_; }

    // host::EventSink
    void KeyDown(int code, double time) override;
    void CloseRequest() override;
    void TerminateRequest() override;

private:
    host::Host& host_;
    Random& random_;
    const Variant& variant_;
    Key key_;
    bool terminating_ = false;
    int keyWaits_ = 0;  // key waits in progress, the hot keys they run included
};

}  // namespace sw
