#include "game_player.h"

#include <cmath>

namespace sw::test {

namespace {
bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

host::sim::SimBuffer* PlayingPitch(host::sim::SimHost& sim) {
    for (auto* b : sim.liveBuffers()) {
        const std::string& n = b->name();
        if (n.size() == 2 && n[0] == 'p' && n[1] >= '1' && n[1] <= '7' && b->playing()) return b;
    }
    return nullptr;
}
}  // namespace

GamePlayer::GamePlayer(host::sim::SimHost& sim, Bot& bot, GameProgram& program) : sim_(sim), program_(program) {
    pitchKey = [this] { return '1' + (nextPitch_++ % 7); };
    bot.afterSteps = [this] { Tick(); };
}

void GamePlayer::Press(int key, double delay) { sim_.PressKey(key, sim_.clock().now() + delay); }

void GamePlayer::PressSoon(int key) { Press(key, keyDelay); }

void GamePlayer::Tick() {
    if (watch) watch();
    // The game's own words, as each starts to be heard. What was heard
    // before the player took over was answered by the script.
    const auto& us = sim_.utterances();
    if (!engaged_) {
        engaged_ = true;
        while (seen_ < us.size() && us[seen_].start >= 0 && us[seen_].start < sim_.clock().now()) ++seen_;
    }
    for (; seen_ < us.size(); ++seen_) {
        const auto& u = us[seen_];
        if (u.start < 0) {
            if (u.end >= 0) continue;  // dropped before it was heard
            break;
        }
        Heard(u.text);
    }
    // The swing, timed to the position of the pitch sound.
    if (program_.state().battingTeam != 1) return;
    host::sim::SimBuffer* b = PlayingPitch(sim_);
    if (!b || b->playIndex() == swungAt_) return;
    const double percent = swingPercent();
    if (percent < 0) {
        swungAt_ = b->playIndex();
        return;
    }
    auto target = static_cast<uint32_t>(std::ceil(percent * b->fileBytes() / 100.0 - 1e-9));
    target += target % 2;
    const double t = b->TimeOfPosition(target);
    if (t < 0 || t > sim_.clock().now() + sim_.quantum()) return;
    swungAt_ = b->playIndex();
    ++swings;
    sim_.PressKey(kSpaceKey, t);
}

void GamePlayer::Heard(const std::string& text) {
    const bool batter = StartsWith(text, " press the space bar to step into the batters box, ");
    const bool pitcher = StartsWith(text, " WHAT WILL YOUR PITCHER THROW");
    if (batter || pitcher) {
        ++prompts;
        if (pauseNow && pauseNow()) {
            pauseNow = nullptr;
            promptKeyAfterReturn_ = batter ? batterKey() : pitchKey();
            PressSoon(kEscapeKey);
            return;
        }
        PressSoon(batter ? batterKey() : pitchKey());
        return;
    }
    if (text == " Select. 1. save and exit game ") {
        if (pauseItem == 1) Press(kEnterKey);
        else if (pauseItem == 2) Press(kDownKey);
        else Press(kUpKey);
        return;
    }
    if (text == " 2. exit game " && pauseItem == 2) {
        Press(kEnterKey);
        return;
    }
    if (text == " 3. return to game" && pauseItem == 3) {
        Press(kEnterKey);
        Press(promptKeyAfterReturn_, 0.6);
        return;
    }
    if (text == " Press any key, or the r key to read the baseball log dot t x t file ") {
        Press(offerKey);
        return;
    }
    if (text == " Press any key") {
        // Keys pressed while it is said are cleared before the wait.
        Press(kSpaceKey, 3);
        return;
    }
    if (text == " Press the number of the base to throw to") {
        const auto& gs = program_.state();
        // Said in full before the key wait begins.
        Press(gs.runnerOnFirst == 1 ? '1' : gs.runnerOnSecond == 1 ? '2' : '3', 3.5);
    }
}

}  // namespace sw::test
