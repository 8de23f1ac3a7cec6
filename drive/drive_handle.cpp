#include "drive/drive_handle.h"

DeviceHandle OpenDrive(DriveState& state, const std::string& devicePath) {
    const OpenResult opened = state.transport.Open(devicePath);
    state.driveHandle = opened.handle;
    state.openError = opened.handle == kNoDevice ? opened.osError : 0;
    return state.driveHandle;
}

int CloseDrive(ScsiTransport& transport, DeviceHandle& handle) {
    if (handle != kNoDevice) {
        transport.Close(handle);
        handle = kNoDevice;
    }
    return 1;
}
