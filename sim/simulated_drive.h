// An in-process model of the maker's CD-R drive: the vendor identification buffer, the settings
// page and ready byte, the two write pages, INQUIRY and the disc-status commands, with disc
// states and injectable faults. It records every command it receives. Thread-safe: commands
// arrive from worker and watcher threads while a test changes the drive's state.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

enum class DiscState { kNone, kTrayOpen, kPresent, kBecomingReady };

struct SenseTriple {
    uint8_t key = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
};

// One command as the drive received it.
struct ReceivedCommand {
    std::array<uint8_t, 16> cdb{};  // all 16 bytes of the record's CDB field
    uint8_t cdbLength = 0;          // the length declared to the system
    uint8_t dataIn = 0;             // 0 out, 1 in, 2 unspecified
    uint32_t transferLength = 0;
    uint32_t timeoutSeconds = 0;
    std::vector<uint8_t> dataOut;  // the bytes written, for data-out commands
    uint8_t scsiStatus = 0;        // what the drive answered
    SenseTriple sense;
};

struct SimulatedDriveConfig {
    std::string modelText = "7315KT52    ";  // identification text, placed at bytes 16.. of F1h
    std::string vendor = "VELMORA ";        // INQUIRY bytes 8..15
    std::string product = "CD-R DRIVE      ";  // INQUIRY bytes 16..31
    std::string revision = "1.00";          // INQUIRY bytes 32..35
    bool answersInquiry = true;             // false: INQUIRY returns GOOD with no data
    bool answersModelBuffer = true;         // false: READ BUFFER F1h fails (ILLEGAL REQUEST)
    bool supportsOptimalSpeed = true;       // settings page byte 18
    bool supportsAudioMode = true;          // settings page byte 21
    uint8_t optimalSpeed = 0;               // current and saved (bytes 19, 20)
    uint8_t audioMode = 0;                  // current and saved (bytes 22, 23)
    DiscState disc = DiscState::kNone;
};

// A command as a transport hands it over.
struct ScsiCommand {
    const uint8_t* cdb = nullptr;  // 16 bytes
    uint8_t cdbLength = 0;
    uint8_t dataIn = 0;            // 0 out, 1 in, 2 unspecified
    uint8_t* data = nullptr;       // transfer buffer
    uint32_t transferLength = 0;
    uint32_t timeoutSeconds = 0;
};

class SimulatedDrive {
public:
    explicit SimulatedDrive(const SimulatedDriveConfig& config = {});

    // Answers one command, exactly as the transport received it. Returns the SCSI status
    // (0 GOOD, 2 CHECK CONDITION); fills sense (18 bytes fixed format) on CHECK CONDITION.
    // Sleeps for the configured latency first, without holding the drive's lock.
    uint8_t Execute(const ScsiCommand& command, uint8_t* sense18);

    // State.
    void SetDiscState(DiscState state);
    DiscState GetDiscState() const;
    // The ready byte (byte 24 of buffer F4h read with mode 0) follows the disc state: 1 while no
    // disc is in, 0 otherwise, unless forced.
    void ForceReadyByte(int value);  // -1: follow the disc state again
    std::array<uint8_t, 256> SettingsPage() const;
    void SetSettingsByte(int index, uint8_t value);

    // Faults.
    void FailAlways(uint8_t opcode, SenseTriple sense);
    void FailTimes(uint8_t opcode, int count, SenseTriple sense);    // the next count calls
    void FailOnCall(uint8_t opcode, int callNumber, SenseTriple sense);  // 1-based, one call
    void ClearFaults();
    void SetWritesIgnored(bool ignored);    // WRITE BUFFER answers GOOD and changes nothing
    void SetSavedBytesStuck(bool stuck);    // bytes 20 and 23 never change
    void SetLatencyMicroseconds(uint32_t microseconds);

    // Observation.
    std::vector<ReceivedCommand> Received() const;
    void ClearReceived();
    // Called for every command, on the thread that sends it, before it is answered.
    void SetObserver(std::function<void(const ReceivedCommand&)> observer);
};
