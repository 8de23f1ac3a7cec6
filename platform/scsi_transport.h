// The operating system's SCSI pass-through. One backend per platform: Windows (DeviceIoControl
// on drive letters), Linux (SG_IO on the nodes sysfs lists) and the simulated drives of sim/.
//
// Every call says how it ended, as sg3_utils' pass-through layer does: a category and the
// system's own error number, never a bare bool, so that the messages above can tell "permission
// denied" from "no such device" from "the drive refused the command".
#pragma once

#include <cstdint>
#include <string>

#include "platform/drive_candidates.h"
#include "platform/pass_through_record.h"

using DeviceHandle = intptr_t;
constexpr DeviceHandle kNoDevice = -1;

enum class TransportOutcome : int32_t {
    kSent = 0,      // the command reached the drive: status and sense are the drive's answer
    kRejected = 1,  // refused without being sent: no drive open, a malformed record, no right
    kOsError = 2,   // the system tried and failed (device gone, I/O error, time-out)
};

struct TransportResult {
    TransportOutcome outcome = TransportOutcome::kSent;
    int osError = 0;                // the system's number (errno, GetLastError()); 0 when none
    uint32_t bytesTransferred = 0;  // data-in commands: bytes that moved into the buffer
    uint32_t senseLength = 0;       // sense bytes the system wrote into the record

    bool Sent() const { return outcome == TransportOutcome::kSent; }
};

struct OpenResult {
    DeviceHandle handle = kNoDevice;
    int osError = 0;  // why the open failed (errno, GetLastError()); 0 when it did not fail
};

// What the system can tell of whether an open node still reaches the device that was listed.
enum class NodeCheck {
    kNothingToCheck,  // no identity was recorded, or the system keeps none beyond the drive's
                      // answers
    kSameDevice,      // the node's file type, device number and SCSI address are those listed
    kOtherDevice,     // another device answers there now, or the system cannot say which it is
};

class ScsiTransport {
public:
    virtual ~ScsiTransport() = default;

    // Opens the device for reading and writing. devicePath is the platform's name of it: "E:" for
    // a drive letter on Windows, a node such as "/dev/sg1" on Linux.
    virtual OpenResult Open(const std::string& devicePath) = 0;
    virtual void Close(DeviceHandle handle) = 0;

    // Whether the open handle reaches the device that was listed as `listed` (Linux: the node's
    // file type and device number from the descriptor, and the SCSI address sysfs gives that
    // number). Sends nothing to the drive. Systems without such an identity (Windows, the
    // simulated drives) keep the default: kNothingToCheck, the model re-read decides.
    virtual NodeCheck CheckNode(DeviceHandle /*handle*/, const DriveCandidate& /*listed*/) {
        return NodeCheck::kNothingToCheck;
    }

    // Sends the command the record describes and waits for it. When the result says kSent the
    // record holds the SCSI status and any sense data; otherwise the record's status is no answer.
    virtual TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) = 0;
};
