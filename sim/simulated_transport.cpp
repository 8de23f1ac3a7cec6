#include "sim/simulated_transport.h"

#include <algorithm>
#include <cstring>

namespace {

// The letter in upper case, or 0 when it is not C to Z.
char NormalizeLetter(char letter) {
    if (letter >= 'a' && letter <= 'z') {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    return (letter >= 'C' && letter <= 'Z') ? letter : 0;
}

bool RecordIsAcceptable(const ScsiPassThroughDirect& header) {
    if (header.Length != sizeof(ScsiPassThroughDirect)) {
        return false;
    }
    if (header.CdbLength == 0 || header.CdbLength > sizeof(header.Cdb) || header.DataIn > 2) {
        return false;
    }
    if (header.DataTransferLength > 0 && header.DataBuffer == nullptr) {
        return false;
    }
    return header.SenseInfoLength == 0 ||
           (header.SenseInfoOffset >= sizeof(ScsiPassThroughDirect) &&
            header.SenseInfoOffset + header.SenseInfoLength <= sizeof(PassThroughRequest));
}

}  // namespace

SimulatedDrive& SimulatedTransport::AddDrive(char letter, const SimulatedDriveConfig& config) {
    auto drive = std::make_shared<SimulatedDrive>(config);
    std::lock_guard<std::mutex> lock(mutex_);
    drives_[NormalizeLetter(letter)] = drive;
    return *drive;
}

void SimulatedTransport::RemoveDrive(char letter) {
    std::lock_guard<std::mutex> lock(mutex_);
    drives_.erase(NormalizeLetter(letter));
}

SimulatedDrive* SimulatedTransport::Drive(char letter) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = drives_.find(NormalizeLetter(letter));
    return found == drives_.end() ? nullptr : found->second.get();
}

void SimulatedTransport::RefuseOpen(char letter, bool refuse) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (refuse) {
        refused_.insert(NormalizeLetter(letter));
    } else {
        refused_.erase(NormalizeLetter(letter));
    }
}

int SimulatedTransport::OpenHandleCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(handles_.size());
}

DeviceHandle SimulatedTransport::Open(char driveLetter) {
    const char letter = NormalizeLetter(driveLetter);
    std::lock_guard<std::mutex> lock(mutex_);
    if (letter == 0 || drives_.count(letter) == 0 || refused_.count(letter) != 0) {
        return kNoDevice;
    }
    const DeviceHandle handle = nextHandle_++;
    handles_[handle] = letter;
    return handle;
}

void SimulatedTransport::Close(DeviceHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.erase(handle);
}

std::shared_ptr<SimulatedDrive> SimulatedTransport::DriveForHandle(DeviceHandle handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto open = handles_.find(handle);
    if (open == handles_.end()) {
        return nullptr;
    }
    auto drive = drives_.find(open->second);
    return drive == drives_.end() ? nullptr : drive->second;
}

bool SimulatedTransport::Execute(DeviceHandle handle, PassThroughRequest& request) {
    ScsiPassThroughDirect& header = request.header;
    std::shared_ptr<SimulatedDrive> drive = DriveForHandle(handle);
    if (drive == nullptr || !RecordIsAcceptable(header)) {
        return false;
    }
    ScsiCommand command;
    command.cdb = header.Cdb;
    command.cdbLength = header.CdbLength;
    command.dataIn = header.DataIn;
    command.data = static_cast<uint8_t*>(header.DataBuffer);
    command.transferLength = header.DataTransferLength;
    command.timeoutSeconds = header.TimeOutValue;

    uint8_t sense[18] = {};
    uint32_t dataInBytes = 0;
    header.ScsiStatus = drive->Execute(command, sense, &dataInBytes);
    if (header.ScsiStatus != kScsiStatusGood) {
        const uint8_t count = std::min<uint8_t>(header.SenseInfoLength, sizeof(sense));
        std::memcpy(reinterpret_cast<uint8_t*>(&request) + header.SenseInfoOffset, sense, count);
        header.SenseInfoLength = count;
    } else {
        header.SenseInfoLength = 0;
    }
    if (header.DataIn == kScsiDataIn) {
        header.DataTransferLength = dataInBytes;
    }
    return true;
}
