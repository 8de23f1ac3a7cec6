#include "sim/simulated_drive.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "drive/sense_class.h"

namespace {

constexpr uint8_t kOpTestUnitReady = 0x00;
constexpr uint8_t kOpRequestSense = 0x03;
constexpr uint8_t kOpInquiry = 0x12;
constexpr uint8_t kOpStartStopUnit = 0x1B;
constexpr uint8_t kOpWriteBuffer = 0x3B;
constexpr uint8_t kOpReadBuffer = 0x3C;
constexpr uint8_t kOpReadToc = 0x43;
constexpr uint8_t kOpGetEventStatus = 0x4A;
constexpr uint8_t kOpReadDiscInformation = 0x51;
constexpr uint8_t kOpReadTrackInformation = 0x52;

constexpr uint8_t kModelBufferId = 0xF1;
constexpr uint8_t kSettingsBufferId = 0xF4;
constexpr uint8_t kWritePageBufferId = 0xFA;
constexpr size_t kModelBufferSize = 48;
constexpr size_t kModelTextOffset = 16;
constexpr size_t kInquirySize = 96;

constexpr int kSpeedSupported = 18, kSpeedCurrent = 19, kSpeedSaved = 20;
constexpr int kAudioSupported = 21, kAudioCurrent = 22, kAudioSaved = 23;
constexpr int kReadyByte = 24;

uint32_t BigEndian16(const uint8_t* p) {
    return (uint32_t{p[0]} << 8) | p[1];
}
uint32_t BigEndian24(const uint8_t* p) {
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

#ifdef _WIN32
constexpr int kSystemTimedOut = 121;  // ERROR_SEM_TIMEOUT, as the pass-through reports a time-out
#else
constexpr int kSystemTimedOut = ETIMEDOUT;
#endif

// A replayed command is found by its CDB as declared, its direction and its transfer length.
std::string ReplayKey(const uint8_t* cdb, size_t cdbLength, uint8_t dataIn,
                      uint32_t transferLength) {
    std::string key(reinterpret_cast<const char*>(cdb), cdbLength);
    key += static_cast<char>(dataIn);
    key.append(reinterpret_cast<const char*>(&transferLength), sizeof transferLength);
    return key;
}

void PutText(std::vector<uint8_t>& data, size_t offset, size_t width, const std::string& text) {
    for (size_t i = 0; i < width && i < text.size() && offset + i < data.size(); ++i) {
        data[offset + i] = static_cast<uint8_t>(text[i]);
    }
}

}  // namespace

bool CommandMatch::Matches(const uint8_t* cdb) const {
    if (cdb[0] != opcode) {
        return false;
    }
    if (bufferId >= 0 && cdb[2] != bufferId) {
        return false;
    }
    return mode < 0 || (cdb[1] & 0x1F) == mode;
}

void FillFixedSense(const SenseTriple& sense, uint8_t* sense18) {
    std::memset(sense18, 0, 18);
    sense18[0] = 0x70;  // current error, fixed format
    sense18[2] = sense.key;
    sense18[7] = 10;  // additional sense length: bytes 8..17
    sense18[12] = sense.asc;
    sense18[13] = sense.ascq;
}

SimulatedDrive::SimulatedDrive(const SimulatedDriveConfig& config)
    : config_(config), disc_(config.disc), forcedReadyByte_(config.forcedReadyByte) {
    page_[kSpeedSupported] = config.supportsOptimalSpeed ? 1 : 0;
    page_[kSpeedCurrent] = config.optimalSpeed;
    page_[kSpeedSaved] = static_cast<uint8_t>(
        config.optimalSpeedSaved >= 0 ? config.optimalSpeedSaved : config.optimalSpeed);
    page_[kAudioSupported] = config.supportsAudioMode ? 1 : 0;
    page_[kAudioCurrent] = config.audioMode;
    page_[kAudioSaved] =
        static_cast<uint8_t>(config.audioModeSaved >= 0 ? config.audioModeSaved : config.audioMode);
    if (!config.settingsPage.empty()) {
        page_.fill(0);
        std::copy_n(config.settingsPage.begin(), std::min(config.settingsPage.size(), page_.size()),
                    page_.begin());
    }
}

SimulatedDrive::~SimulatedDrive() = default;

uint8_t SimulatedDrive::Execute(const ScsiCommand& command, uint8_t* sense18,
                                uint32_t* dataInBytes) {
    const DriveResponse response = AnswerCommand(command, false);
    if (response.status != kScsiStatusGood && sense18 != nullptr) {
        std::memset(sense18, 0, 18);
        std::copy_n(response.sense.begin(), std::min<size_t>(response.sense.size(), 18), sense18);
    }
    if (dataInBytes != nullptr) {
        *dataInBytes = response.dataInBytes;
    }
    return response.status;
}

DriveResponse SimulatedDrive::Respond(const ScsiCommand& command) {
    return AnswerCommand(command, true);
}

void SimulatedDrive::ReplayAnswers(const std::vector<RecordedAnswer>& answers) {
    std::lock_guard<std::mutex> lock(mutex_);
    replaying_ = true;
    replay_.clear();
    for (const RecordedAnswer& answer : answers) {
        replay_[ReplayKey(answer.cdb.data(), answer.cdb.size(), answer.dataIn,
                          answer.transferLength)]
            .answers.push_back(answer);
    }
}

DriveResponse SimulatedDrive::AnswerCommand(const ScsiCommand& command, bool withTimeout) {
    ReceivedCommand record;
    if (command.cdb != nullptr) {
        std::copy(command.cdb, command.cdb + record.cdb.size(), record.cdb.begin());
    }
    record.cdbLength = command.cdbLength;
    record.dataIn = command.dataIn;
    record.transferLength = command.transferLength;
    record.timeoutSeconds = command.timeoutSeconds;
    if (command.dataIn == 0 && command.data != nullptr) {
        record.dataOut.assign(command.data, command.data + command.transferLength);
    }

    RecordedAnswer recorded;
    const bool hasRecorded = TakeRecordedAnswer(record, &recorded);
    DriveResponse response;
    if (hasRecorded && recorded.systemFailed) {  // nothing reached the drive
        WaitBeforeAnswering(record.cdb.data(), recorded.microseconds, 0);
        response.systemFailed = true;
        response.systemError = recorded.systemError;
        response.rejected = recorded.rejected;
        return response;
    }
    const uint32_t extra = hasRecorded ? recorded.microseconds : 0;
    if (!WaitBeforeAnswering(record.cdb.data(), extra, withTimeout ? command.timeoutSeconds : 0)) {
        response.systemFailed = true;  // the system gave up: no answer reaches the host
        response.systemError = kSystemTimedOut;
        return response;
    }

    std::function<void(const ReceivedCommand&)> observer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ScsiCommand seen = command;
        seen.cdb = record.cdb.data();
        const Reply reply = AnswerOrFault(seen, record.dataOut, hasRecorded ? &recorded : nullptr);
        if (command.dataIn == 1 && command.data != nullptr) {
            const size_t count = std::min<size_t>(
                {reply.data.size(), reply.allocationLength, command.transferLength});
            std::copy(reply.data.begin(), reply.data.begin() + count, command.data);
            record.dataInBytes = static_cast<uint32_t>(count);
        }
        record.scsiStatus = reply.status;
        record.sense = reply.sense;
        if (reply.status != kScsiStatusGood) {
            response.sense = reply.recordedSense;
            if (!reply.senseRecorded) {
                response.sense.assign(18, 0);
                FillFixedSense(reply.sense, response.sense.data());
            }
            lastSense_ = reply.sense;
        }
        Record(record);
        observer = observer_;
    }
    response.status = record.scsiStatus;
    response.dataInBytes = record.dataInBytes;
    if (observer) {
        observer(record);
    }
    return response;
}

