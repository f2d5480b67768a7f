// Key input, waits and random numbers: the window's key state and the
// operations every question of the game waits with.
#pragma once

#include "host/host.h"
#include "input/leave.h"
#include "input/random.h"
#include "input/variant.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace sw {

class Keys : public host::EventSink {
public:
    Keys(host::Host& host, Random& random, const Variant& variant);
    ~Keys() override;

    // --- key state -------------------------------------------------------------
    std::string keyCode;   // last key's code as decimal text; empty when none pending
    std::string keyChar;   // its character, lower case
    double keyTime = 0;    // clock time of the key-down
    std::string typedAnswer;
    int rnd = 0;
    int crowdOn = 0;
    bool shiftPending = false;
    // The session is ending (SIGTERM, SIGHUP): set by the first terminate
    // request, never cleared. No key will come any more.
    bool terminating = false;


    // --- what the layers above plug in ---------------------------------------------
    std::function<void()> stopSpeech;                  // getkey silences speech
    std::function<void()> crowdTurn;                   // ramcrowd
    std::function<void(const std::string&)> sayQueued; // say2, for getter
    std::function<void()> echoKey;                     // saykey, for getter
    // The program decides what a close and a session's end mean (the game's
    // exit sequence, the menu's Escape); the platform tells only this sink.
    std::function<void()> closeRequest;                // the window was asked to close
    std::function<void()> terminateRequest;            // the session is ending
    // Hot keys of getkey, tested in the order added; each an independent test.
    void AddHotKey(std::string code, std::function<void()> fn);

    // --- operations -------------------------------------------------------------------
    void clk();
    // The key waits. Once the session is ending, each throws
    // RunEnds{Leave::SessionEnded}: the wait in progress when the request
    // comes (with whatever its hot key opened), and every wait begun later.
    void getkey();
    void getkey2();
    void getter(const std::string& prompt);
    void dy(double seconds);
    int wf(int n);
    // Yields to the window's events once.
    void yield();
    // Yields, sleeping longer when no event comes: for waits for a key.
    void idle();
    // The game's timer: monotonic seconds, unaffected by midnight.
    double timer();

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
    std::vector<std::pair<std::string, std::function<void()>>> hotKeys_;
    int keyWaits_ = 0;  // key waits in progress, the hot keys they run included

    // Marks a key wait for its lifetime; refuses to begin one once the
    // session is ending.
    class KeyWait {
    public:
        explicit KeyWait(Keys& keys);
        ~KeyWait();
        KeyWait(const KeyWait&) = delete;
        KeyWait& operator=(const KeyWait&) = delete;

    private:
        Keys& keys_;
    };
};

}  // namespace sw
