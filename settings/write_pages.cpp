#include "settings/write_pages.h"

#include <cstring>

#include "settings/settings_page.h"

namespace {

constexpr uint8_t kOptimalSpeedPageKind = 9;
constexpr uint8_t kAudioModePageKind = 2;
constexpr uint8_t kAudioModePageSubkind = 0x80;

uint8_t AsFlag(uint8_t byte) {
    return byte == 1 ? 1 : 0;
}

}  // namespace

WritePage OptimalSpeedWritePage(const SettingChoice& choice) {
    WritePage page;
    page.kind = kOptimalSpeedPageKind;
    page.value = AsFlag(choice.value);
    page.save = AsFlag(choice.save);
    return page;
}

WritePage AudioModeWritePage(const SettingChoice& choice) {
    WritePage page;
    page.kind = kAudioModePageKind;
    page.subkind = kAudioModePageSubkind;
    page.value = AsFlag(choice.value);
    page.save = AsFlag(choice.save);
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
