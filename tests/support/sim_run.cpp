#include "support/sim_run.h"

#include "host/files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace sw::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    path_ = host::MakeUniqueFolder(host::Utf8FromPath(fs::temp_directory_path()), "sluggerwood-test-");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::vector<std::string> Queued(const host::sim::SimHost& sim) {
    std::vector<std::string> out;
    for (const auto& u : sim.utterances()) out.push_back(u.text);
    return out;
}

void WriteTestWave(const std::string& path, uint32_t samples, uint32_t rate, int16_t value) {
    std::string out;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
    };
    auto u16 = [&](uint16_t v) {
        out += static_cast<char>(v & 0xff);
        out += static_cast<char>(v >> 8);
    };
    const uint32_t data = samples * 2;
    out += "RIFF";
    u32(36 + data);
    out += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out += "data";
    u32(data);
    for (uint32_t i = 0; i < samples; ++i) u16(static_cast<uint16_t>(value));
    host::WriteFileAtomic(path, out);
}

void LinkFile(const std::string& target, const std::string& link) {
    const fs::path from = host::PathFromUtf8(target);
    const fs::path to = host::PathFromUtf8(link);
    std::error_code ec;
    fs::create_symlink(from, to, ec);
    if (ec) fs::create_hard_link(from, to, ec);
    if (ec) fs::copy_file(from, to);  // throws when even that fails
}

SimWorld::SimWorld() : SimWorld(std::string()) {}

SimWorld::SimWorld(const std::string& root) : sim(std::make_unique<host::sim::SimHost>(root.empty() ? dir.path() : root)) {
    // The program folder's sounds are the project's own set.
    const fs::path sounds = sim->folders().sounds;
    for (const auto& e : fs::directory_iterator(SW_SOUNDS_DIR)) {
        const fs::path link = sounds / e.path().filename();
        if (e.path().extension() == ".wav" && !fs::exists(fs::symlink_status(link))) {
            LinkFile(host::Utf8FromPath(e.path()), host::Utf8FromPath(link));
        }
    }
}

Bot::Bot(host::sim::SimHost& sim) : sim_(sim) {
    sim_.OnTick([this] { Tick(); });
}

Bot& Bot::Step(std::function<bool()> trigger, std::function<void()> action) {
    steps_.push_back({std::move(trigger), std::move(action)});
    return *this;
}

Bot& Bot::OnSay(const std::string& text, int key, double delay) {
    return OnSayDo(text, [this, key] { sim_.PressKey(key); }, delay);
}

Bot& Bot::OnSayDo(const std::string& text, std::function<void()> action, double delay) {
    return OnSayMatching([text](const std::string& said) { return said == text; }, std::move(action), delay);
}

Bot& Bot::OnSayMatching(std::function<bool(const std::string&)> match, std::function<void()> action, double delay) {
    auto firedAt = std::make_shared<double>(-1);
    return Step(
        [this, match, delay, firedAt] {
            if (*firedAt < 0) {
                const auto& us = sim_.utterances();
                for (; seenUtterances_ < us.size(); ++seenUtterances_) {
                    const auto& u = us[seenUtterances_];
                    if (u.start < 0) {
                        if (u.end >= 0) continue;  // purged before it was heard
                        break;                     // not started yet
                    }
                    if (match(u.text)) {
                        *firedAt = u.start;
                        ++seenUtterances_;
                        break;
                    }
                }
            }
            if (*firedAt >= 0) sim_.WakeAt(*firedAt + delay);
            return *firedAt >= 0 && sim_.clock().now() >= *firedAt + delay;
        },
        std::move(action));
}

Bot& Bot::OnSound(const std::string& name, int key, double delay) {
    auto firedAt = std::make_shared<double>(-1);
    return Step(
        [this, name, delay, firedAt] {
            if (*firedAt < 0) {
                const auto& ss = sim_.sounds();
                for (; seenSounds_ < ss.size(); ++seenSounds_) {
                    if (ss[seenSounds_].name == name) {
                        *firedAt = ss[seenSounds_].start;
                        ++seenSounds_;
                        break;
                    }
                }
            }
            if (*firedAt >= 0) sim_.WakeAt(*firedAt + delay);
            return *firedAt >= 0 && sim_.clock().now() >= *firedAt + delay;
        },
        [this, key] { sim_.PressKey(key); });
}

namespace {
host::sim::SimBuffer* PitchBuffer(host::sim::SimHost& sim) {
    for (auto* b : sim.liveBuffers()) {
        const std::string& n = b->name();
        if (n.size() == 2 && n[0] == 'p' && n[1] >= '1' && n[1] <= '7' && b->playing()) return b;
    }
    return nullptr;
}
}  // namespace

Bot& Bot::SwingAt(double percent) {
    auto when = std::make_shared<double>(-1);
    return Step(
        [this, percent, when] {
            host::sim::SimBuffer* b = PitchBuffer(sim_);
            if (!b) return false;
            // The byte offset whose percentage is the first at or above `percent`.
            auto target = static_cast<uint32_t>(std::ceil(percent * b->fileBytes() / 100.0 - 1e-9));
            target += target % 2;
            const double t = b->TimeOfPosition(target);
            if (t < 0) return false;
            // Press only once no speed change can come between now and then.
            if (t > sim_.clock().now() + sim_.quantum()) return false;
            *when = t;
            return true;
        },
        [this, when] { sim_.PressKey(32, *when); });
}

Bot& Bot::Take() {
    auto seen = std::make_shared<bool>(false);
    return Step(
        [this, seen] {
            if (PitchBuffer(sim_)) *seen = true;
            return *seen && !PitchBuffer(sim_);
        },
        [] {});
}

Bot& Bot::After(double delay, int key) {
    return Step(
        [this, delay] {
            sim_.WakeAt(lastActed_ + delay);
            return sim_.clock().now() >= lastActed_ + delay;
        },
        [this, key] { sim_.PressKey(key); });
}

void Bot::Tick() {
    while (next_ < steps_.size() && steps_[next_].trigger()) {
        steps_[next_].action();
        lastActed_ = sim_.clock().now();
        ++next_;
    }
    if (done() && afterSteps) afterSteps();
}

}  // namespace sw::test
