#include "dialog/window_foreground.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

// The process's windows are a process-wide fact, as the window system's own table is.
struct ForegroundRegistry {
    std::mutex mutex;
    std::map<uintptr_t, std::function<void(const WindowActivation&)>> windows;
};

ForegroundRegistry& Registry() {
    static ForegroundRegistry registry;
    return registry;
}

}  // namespace

void RegisterForegroundWindow(uintptr_t nativeWindow,
                              std::function<void(const WindowActivation&)> bringToFront) {
    ForegroundRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.windows[nativeWindow] = std::move(bringToFront);
}

void UnregisterForegroundWindow(uintptr_t nativeWindow) {
    ForegroundRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.windows.erase(nativeWindow);
}

bool RequestForegroundWindow(uintptr_t nativeWindow, const WindowActivation& launch) {
    ForegroundRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    const auto found = registry.windows.find(nativeWindow);
    if (found == registry.windows.end()) {
        return false;
    }
    found->second(launch);
    return true;
}
