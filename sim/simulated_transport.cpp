#include "sim/simulated_transport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kNotFound = 2;  // ENOENT and ERROR_FILE_NOT_FOUND alike

// "X:" for a letter C to Z (either case); "" for anything else, which names no drive.
std::string LetterPath(char letter) {
    if (letter >= 'a' && letter <= 'z') {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    return (letter >= 'C' && letter <= 'Z') ? std::string{letter, ':'} : std::string();
}

// A drive letter path in either case names the same drive, as on Windows.
std::string Normalized(const std::string& devicePath) {
    return devicePath.size() == 2 && devicePath[1] == ':' ? LetterPath(devicePath[0]) : devicePath;
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

SimulatedDrive& SimulatedTransport::AddDrive(const std::string& devicePath,
                                             const SimulatedDriveConfig& config) {
    auto drive = std::make_shared<SimulatedDrive>(config);
    std::lock_guard<std::mutex> lock(mutex_);
    drives_[Normalized(devicePath)] = drive;
    return *drive;
}

SimulatedDrive& SimulatedTransport::AddDrive(char letter, const SimulatedDriveConfig& config) {
    return AddDrive(LetterPath(letter), config);
}

void SimulatedTransport::AddNode(const std::string& existingPath, const std::string& newPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = drives_.find(Normalized(existingPath));
    if (found != drives_.end()) {
        drives_[Normalized(newPath)] = found->second;
    }
}

void SimulatedTransport::RemoveDrive(const std::string& devicePath) {
    std::lock_guard<std::mutex> lock(mutex_);
    drives_.erase(Normalized(devicePath));
}

void SimulatedTransport::RemoveDrive(char letter) {
    RemoveDrive(LetterPath(letter));
}

SimulatedDrive* SimulatedTransport::Drive(const std::string& devicePath) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = drives_.find(Normalized(devicePath));
    return found == drives_.end() ? nullptr : found->second.get();
}

SimulatedDrive* SimulatedTransport::Drive(char letter) {
    return Drive(LetterPath(letter));
}

void SimulatedTransport::RefuseOpen(const std::string& devicePath, int osError) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (osError != 0) {
        refused_[Normalized(devicePath)] = osError;
    } else {
        refused_.erase(Normalized(devicePath));
    }
}

void SimulatedTransport::RefuseOpen(char letter, bool refuse) {
    RefuseOpen(LetterPath(letter), refuse ? kNotFound : 0);
}

void SimulatedTransport::FailCommands(const std::string& devicePath, int opcode, int osError) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (osError != 0) {
        failing_[Normalized(devicePath)] = {opcode, osError};
    } else {
        failing_.erase(Normalized(devicePath));
    }
}

int SimulatedTransport::OpenHandleCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(handles_.size());
}

OpenResult SimulatedTransport::Open(const std::string& devicePath) {
    const std::string path = Normalized(devicePath);
    std::lock_guard<std::mutex> lock(mutex_);
    OpenResult result;
    const auto refusal = refused_.find(path);
    if (refusal != refused_.end()) {
        result.osError = refusal->second;
    } else if (path.empty() || drives_.count(path) == 0) {
        result.osError = kNotFound;
    } else {
        result.handle = nextHandle_++;
        handles_[result.handle] = path;
    }
    return result;
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

// The system error a command through this handle meets before it could reach the drive; 0 when
// none.
int SimulatedTransport::SystemFailureOf(DeviceHandle handle, uint8_t opcode) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto open = handles_.find(handle);
    if (open == handles_.end()) {
        return 0;
    }
    auto failing = failing_.find(open->second);
    if (failing == failing_.end()) {
        return 0;
    }
    const auto [failingOpcode, error] = failing->second;
    return failingOpcode < 0 || failingOpcode == opcode ? error : 0;
}

TransportResult SimulatedTransport::Execute(DeviceHandle handle, PassThroughRequest& request) {
    ScsiPassThroughDirect& header = request.header;
    TransportResult result;
    if (const int error = SystemFailureOf(handle, header.Cdb[0])) {
        const bool refused = error == EPERM || error == EACCES;
        result.outcome = refused ? TransportOutcome::kRejected : TransportOutcome::kOsError;
        result.osError = error;
        return result;
    }
    std::shared_ptr<SimulatedDrive> drive = DriveForHandle(handle);
    if (drive == nullptr || !RecordIsAcceptable(header)) {
        result.outcome = TransportOutcome::kRejected;
        return result;
    }
    ScsiCommand command;
    command.cdb = header.Cdb;
    command.cdbLength = header.CdbLength;
    command.dataIn = header.DataIn;
    command.data = static_cast<uint8_t*>(header.DataBuffer);
    command.transferLength = header.DataTransferLength;
    command.timeoutSeconds = header.TimeOutValue;

    const DriveResponse response = drive->Respond(command);
    if (response.systemFailed) {
        result.outcome =
            response.rejected ? TransportOutcome::kRejected : TransportOutcome::kOsError;
        result.osError = response.systemError;
        return result;
    }
    header.ScsiStatus = response.status;
    if (header.ScsiStatus != kScsiStatusGood) {
        // A replayed CHECK CONDITION may carry no sense bytes at all.
        const size_t count = std::min<size_t>(header.SenseInfoLength, response.sense.size());
        if (count > 0) {
            std::memcpy(reinterpret_cast<uint8_t*>(&request) + header.SenseInfoOffset,
                        response.sense.data(), count);
        }
        header.SenseInfoLength = static_cast<uint8_t>(count);
    } else {
        header.SenseInfoLength = 0;
    }
    result.senseLength = header.SenseInfoLength;
    if (header.DataIn == kScsiDataIn) {
        header.DataTransferLength = response.dataInBytes;
        result.bytesTransferred = response.dataInBytes;
    }
    return result;
}
