#pragma once

#include "host/host.h"

#include <chrono>

namespace sw::host::real {

class SteadyClock : public Clock {
public:
    double now() const override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace sw::host::real
