// An in-process model of the maker's CD-R drive: the vendor identification buffer, the settings
// page and ready byte, the two write pages, INQUIRY and the disc-status commands, with disc
// states and injectable faults. It records every command it receives. Thread-safe: commands
// arrive from worker and watcher threads while a test changes the drive's state.
//
// What the model answers, where a real drive's behaviour had to be chosen:
// - Disc states and the sense of TEST UNIT READY, READ TOC, READ DISC INFORMATION and READ TRACK
//   INFORMATION: no disc 02/3A/01 (medium not present, tray closed), tray open 02/3A/02,
//   becoming ready 02/04/01; with a disc present they answer GOOD with a one-track data disc.
// - GET EVENT STATUS NOTIFICATION answers in every state (8 bytes, media class); byte 5 bit 1 is
//   set while a disc is present or becoming ready, bit 0 while the tray is open. With
//   eventRequiresPolled the drive refuses a request whose Polled bit is clear (05/24/00), as many
//   real drives do.
// - START STOP UNIT: while becoming ready 02/04/01; otherwise GOOD. Eject (LoEj 1, Start 0) opens
//   the tray, taking the disc with it; load (LoEj 1, Start 1) closes it again.
// - INQUIRY: 96 bytes of standard data: device type 05h, removable, vendor at 8..15, product at
//   16..31, revision at 32..35, config.inquiryTail from 36. EVPD requests: 05/24/00.
// - READ BUFFER F1h mode 2: 48 bytes, zero except the identification text at 16..47 (cut to 32
//   bytes, zero-padded). F4h mode 1: the 256-byte settings page. F4h mode 0: the same 256 bytes
//   with byte 24 replaced by the ready byte. Any other buffer, mode or a non-zero offset: 05/24/00.
// - WRITE BUFFER to FAh mode 1 offset 0 with at least 4 bytes of parameter list (else 05/24/00, or
//   05/1A/00 when fewer than 4 bytes arrive). Page byte 0 = 9 with byte 1 = 0: byte 19 := byte 2,
//   and byte 20 too when byte 3 is 1. Byte 0 = 2 with byte 1 = 80h: byte 22 := byte 2, and byte 23
//   too when byte 3 is 1. A page for a setting whose supported byte (18 or 21) is not 1, or any
//   other page: 05/26/00 (invalid field in parameter list). The audio page while the ready byte is
//   not 1: 05/2C/00 (command sequence error), nothing changes.
// - REQUEST SENSE returns the sense of the last command that failed (then clears it), or none.
// - Any other opcode: 05/20/00.
// - Replies are copied up to the smallest of the reply size, the CDB's allocation length and the
//   transfer length; the bytes of the buffer beyond the reply are left as they were.
// - Through Respond (the simulated transport), a command whose answer takes longer than its
//   time-out is given up by the system after the time-out, as a real pass-through does: the call
//   fails with the system's time-out error and no answer.
// - A replayed drive (ReplayAnswers: a diagnostic report's recording, sim/replayed_report.h)
//   answers each recorded command as recorded, in the recorded order, the last answer of a
//   command standing for every later one; the recorded reads of the model buffer, INQUIRY, the
//   settings page and the ready byte that were answered GOOD with data are answered by the model,
//   which the longest of them configured (modelBuffer, inquiryData, settingsPage,
//   forcedReadyByte). WRITE BUFFER
//   and START STOP UNIT, which no recording holds, are answered by the model; any other command
//   the recording does not cover: CHECK CONDITION 05/20/00.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "sim/drive_fault.h"
#include "sim/recorded_answer.h"
#include "sim/scsi_answer.h"

enum class DiscState { kNone, kTrayOpen, kPresent, kBecomingReady };

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
    uint32_t dataInBytes = 0;  // reply bytes delivered, for data-in commands
};

