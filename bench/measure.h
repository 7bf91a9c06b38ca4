// Wall-clock time and peak memory.
#pragma once

#include <chrono>
#include <cstdint>

namespace bench {

class Stopwatch {
public:
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The process's peak resident memory so far (VmHWM), in KiB.
std::int64_t peakMemoryKiB();

}  // namespace bench
