#include "ui/control_state.h"

#include "res/resource_ids.h"
#include "settings/settings_page.h"

namespace {

constexpr int kSpeedControls[] = {IDC_SPEED_ON, IDC_SPEED_OFF, IDC_SAVE_SPEED};
constexpr int kAudioControls[] = {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO};

void EnableUnchecked(DialogControls& controls, const int (&ids)[3]) {
    for (int id : ids) {
        controls.EnableControl(id, true);
        controls.SetCheck(id, 0);
    }
}

void Disable(DialogControls& controls, const int (&ids)[3]) {
    for (int id : ids) {
        controls.EnableControl(id, false);
    }
}

void MirrorOptimalSpeed(DialogControls& controls, const SettingsPage& page) {
    if (!page.OptimalSpeedSupported()) {
        Disable(controls, kSpeedControls);
        return;
    }
    controls.SetCheck(page.OptimalSpeedOn() ? IDC_SPEED_ON : IDC_SPEED_OFF, 1);
}

// A drive without the audio mode leaves the description as it was.
void MirrorAudioMode(DialogControls& controls, const SettingsPage& page) {
    if (!page.AudioModeSupported()) {
        Disable(controls, kAudioControls);
        return;
    }
    const bool low = page.AudioModeLowSpeed();
    controls.SetCheck(low ? IDC_AUDIO_LOW : IDC_AUDIO_HIGH, 1);
    ShowAudioModeDescription(controls,
                             low ? AudioMode::kLowSpeedPlayback : AudioMode::kHighSpeedPlayback);
}

}  // namespace

void DisableSettingControls(DialogControls& controls) {
    controls.EnableControl(IDC_APPLY, false);
    controls.EnableControl(IDC_RESTORE_DEFAULT, false);
    controls.EnableControl(IDC_CHECK_SETTING, false);
    Disable(controls, kSpeedControls);
    Disable(controls, kAudioControls);
}

void UpdateControls(SettingsContext& context, DialogControls& controls, int disableAll) {
    if (disableAll == 1) {
        DisableSettingControls(controls);
        return;
    }
    controls.EnableControl(IDC_APPLY, true);
    controls.EnableControl(IDC_RESTORE_DEFAULT, true);
    EnableUnchecked(controls, kSpeedControls);
    EnableUnchecked(controls, kAudioControls);

    DriveLock lock(context.mutex);
    SettingsPage page;
    if (ReadSettingsPage(context.drive, context.runner, lock, &page) != 1) {
        context.frontEnd.LogAppend(IDS_UNEXPECTED_ERROR);
        DisableSettingControls(controls);
        return;
    }
    // A drive that reads correctly can be checked again, even after an earlier failed read (a
    // drive held by other software at start-up, or one slow answer) switched the button off.
    controls.EnableControl(IDC_CHECK_SETTING, true);
    MirrorOptimalSpeed(controls, page);
    MirrorAudioMode(controls, page);
    if (!page.FactoryDefaultOffered()) {
        controls.EnableControl(IDC_RESTORE_DEFAULT, false);
    }
}

void ShowAudioModeDescription(DialogControls& controls, AudioMode mode) {
    const int text = mode == AudioMode::kLowSpeedPlayback ? IDS_LOW_SPEED_DESCRIPTION
                                                          : IDS_HIGH_SPEED_DESCRIPTION;
    controls.SetControlText(IDC_AUDIO_DESCRIPTION, controls.LoadText(text));
}
