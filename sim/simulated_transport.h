// The pass-through transport of the simulated drives: drives placed at letters, answering the
// pass-through record as the operating system would. It checks the record as the system does
// and refuses (Execute returns false, nothing reaches the drive) a record whose Length is not
// the size of the platform's header, a CdbLength of 0 or above 16, a DataIn above 2, a transfer
// without a buffer, or a sense area that does not lie inside the record. On return it has written
// ScsiStatus, the sense bytes (up to SenseInfoLength of them, at SenseInfoOffset, only when the
// status is not GOOD) and, as the system does, the sense and data byte counts actually moved into
// SenseInfoLength and DataTransferLength.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/scsi_transport.h"
#include "sim/simulated_drive.h"

class SimulatedTransport : public ScsiTransport {
public:
    // Places a drive at a letter (C to Z, either case), replacing any drive there; open handles
    // of that letter then reach the new drive.
    SimulatedDrive& AddDrive(char letter, const SimulatedDriveConfig& config = {});
    void RemoveDrive(char letter);
    SimulatedDrive* Drive(char letter);         // nullptr when the letter has none
    void RefuseOpen(char letter, bool refuse);  // Open of that letter fails while set
    int OpenHandleCount() const;

    DeviceHandle Open(char driveLetter) override;
    void Close(DeviceHandle handle) override;
    bool Execute(DeviceHandle handle, PassThroughRequest& request) override;

private:
    std::shared_ptr<SimulatedDrive> DriveForHandle(DeviceHandle handle) const;

    mutable std::mutex mutex_;
    std::map<char, std::shared_ptr<SimulatedDrive>> drives_;
    std::map<DeviceHandle, char> handles_;
    std::set<char> refused_;
    DeviceHandle nextHandle_ = 0x100;
};
