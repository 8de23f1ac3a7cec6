#include "platform/window_activation.h"

#include <cstdlib>

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

const WindowActivation& LaunchActivation() {
    static const WindowActivation launch{Variable("XDG_ACTIVATION_TOKEN"),
                                         Variable("DESKTOP_STARTUP_ID")};
    return launch;
}