struct SimulatedDriveConfig {
    std::string modelText = "7315KT52    ";    // identification text, placed at bytes 16.. of F1h
    std::string vendor = "VELMORA ";           // INQUIRY bytes 8..15
    std::string product = "CD-R DRIVE      ";  // INQUIRY bytes 16..31
    std::string revision = "1.00";             // INQUIRY bytes 32..35
    std::string inquiryTail;                   // INQUIRY bytes 36.. (vendor specific), up to 60
    bool answersInquiry = true;                // false: INQUIRY returns GOOD with no data
    bool answersModelBuffer = true;            // false: READ BUFFER F1h fails (ILLEGAL REQUEST)
    bool supportsOptimalSpeed = true;          // settings page byte 18
    bool supportsAudioMode = true;             // settings page byte 21
    uint8_t optimalSpeed = 0;                  // current and saved (bytes 19, 20)
    uint8_t audioMode = 0;                     // current and saved (bytes 22, 23)
    int optimalSpeedSaved = -1;                // byte 20 when it differs; -1: as optimalSpeed
    int audioModeSaved = -1;                   // byte 23 when it differs; -1: as audioMode
    DiscState disc = DiscState::kNone;
    int forcedReadyByte = -1;  // -1: the ready byte follows the disc state
    bool eventRequiresPolled = false;
    // The bytes a drive answered, where a recording gives them: not empty, they replace what the
    // fields above would build. The model buffer (F1h) and the INQUIRY data as they came, however
    // long; the settings page's first bytes (the rest 0), supported and current bytes included.
    std::vector<uint8_t> modelBuffer;
    std::vector<uint8_t> inquiryData;
    std::vector<uint8_t> settingsPage;
};

// How the system and the drive answered one command (SimulatedDrive::Respond).
struct DriveResponse {
    bool systemFailed = false;  // the system failed the call, and there is no answer
    bool rejected = false;      // refused before it was sent (else the system tried and failed)
    int systemError = 0;        // the system's number for it
    uint8_t status = 0;
    std::vector<uint8_t> sense;  // status not GOOD: fixed format (18 bytes), or as recorded
    uint32_t dataInBytes = 0;    // reply bytes copied into the command's buffer
};

// A command as a transport hands it over.
struct ScsiCommand {
    const uint8_t* cdb = nullptr;  // 16 bytes
    uint8_t cdbLength = 0;
    uint8_t dataIn = 0;       // 0 out, 1 in, 2 unspecified
    uint8_t* data = nullptr;  // transfer buffer
    uint32_t transferLength = 0;
    uint32_t timeoutSeconds = 0;
};

class SimulatedDrive {
public:
    explicit SimulatedDrive(const SimulatedDriveConfig& config = {});
    ~SimulatedDrive();  // commands held by PauseCommands must have been resumed
    SimulatedDrive(const SimulatedDrive&) = delete;
    SimulatedDrive& operator=(const SimulatedDrive&) = delete;

    // Answers one command, exactly as the transport received it. Returns the SCSI status
    // (0 GOOD, 2 CHECK CONDITION, or a fault's status); fills sense18 (18 bytes fixed format)
    // when the status is not GOOD and sense18 is not null. dataInBytes, when not null, receives
    // the number of reply bytes copied into command.data. Sleeps for the configured latency and
    // waits while commands are paused first, without holding the drive's lock.
    uint8_t Execute(const ScsiCommand& command, uint8_t* sense18, uint32_t* dataInBytes = nullptr);
    // The same as the system's pass-through sees it: also the time-out (a command that would take
    // longer than command.timeoutSeconds, when that is not 0, fails as the system's time-out after
    // it), a replayed recording's system failures and its sense bytes in their own format.
    DriveResponse Respond(const ScsiCommand& command);

    // Makes this a replayed drive (see above): the recorded answers, in the order recorded.
    void ReplayAnswers(const std::vector<RecordedAnswer>& answers);

    // State.
    void SetDiscState(DiscState state);
    DiscState GetDiscState() const;
    // The ready byte (byte 24 of buffer F4h read with mode 0) follows the disc state: 1 while no
    // disc is in (no disc or tray open), 0 otherwise, unless forced.
    void ForceReadyByte(int value);  // -1: follow the disc state again
    uint8_t ReadyByte() const;
    std::array<uint8_t, 256> SettingsPage() const;
    void SetSettingsByte(int index, uint8_t value);  // index outside 0..255 is ignored

    // Faults (sim/drive_fault.h). A command that a fault selects is answered as the fault says and
    // has no other effect. Call numbers count the selected commands from the moment the fault is
    // added; the first one after it is call 1.
    void AddFault(const DriveFault& fault);
    void ClearFaults();
    void SetWritesIgnored(bool ignored);  // WRITE BUFFER answers GOOD and changes nothing
    void SetSavedBytesStuck(bool stuck);  // bytes 20 and 23 never change
    void SetLatencyMicroseconds(uint32_t microseconds);                 // every command
    void SetCommandLatency(CommandMatch match, uint32_t microseconds);  // added for selected ones
    // While paused, every command waits on arrival (outside the lock) until resumed: lets a test
    // hold a command in flight, for instance to outlast a caller's bounded wait.
    void PauseCommands();
    void ResumeCommands();
    int PausedCommandCount() const;  // commands waiting now

