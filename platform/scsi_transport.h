// The operating system's SCSI pass-through, addressed by drive letter. One backend per platform:
// Windows (DeviceIoControl), Linux (SG_IO on /dev/srN) and the simulated drive of sim/.
#pragma once

#include <cstdint>

#include "platform/pass_through_record.h"

using DeviceHandle = intptr_t;
constexpr DeviceHandle kNoDevice = -1;

class ScsiTransport {
public:
    virtual ~ScsiTransport() = default;

    // Opens the drive with this letter (C to Z) for reading and writing; kNoDevice on refusal.
    virtual DeviceHandle Open(char driveLetter) = 0;
    virtual void Close(DeviceHandle handle) = 0;

    // Sends the command the record describes and waits for it. On return the record holds the
    // SCSI status, any sense data and, in DataTransferLength, the number of bytes that moved.
    // Returns false when the system rejected the call without running the command (bad handle,
    // failed ioctl); the record's status is then meaningless.
    virtual bool Execute(DeviceHandle handle, PassThroughRequest& request) = 0;
};
