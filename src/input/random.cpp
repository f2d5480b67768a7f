#include "input/random.h"

#include <bit>
#include <cstring>

namespace sw {

namespace {
uint64_t SplitMix(uint64_t& s) {
    uint64_t z = (s += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}
}  // namespace

void Random::Reseed(double clockSeconds) {
    state_ ^= std::bit_cast<uint64_t>(clockSeconds);
    SplitMix(state_);
}

double Random::Next() {
    if (!forced_.empty()) {
        double v = forced_.front();
        forced_.pop_front();
        return v;
    }
    return static_cast<double>(SplitMix(state_) >> 11) * 0x1.0p-53;
}

}  // namespace sw
