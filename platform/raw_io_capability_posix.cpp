#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/raw_io_capability.h"

namespace {

constexpr unsigned kCapSysRawIo = 17;  // linux/capability.h

}  // namespace

// The effective set as the kernel shows it in /proc/self/status ("CapEff:\t0000003fffffffff"):
// the same set the filter asks when a command is sent.
bool HasRawIoCapability() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("CapEff:", 0) == 0) {
            const unsigned long long effective = std::strtoull(line.c_str() + 7, nullptr, 16);
            return ((effective >> kCapSysRawIo) & 1u) != 0;
        }
    }
    return false;
}
