#include "measure.h"

#include <fstream>
#include <string>

namespace bench {

std::int64_t peakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6));
    }
    return -1;
}

}  // namespace bench
