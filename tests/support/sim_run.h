// Test support: a temporary folder per test, a simulated host with the wave
// set in its program folder, and a bot that presses keys as a player would.
#pragma once

#include "host/sim/sim_host.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sw::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Every text handed to the engine, heard or not, in order.
std::vector<std::string> Queued(const host::sim::SimHost& sim);

// Makes `link` stand for the file `target`: a symbolic link where the
// system makes them, else a hard link, else a copy.
void LinkFile(const std::string& target, const std::string& link);

// Writes a 16-bit mono PCM wave of `samples` samples at `rate` Hz.
void WriteTestWave(const std::string& path, uint32_t samples, uint32_t rate = 11025, int16_t value = 1000);

// A simulated host whose sounds folder holds the project's wave set.
struct SimWorld {
    SimWorld();
    // A world in a folder of the caller's, which outlives it: one program run
    // after another on the same files.
    explicit SimWorld(const std::string& root);
    TempDir dir;
    std::unique_ptr<host::sim::SimHost> sim;
};

// Presses keys on cue. Steps run in order; each waits for its trigger,
// then acts once.
class Bot {
public:
    explicit Bot(host::sim::SimHost& sim);

    // When an utterance equal to `text` starts (after the previous step
    // acted), press `key` `delay` seconds later.
    Bot& OnSay(const std::string& text, int key, double delay = 0.05);
    // The same with any action (a close request, say).
    Bot& OnSayDo(const std::string& text, std::function<void()> action, double delay = 0.05);
    // When an utterance that `match` accepts starts.
    Bot& OnSayMatching(std::function<bool(const std::string&)> match, std::function<void()> action,
                       double delay = 0.05);
    // When the next pitch sound ("p1".."p7") plays, press a key with the time
    // stamp at which its heard position reaches `percent` of the file.
    Bot& SwingAt(double percent);
    // Lets the next pitch sound play to its end without a key.
    Bot& Take();
    // When a sound named `name` starts, press `key` `delay` seconds later.
    Bot& OnSound(const std::string& name, int key, double delay = 0.01);
    // Press `key` `delay` seconds after the previous step acted.
    Bot& After(double delay, int key);
    // Any trigger and action.
    Bot& Step(std::function<bool()> trigger, std::function<void()> action);

    bool done() const { return next_ >= steps_.size(); }
    // Runs at every tick once every step has acted.
    std::function<void()> afterSteps;
    size_t stepsDone() const { return next_; }

private:
    void Tick();
    struct StepRec {
        std::function<bool()> trigger;
        std::function<void()> action;
    };
    host::sim::SimHost& sim_;
    std::vector<StepRec> steps_;
    size_t next_ = 0;
    size_t seenUtterances_ = 0;  // utterances already looked at by the current step
    size_t seenSounds_ = 0;
    double lastActed_ = 0;  // clock time of the last action
};

}  // namespace sw::test
