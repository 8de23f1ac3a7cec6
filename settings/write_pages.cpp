#include "settings/write_pages.h"

#include <cstring>

#include "res/resource_ids.h"
#include "settings/settings_page.h"

namespace {

constexpr uint8_t kOptimalSpeedPageKind = 9;
constexpr uint8_t kAudioModePageKind = 2;
constexpr uint8_t kAudioModePageSubkind = 0x80;

uint8_t CheckedAsByte(const DialogControls& controls, int id) {
    return controls.GetCheck(id) == 1 ? 1 : 0;
}

}  // namespace

WritePage OptimalSpeedWritePage(const DialogControls& controls) {
    WritePage page;
    page.kind = kOptimalSpeedPageKind;
    page.value = CheckedAsByte(controls, IDC_SPEED_ON);
    page.save = CheckedAsByte(controls, IDC_SAVE_SPEED);
    return page;
}

WritePage AudioModeWritePage(const DialogControls& controls) {
    WritePage page;
    page.kind = kAudioModePageKind;
    page.subkind = kAudioModePageSubkind;
    const bool high = controls.GetCheck(IDC_AUDIO_HIGH) == 1;
    page.value = !high && controls.GetCheck(IDC_AUDIO_LOW) == 1 ? 1 : 0;
    page.save = CheckedAsByte(controls, IDC_SAVE_AUDIO);
    return page;
}

int32_t SendWritePage(DriveState& state, CommandRunner& runner, const DriveLock& held,
                      const WritePage& page) {
    // Without buffers the catalogue refuses the command, so there is nothing to fill.
    if (uint8_t* out = state.buffers.DataOutBuffer()) {
        std::memset(out, 0, kWritePageSize);
        out[0] = page.kind;
        out[1] = page.subkind;
        out[2] = page.value;
        out[3] = page.save;
    }

    CommandBlock& block = state.block;
    block.code = kCodeWriteBuffer;
    block.timeout = kSettingsTimeoutSeconds;
    block.bufferId = kWritePageBufferId;
    block.transferLength = kWritePageSize;
    return runner.Run(held);
}
