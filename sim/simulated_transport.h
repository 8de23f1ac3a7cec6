// The pass-through transport of the simulated drives: drives placed at device paths ("E:" for a
// drive letter, "/dev/sg1" for a Linux node, or any name a test chooses), answering the
// pass-through record as the operating system would. It checks the record as the system does and
// refuses (kRejected, nothing reaches the drive) a record whose Length is not the size of the
// platform's header, a CdbLength of 0 or above 16, a DataIn above 2, a transfer without a buffer,
// or a sense area that does not lie inside the record. On return it has written ScsiStatus, the
// sense bytes (up to SenseInfoLength of them, at SenseInfoOffset, only when the status is not
// GOOD) and, as the system does, the sense and data byte counts actually moved into
// SenseInfoLength and DataTransferLength; the result carries the same counts. A command that
// outlasts its TimeOutValue fails as the system's time-out (kOsError, ETIMEDOUT; on Windows
// ERROR_SEM_TIMEOUT), and a replayed drive's recorded system failures fail as recorded.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/scsi_transport.h"
#include "sim/simulated_drive.h"

class SimulatedTransport : public ScsiTransport {
public:
    // Places a drive at a device path, replacing any drive there; open handles of that path then
    // reach the new drive. The letter forms name "X:" (C to Z, either case).
    SimulatedDrive& AddDrive(const std::string& devicePath,
                             const SimulatedDriveConfig& config = {});
    SimulatedDrive& AddDrive(char letter, const SimulatedDriveConfig& config = {});
    // Makes the drive at existingPath reachable at newPath too, as a Linux drive is through its
    // block node and its SCSI generic node (one that appears when the sg module is loaded).
    void AddNode(const std::string& existingPath, const std::string& newPath);
    void RemoveDrive(const std::string& devicePath);
    void RemoveDrive(char letter);
    SimulatedDrive* Drive(const std::string& devicePath);  // nullptr when the path has none
    SimulatedDrive* Drive(char letter);
    // While set, Open of that path fails with the system error number (EACCES, ...).
    void RefuseOpen(const std::string& devicePath, int osError);
    void RefuseOpen(char letter, bool refuse);  // refused with error 2 (not found)
    // While set, the commands sent through that path with the opcode (-1: every command) fail in
    // the system with the error number, without reaching the drive: EPERM as the kernel's command
    // filter refuses one, ENODEV or EIO as for a drive that has gone away. 0 lifts it.
    void FailCommands(const std::string& devicePath, int opcode, int osError);
    int OpenHandleCount() const;

    OpenResult Open(const std::string& devicePath) override;
    void Close(DeviceHandle handle) override;
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override;

private:
    std::shared_ptr<SimulatedDrive> DriveForHandle(DeviceHandle handle) const;
    int SystemFailureOf(DeviceHandle handle, uint8_t opcode) const;

    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<SimulatedDrive>> drives_;
    std::map<DeviceHandle, std::string> handles_;
    std::map<std::string, int> refused_;
    std::map<std::string, std::pair<int, int>> failing_;  // path: opcode (or -1), error number
    DeviceHandle nextHandle_ = 0x100;
};
