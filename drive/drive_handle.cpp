#include "drive/drive_handle.h"

DeviceHandle OpenDrive(ScsiTransport& transport, char driveLetter) {
    return transport.Open(driveLetter);
}

int CloseDrive(ScsiTransport& transport, DeviceHandle& handle) {
    if (handle != kNoDevice) {
        transport.Close(handle);
        handle = kNoDevice;
    }
    return 1;
}