// The recorded answer to the command, if the recording covers it; the sequence moves on to the
// next answer, and stays on its last.
bool SimulatedDrive::TakeRecordedAnswer(const ReceivedCommand& received, RecordedAnswer* answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!replaying_) {
        return false;
    }
    const auto found = replay_.find(ReplayKey(received.cdb.data(), received.cdbLength,
                                              received.dataIn, received.transferLength));
    if (found == replay_.end()) {
        return false;
    }
    ReplaySequence& sequence = found->second;
    *answer = sequence.answers[sequence.next];
    if (sequence.next + 1 < sequence.answers.size()) {
        ++sequence.next;
    }
    return true;
}

bool SimulatedDrive::WaitBeforeAnswering(const uint8_t* cdb, uint32_t extraMicroseconds,
                                         uint32_t timeoutSeconds) {
    uint64_t latency = extraMicroseconds;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ++pausedCommands_;
        resumed_.wait(lock, [this] { return !paused_; });
        --pausedCommands_;
        latency += latencyMicroseconds_;
        for (const auto& entry : commandLatencies_) {
            if (entry.first.Matches(cdb)) {
                latency += entry.second;
            }
        }
    }
    const uint64_t limit = uint64_t{timeoutSeconds} * 1000000;
    const bool timedOut = timeoutSeconds != 0 && latency > limit;
    if (timedOut) {
        latency = limit;
    }
    if (latency > 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(latency));
    }
    return !timedOut;
}

