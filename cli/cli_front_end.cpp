#include "cli/cli_front_end.h"

namespace {

constexpr uint8_t kFactoryOptimalSpeed = 0;  // OFF
constexpr uint8_t kFactoryAudioMode = 0;     // high speed playback

SettingChoice FactoryChoice(int supported, uint8_t value) {
    return supported == 1 ? SettingChoice{true, value, 1} : SettingChoice{false, 0, 0};
}

}  // namespace

void CliFrontEnd::ChooseFactoryValues(const SupportedSettings& supported) {
    optimalSpeed_ = FactoryChoice(supported.optimalSpeed, kFactoryOptimalSpeed);
    audioMode_ = FactoryChoice(supported.audioMode, kFactoryAudioMode);
}
