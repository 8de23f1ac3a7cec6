#include "settings/settings_verification.h"

#include "settings/settings_page.h"

namespace {

int VerifySetting(SettingsContext& context, int currentByte, int savedByte, uint8_t value,
                  uint8_t save) {
    DriveLock lock(context.mutex);
    SettingsPage page;
    if (ReadSettingsPage(context.drive, context.runner, lock, &page) != 1) {
        return 0;
    }
    if (page.bytes[currentByte] != value) {
        return 0;
    }
    return save != 1 || page.bytes[savedByte] == value ? 1 : 0;
}

}  // namespace

int VerifyOptimalWriteSpeed(SettingsContext& context, uint8_t value, uint8_t save) {
    return VerifySetting(context, kPageOptimalSpeedCurrent, kPageOptimalSpeedSaved, value, save);
}

int VerifyAudioMode(SettingsContext& context, uint8_t value, uint8_t save) {
    return VerifySetting(context, kPageAudioModeCurrent, kPageAudioModeSaved, value, save);
}
