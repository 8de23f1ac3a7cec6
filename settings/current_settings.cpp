#include "settings/current_settings.h"

#include "res/resource_ids.h"
#include "settings/settings_page.h"

namespace {

void ReportOptimalSpeed(const SettingsPage& page, StatusLog& log, SupportedSettings& supported) {
    if (page.OptimalSpeedSupported()) {
        supported.optimalSpeed = 1;
        log.LogAppend(page.OptimalSpeedOn() ? IDS_ON : IDS_OFF);
    } else {
        supported.optimalSpeed = 0;
        log.LogAppend(IDS_NOT_SUPPORTED);
    }
}

void ReportAudioMode(const SettingsPage& page, StatusLog& log, SupportedSettings& supported) {
    if (page.AudioModeSupported()) {
        supported.audioMode = 1;
        log.LogAppend(page.AudioModeLowSpeed() ? IDS_LOW_SPEED_MODE : IDS_HIGH_SPEED_MODE);
    } else {
        supported.audioMode = 0;
        log.LogAppend(IDS_NOT_SUPPORTED);
    }
}

}  // namespace

void ReadCurrentSettings(SettingsContext& context) {
    context.frontEnd.ClearShownStatus();
    DriveLock lock(context.mutex);
    SettingsPage page;
    const int read = ReadSettingsPage(context.drive, context.runner, lock, &page);
    context.frontEnd.LogClear();
    if (read != 1) {
        // Whatever the reply buffer still holds belongs to another command: report no settings.
        context.supported = SupportedSettings{};
        context.frontEnd.LogAppend(IDS_UNEXPECTED_ERROR);
        return;
    }
    context.frontEnd.LogAppend(IDS_CURRENT_SETTING);
    context.frontEnd.LogAppend(IDS_LINE_BREAK);
    context.frontEnd.LogAppend(IDS_SPEED_LABEL);
    ReportOptimalSpeed(page, context.frontEnd, context.supported);
    context.frontEnd.LogAppend(IDS_LINE_BREAK);
    context.frontEnd.LogAppend(IDS_AUDIO_LABEL);
    ReportAudioMode(page, context.frontEnd, context.supported);
}
