// The random generator: whole numbers 1..n, reseeded from the clock.
#pragma once

#include <cstdint>
#include <deque>

namespace sw {

class Random {
public:
    // Mixes the clock reading into the generator's state. Two reseeds with the
    // same reading do not replay the same numbers: the state moves on.
    void Reseed(double clockSeconds);
    // Uniform in [0, 1).
    double Next();
    // Values handed out by Next before the generator's own (for tests).
    void Force(std::deque<double> values) { forced_ = std::move(values); }

private:
    uint64_t state_ = 0x5eed5eedULL;
    std::deque<double> forced_;
};

}  // namespace sw