    // Observation.
    std::vector<ReceivedCommand> Received() const;
    size_t ReceivedCount() const;
    void ClearReceived();
    // Keeps only the latest `limit` commands (0: all of them, the default), so that a drive in use
    // for hours, as the demo's are, does not grow without bound.
    void SetRecordLimit(size_t limit);
    // Called for every command on the thread that sent it, after the drive has answered and
    // before Execute returns, without the drive's lock held (it may call back into the drive).
    void SetObserver(std::function<void(const ReceivedCommand&)> observer);

private:
    struct ActiveFault {
        DriveFault fault;
        int calls = 0;  // selected calls seen so far
    };
    struct Reply {
        uint8_t status = kScsiStatusGood;
        SenseTriple sense;
        std::vector<uint8_t> data;
        uint32_t allocationLength = 0;
        bool senseRecorded = false;  // a replayed answer: recordedSense is the sense as it came
        std::vector<uint8_t> recordedSense;
    };
    struct ReplaySequence {
        std::vector<RecordedAnswer> answers;
        size_t next = 0;
    };

    DriveResponse AnswerCommand(const ScsiCommand& command, bool withTimeout);
    bool TakeRecordedAnswer(const ReceivedCommand& received, RecordedAnswer* answer);
    // Sleeps for the answer's latency; false when the time-out (seconds, 0 for none) ran out
    // first, after sleeping that long.
    bool WaitBeforeAnswering(const uint8_t* cdb, uint32_t extraMicroseconds,
                             uint32_t timeoutSeconds);
    const DriveFault* FiringFault(const uint8_t* cdb);
    Reply AnswerOrFault(const ScsiCommand& command, const std::vector<uint8_t>& dataOut,
                        const RecordedAnswer* recorded);
    Reply Replayed(const ScsiCommand& command, const std::vector<uint8_t>& dataOut,
                   const RecordedAnswer* recorded);
    void Record(const ReceivedCommand& record);
    Reply Answer(const ScsiCommand& command, const std::vector<uint8_t>& dataOut);
    Reply AnswerRequestSense(const uint8_t* cdb);
    Reply AnswerInquiry(const uint8_t* cdb) const;
    Reply AnswerStartStopUnit(const uint8_t* cdb);
    Reply AnswerReadBuffer(const uint8_t* cdb) const;
    Reply AnswerWriteBuffer(const uint8_t* cdb, const std::vector<uint8_t>& dataOut);
    Reply AnswerReadToc(const uint8_t* cdb) const;
    Reply AnswerEventStatus(const uint8_t* cdb) const;
    Reply AnswerDiscInformation(const uint8_t* cdb) const;
    Reply AnswerTrackInformation(const uint8_t* cdb) const;
    bool DiscNotReady(Reply& reply) const;  // fills the sense of a state without a usable disc
    uint8_t ReadyByteLocked() const;

    mutable std::mutex mutex_;
    std::condition_variable resumed_;
    SimulatedDriveConfig config_;
    std::array<uint8_t, 256> page_{};
    DiscState disc_;
    bool discOnTray_ = false;  // an ejected disc comes back on load
    int forcedReadyByte_;
    std::vector<ActiveFault> faults_;
    bool writesIgnored_ = false;
    bool savedBytesStuck_ = false;
    uint32_t latencyMicroseconds_ = 0;
    std::vector<std::pair<CommandMatch, uint32_t>> commandLatencies_;
    bool paused_ = false;
    int pausedCommands_ = 0;
    SenseTriple lastSense_;
    std::deque<ReceivedCommand> received_;
    size_t recordLimit_ = 0;
    std::function<void(const ReceivedCommand&)> observer_;
    bool replaying_ = false;
    std::map<std::string, ReplaySequence> replay_;  // by ReplayKey
};

// Fills 18 bytes of fixed-format sense data (response code 70h).
void FillFixedSense(const SenseTriple& sense, uint8_t* sense18);