// Every fault that selects the command counts the call; the first one listed that fires decides
// the answer.
const DriveFault* SimulatedDrive::FiringFault(const uint8_t* cdb) {
    const DriveFault* firing = nullptr;
    for (ActiveFault& active : faults_) {
        const DriveFault& fault = active.fault;
        if (!fault.match.Matches(cdb)) {
            continue;
        }
        ++active.calls;
        bool fires = false;
        switch (fault.when) {
            case DriveFault::When::kAlways:
                fires = true;
                break;
            case DriveFault::When::kTimes:
                fires = active.calls <= fault.count;
                break;
            case DriveFault::When::kOnCall:
                fires = active.calls == fault.count;
                break;
        }
        if (fires && firing == nullptr) {
            firing = &fault;
        }
    }
    return firing;
}

SimulatedDrive::Reply SimulatedDrive::AnswerOrFault(const ScsiCommand& command,
                                                    const std::vector<uint8_t>& dataOut,
                                                    const RecordedAnswer* recorded) {
    const DriveFault* fault = FiringFault(command.cdb);
    if (fault != nullptr && fault->replyBytes < 0) {
        Reply failed;
        failed.status = fault->status;
        failed.sense = fault->sense;
        return failed;
    }
    Reply reply = replaying_ ? Replayed(command, dataOut, recorded) : Answer(command, dataOut);
    if (fault != nullptr && reply.data.size() > static_cast<size_t>(fault->replyBytes)) {
        reply.data.resize(static_cast<size_t>(fault->replyBytes));
    }
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::Replayed(const ScsiCommand& command,
                                               const std::vector<uint8_t>& dataOut,
                                               const RecordedAnswer* recorded) {
    if (recorded == nullptr) {
        const uint8_t opcode = command.cdb[0];
        if (opcode == kOpWriteBuffer || opcode == kOpStartStopUnit) {
            return Answer(command, dataOut);
        }
        Reply uncovered;
        uncovered.status = kScsiStatusCheckCondition;
        uncovered.sense = kSenseInvalidOpcode;
        return uncovered;
    }
    if (recorded->source == RecordedAnswer::Source::kModel) {
        Reply reply = Answer(command, dataOut);
        if (reply.data.size() > recorded->replyBytes) {
            reply.data.resize(recorded->replyBytes);
        }
        return reply;
    }
    Reply reply;
    reply.status = recorded->status;
    reply.data = recorded->data;
    reply.allocationLength = static_cast<uint32_t>(reply.data.size());
    reply.senseRecorded = true;
    reply.recordedSense = recorded->sense;
    uint8_t sense[32] = {};
    std::copy_n(recorded->sense.begin(), std::min<size_t>(recorded->sense.size(), sizeof sense),
                sense);
    const SenseFields fields = SenseFieldsOf(sense);
    reply.sense = SenseTriple{fields.key, fields.asc, fields.ascq};
    return reply;
}

void SimulatedDrive::Record(const ReceivedCommand& record) {
    received_.push_back(record);
    while (recordLimit_ != 0 && received_.size() > recordLimit_) {
        received_.pop_front();
    }
}

SimulatedDrive::Reply SimulatedDrive::Answer(const ScsiCommand& command,
                                             const std::vector<uint8_t>& dataOut) {
    const uint8_t* cdb = command.cdb;
    switch (cdb[0]) {
        case kOpTestUnitReady: {
            Reply reply;
            DiscNotReady(reply);
            return reply;
        }
        case kOpRequestSense:
            return AnswerRequestSense(cdb);
        case kOpInquiry:
            return AnswerInquiry(cdb);
        case kOpStartStopUnit:
            return AnswerStartStopUnit(cdb);
        case kOpReadBuffer:
            return AnswerReadBuffer(cdb);
        case kOpWriteBuffer:
            return AnswerWriteBuffer(cdb, dataOut);
        case kOpReadToc:
            return AnswerReadToc(cdb);
        case kOpGetEventStatus:
            return AnswerEventStatus(cdb);
        case kOpReadDiscInformation:
            return AnswerDiscInformation(cdb);
        case kOpReadTrackInformation:
            return AnswerTrackInformation(cdb);
        default: {
            Reply reply;
            reply.status = kScsiStatusCheckCondition;
            reply.sense = kSenseInvalidOpcode;
            return reply;
        }
    }
}

bool SimulatedDrive::DiscNotReady(Reply& reply) const {
    switch (disc_) {
        case DiscState::kPresent:
            return false;
        case DiscState::kNone:
            reply.sense = kSenseNoMediumTrayClosed;
            break;
        case DiscState::kTrayOpen:
            reply.sense = kSenseNoMediumTrayOpen;
            break;
        case DiscState::kBecomingReady:
            reply.sense = kSenseBecomingReady;
            break;
    }
    reply.status = kScsiStatusCheckCondition;
    return true;
}

SimulatedDrive::Reply SimulatedDrive::AnswerRequestSense(const uint8_t* cdb) {
    Reply reply;
    reply.data.resize(18);
    FillFixedSense(lastSense_, reply.data.data());
    reply.allocationLength = cdb[4];
    lastSense_ = SenseTriple{};
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerInquiry(const uint8_t* cdb) const {
    Reply reply;
    if ((cdb[1] & 0x01) != 0) {  // vital product data pages are not offered
        reply.status = kScsiStatusCheckCondition;
        reply.sense = kSenseInvalidFieldInCdb;
        return reply;
    }
    if (!config_.answersInquiry) {
        return reply;
    }
    reply.allocationLength = BigEndian16(cdb + 3);
    if (!config_.inquiryData.empty()) {
        reply.data = config_.inquiryData;
        return reply;
    }
    reply.data.assign(kInquirySize, 0);
    reply.data[0] = 0x05;  // CD/DVD device
    reply.data[1] = 0x80;  // removable medium
    reply.data[2] = 0x00;
    reply.data[3] = 0x02;  // response data format
    reply.data[4] = static_cast<uint8_t>(kInquirySize - 5);
    std::fill(reply.data.begin() + 8, reply.data.begin() + 36, ' ');
    PutText(reply.data, 8, 8, config_.vendor);
    PutText(reply.data, 16, 16, config_.product);
    PutText(reply.data, 32, 4, config_.revision);
    PutText(reply.data, 36, kInquirySize - 36, config_.inquiryTail);
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerStartStopUnit(const uint8_t* cdb) {
    Reply reply;
    if (disc_ == DiscState::kBecomingReady) {
        DiscNotReady(reply);
        return reply;
    }
    const bool loadEject = (cdb[4] & 0x02) != 0;
    const bool start = (cdb[4] & 0x01) != 0;
    if (loadEject && !start && disc_ != DiscState::kTrayOpen) {
        discOnTray_ = disc_ == DiscState::kPresent;
        disc_ = DiscState::kTrayOpen;
    } else if (loadEject && start && disc_ == DiscState::kTrayOpen) {
        disc_ = discOnTray_ ? DiscState::kPresent : DiscState::kNone;
        discOnTray_ = false;
    }
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerReadBuffer(const uint8_t* cdb) const {
    Reply reply;
    const int mode = cdb[1] & 0x1F;
    const uint8_t bufferId = cdb[2];
    reply.allocationLength = BigEndian24(cdb + 6);
    const bool offsetZero = BigEndian24(cdb + 3) == 0;
    if (offsetZero && bufferId == kModelBufferId && mode == 2 && config_.answersModelBuffer) {
        if (!config_.modelBuffer.empty()) {
            reply.data = config_.modelBuffer;
            return reply;
        }
        reply.data.assign(kModelBufferSize, 0);
        PutText(reply.data, kModelTextOffset, kModelBufferSize - kModelTextOffset,
                config_.modelText);
        return reply;
    }
    if (offsetZero && bufferId == kSettingsBufferId && (mode == 0 || mode == 1)) {
        reply.data.assign(page_.begin(), page_.end());
        if (mode == 0) {
            reply.data[kReadyByte] = ReadyByteLocked();
        }
        return reply;
    }
    reply.status = kScsiStatusCheckCondition;
    reply.sense = kSenseInvalidFieldInCdb;
    reply.allocationLength = 0;
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerWriteBuffer(const uint8_t* cdb,
                                                        const std::vector<uint8_t>& dataOut) {
    Reply reply;
    reply.status = kScsiStatusCheckCondition;
    const int mode = cdb[1] & 0x1F;
    if (mode != 1 || cdb[2] != kWritePageBufferId || BigEndian24(cdb + 3) != 0) {
        reply.sense = kSenseInvalidFieldInCdb;
        return reply;
    }
    const size_t received = std::min<size_t>(BigEndian24(cdb + 6), dataOut.size());
    if (received < 4) {
        reply.sense = kSenseParameterListLength;
        return reply;
    }
    const uint8_t* page = dataOut.data();
    int current = -1;
    int saved = -1;
    if (page[0] == 9 && page[1] == 0 && page_[kSpeedSupported] == 1) {
        current = kSpeedCurrent;
        saved = kSpeedSaved;
    } else if (page[0] == 2 && page[1] == 0x80 && page_[kAudioSupported] == 1) {
        if (ReadyByteLocked() != 1) {
            reply.sense = kSenseCommandSequenceError;
            return reply;
        }
        current = kAudioCurrent;
        saved = kAudioSaved;
    } else {
        reply.sense = kSenseInvalidFieldInParameterList;
        return reply;
    }
    reply.status = kScsiStatusGood;
    if (writesIgnored_) {
        return reply;
    }
    page_[current] = page[2];
    if (page[3] == 1 && !savedBytesStuck_) {
        page_[saved] = page[2];
    }
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerReadToc(const uint8_t* cdb) const {
    Reply reply;
    if (DiscNotReady(reply)) {
        return reply;
    }
    // Format 0: one data track starting at LBA 0, lead-out at 300000 blocks.
    reply.data = {0x00, 0x12, 0x01, 0x01,                           // length, first, last track
                  0x00, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,   // track 1, data, LBA 0
                  0x00, 0x14, 0xAA, 0x00, 0x00, 0x04, 0x93, 0xE0};  // lead-out
    reply.allocationLength = BigEndian16(cdb + 7);
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerEventStatus(const uint8_t* cdb) const {
    Reply reply;
    const bool polled = (cdb[1] & 0x01) != 0;
    if (config_.eventRequiresPolled && !polled) {
        reply.status = kScsiStatusCheckCondition;
        reply.sense = kSenseInvalidFieldInCdb;
        return reply;
    }
    reply.allocationLength = BigEndian16(cdb + 7);
    if ((cdb[4] & 0x10) == 0) {  // no class the drive supports was asked for
        reply.data = {0x00, 0x02, 0x80, 0x10};
        return reply;
    }
    uint8_t mediaStatus = 0;
    if (disc_ == DiscState::kTrayOpen) {
        mediaStatus |= 0x01;
    }
    if (disc_ == DiscState::kPresent || disc_ == DiscState::kBecomingReady) {
        mediaStatus |= 0x02;
    }
    reply.data = {0x00, 0x06, 0x04, 0x10, 0x00, mediaStatus, 0x00, 0x00};
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerDiscInformation(const uint8_t* cdb) const {
    Reply reply;
    if (DiscNotReady(reply)) {
        return reply;
    }
    reply.data.assign(34, 0);
    reply.data[1] = 0x20;  // 32 bytes follow
    reply.data[2] = 0x0E;  // last session complete, disc complete
    reply.data[3] = 1;     // first track
    reply.data[4] = 1;     // sessions
    reply.data[5] = 1;     // first track in last session
    reply.data[6] = 1;     // last track in last session
    reply.allocationLength = BigEndian16(cdb + 7);
    return reply;
}

SimulatedDrive::Reply SimulatedDrive::AnswerTrackInformation(const uint8_t* cdb) const {
    Reply reply;
    if (DiscNotReady(reply)) {
        return reply;
    }
    reply.data.assign(36, 0);
    reply.data[1] = 0x22;  // 34 bytes follow
    reply.data[2] = 1;     // track 1
    reply.data[3] = 1;     // session 1
    reply.data[5] = 0x04;  // data track
    reply.data[6] = 0x01;  // data mode 1
    reply.data[24] = 0x00;
    reply.data[26] = 0x04;  // track size 300000 blocks
    reply.data[27] = 0x93;
    reply.data[28] = 0xE0;
    reply.allocationLength = BigEndian16(cdb + 7);
    return reply;
}

uint8_t SimulatedDrive::ReadyByteLocked() const {
    if (forcedReadyByte_ >= 0) {
        return static_cast<uint8_t>(forcedReadyByte_);
    }
    return (disc_ == DiscState::kNone || disc_ == DiscState::kTrayOpen) ? 1 : 0;
}

void SimulatedDrive::SetDiscState(DiscState state) {
    std::lock_guard<std::mutex> lock(mutex_);
    disc_ = state;
    discOnTray_ = false;
}

DiscState SimulatedDrive::GetDiscState() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return disc_;
}

void SimulatedDrive::ForceReadyByte(int value) {
    std::lock_guard<std::mutex> lock(mutex_);
    forcedReadyByte_ = value < 0 ? -1 : (value & 0xFF);
}

uint8_t SimulatedDrive::ReadyByte() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ReadyByteLocked();
}

std::array<uint8_t, 256> SimulatedDrive::SettingsPage() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return page_;
}

void SimulatedDrive::SetSettingsByte(int index, uint8_t value) {
    if (index < 0 || index >= static_cast<int>(page_.size())) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    page_[static_cast<size_t>(index)] = value;
}

void SimulatedDrive::AddFault(const DriveFault& fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.push_back(ActiveFault{fault});
}

void SimulatedDrive::ClearFaults() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

void SimulatedDrive::SetWritesIgnored(bool ignored) {
    std::lock_guard<std::mutex> lock(mutex_);
    writesIgnored_ = ignored;
}

void SimulatedDrive::SetSavedBytesStuck(bool stuck) {
    std::lock_guard<std::mutex> lock(mutex_);
    savedBytesStuck_ = stuck;
}

void SimulatedDrive::SetLatencyMicroseconds(uint32_t microseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    latencyMicroseconds_ = microseconds;
}

void SimulatedDrive::SetCommandLatency(CommandMatch match, uint32_t microseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    commandLatencies_.emplace_back(match, microseconds);
}

void SimulatedDrive::PauseCommands() {
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = true;
}

void SimulatedDrive::ResumeCommands() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        paused_ = false;
    }
    resumed_.notify_all();
}

int SimulatedDrive::PausedCommandCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return paused_ ? pausedCommands_ : 0;
}

std::vector<ReceivedCommand> SimulatedDrive::Received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::vector<ReceivedCommand>(received_.begin(), received_.end());
}

size_t SimulatedDrive::ReceivedCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_.size();
}

void SimulatedDrive::ClearReceived() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
}

void SimulatedDrive::SetRecordLimit(size_t limit) {
    std::lock_guard<std::mutex> lock(mutex_);
    recordLimit_ = limit;
    while (recordLimit_ != 0 && received_.size() > recordLimit_) {
        received_.pop_front();
    }
}

void SimulatedDrive::SetObserver(std::function<void(const ReceivedCommand&)> observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = std::move(observer);
}
