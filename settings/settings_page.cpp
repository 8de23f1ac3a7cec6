#include "settings/settings_page.h"

#include <cstring>

int ReadSettingsPage(DriveState& state, CommandRunner& runner, const DriveLock& held,
                     SettingsPage* page) {
    CommandBlock& block = state.block;
    block.code = kCodeReadBuffer;
    block.timeout = kSettingsTimeoutSeconds;
    block.bufferId = kSettingsBufferId;
    block.bufferMode = kSettingsPageMode;
    block.bufferOffset = 0;
    block.transferLength = kSettingsPageSize;
    // Cleared first, as the INQUIRY and model areas are: a system that says more bytes came than
    // did can then never hand back an earlier reply's bytes as the drive's settings.
    if (uint8_t* reply = state.buffers.DataInBuffer()) {
        std::memset(reply, 0, kSettingsPageSize);
    }
    if (runner.RunRead(held) != kCommandCompleted || !state.buffers.IsAllocated()) {
        return 0;
    }
    // A reply that stops short of the last setting byte would leave an earlier command's bytes
    // to be read as the drive's values: such a read counts as failed.
    if (block.transport.bytesTransferred < kSettingsReplyNeeded) {
        return 0;
    }
    std::memcpy(page->bytes.data(), state.buffers.DataInBuffer(), kSettingsPageSize);
    return 1;
}
