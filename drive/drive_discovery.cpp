#include "drive/drive_discovery.h"

#include <algorithm>
#include <cstring>

#include "drive/drive_handle.h"
#include "drive/sense_class.h"

namespace {

constexpr const char* kModelPatterns[] = {"7315KT52    ", "7305KT52    "};

// The INQUIRY comes after the model read has woken the drive.
constexpr int32_t kInquiryTimeoutSeconds = 2;
constexpr size_t kModelReplyLength = 48;
constexpr size_t kIdentificationOffset = 16;  // the text runs to byte 47 at most
constexpr size_t kInquiryReplyLength = 254;
constexpr size_t kInquiryTextOffset = 8;  // vendor, product, revision, 9 vendor-specific bytes
constexpr size_t kInquiryTextEnd = 45;

constexpr uint8_t kStatusGood = 0x00;
constexpr uint8_t kKeyIllegalRequest = 0x05;
constexpr uint8_t kAscInvalidOpcode = 0x20;
constexpr uint8_t kAscInvalidField = 0x24;

bool StartsWith(const char* text, const char* pattern) {
    return std::strncmp(text, pattern, std::strlen(pattern)) == 0;
}

// Runs the command the block describes, under the mutex. Run waits for the worker's end even
// past its bound, so the drive is never closed under a command still running.
int RunCommand(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex, int32_t code,
               int32_t timeoutSeconds) {
    DriveLock lock(mutex);
    state.block.code = code;
    state.block.timeout = timeoutSeconds;
    return runner.RunRead(lock) == kCommandCompleted ? 1 : 0;
}

// The reply area is cleared and the block filled for every letter, also one that then cannot be
// opened: after discovery the block holds this read's code and time-out, the time-out the media
// watcher's first poll takes over.
void PrepareModelBufferRead(DriveState& state, DriveAccessMutex& mutex) {
    DriveLock lock(mutex);
    std::memset(state.buffers.DataInBuffer(), 0, kModelReplyLength);
    state.block.code = kCodeReadModelBuffer;
    state.block.timeout = state.modelReadTimeoutSeconds;
}

// The bytes of the last data-in reply that the drive brought: never more than the system counted,
// whatever else the buffer holds beyond them.
size_t BytesCame(const DriveState& state, size_t asked) {
    return std::min<size_t>(state.block.transport.bytesTransferred, asked);
}

// The INQUIRY's own status is not looked at: a drive without INQUIRY data is listed by its
// letter alone, the reply area having been zeroed. A reply cut short (36 bytes, the standard
// data without the vendor-specific part, is common behind adapters) gives the text that came.
std::string InquiryText(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex) {
    uint8_t* reply = state.buffers.DataInBuffer();
    std::memset(reply, 0, kInquiryReplyLength);
    RunCommand(state, runner, mutex, kCodeInquiryFull, kInquiryTimeoutSeconds);
    const size_t end = std::min(BytesCame(state, kInquiryReplyLength), kInquiryTextEnd);
    if (end <= kInquiryTextOffset) {
        return std::string();
    }
    const char* text = reinterpret_cast<const char*>(reply + kInquiryTextOffset);
    const size_t length = end - kInquiryTextOffset;
    return std::string(text, strnlen(text, length));
}

void NoteUnidentified(const DriveState& state, const DriveCandidate& candidate,
                      DiscoveryReport& met) {
    const IdentificationProblem problem = ModelReadProblem(state);
    if (problem != IdentificationProblem::kNone) {
        met.unidentified.push_back(
            UnidentifiedDrive{candidate, problem, state.block.transport.bytesTransferred});
    }
}

}  // namespace

const char* FindSupportedModel(const char* text, const NarrowCodePage& codePage) {
    for (const char* pattern : kModelPatterns) {
        for (const char* at = text; *at != '\0';) {
            if (StartsWith(at, pattern)) {
                return pattern;
            }
            const bool pair = codePage.IsLeadByte(static_cast<unsigned char>(*at)) && at[1] != '\0';
            at += pair ? 2 : 1;
        }
    }
    return nullptr;
}

int IsSupportedModel(const char* text, const NarrowCodePage& codePage) {
    return FindSupportedModel(text, codePage) != nullptr ? 1 : 0;
}

const char* ReadModelIdentifier(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                                const NarrowCodePage& codePage, bool* answered) {
    *answered = false;
    if (!state.buffers.IsAllocated()) {
        return nullptr;
    }
    PrepareModelBufferRead(state, mutex);
    uint8_t* reply = state.buffers.DataInBuffer();
    *answered = RunCommand(state, runner, mutex, kCodeReadModelBuffer,
                           state.modelReadTimeoutSeconds) == 1 &&
                BytesCame(state, kModelReplyLength) == kModelReplyLength;
    if (!*answered) {
        return nullptr;
    }
    reply[kModelReplyLength] = 0;
    const char* identification = reinterpret_cast<const char*>(reply + kIdentificationOffset);
    return FindSupportedModel(identification, codePage);
}

IdentificationProblem ModelReadProblem(const DriveState& state) {
    const TransportResult& transport = state.block.transport;
    if (!transport.Sent()) {
        return IdentificationProblem::kNotAnswered;
    }
    if (state.request.header.ScsiStatus == kStatusGood) {
        return transport.bytesTransferred < kModelReplyLength ? IdentificationProblem::kShortReply
                                                              : IdentificationProblem::kNone;
    }
    const SenseFields sense = SenseFieldsOf(state.request.sense);
    const bool notUnderstood = sense.key == kKeyIllegalRequest && sense.ascq == 0 &&
                               (sense.asc == kAscInvalidOpcode || sense.asc == kAscInvalidField);
    return notUnderstood ? IdentificationProblem::kNotAnswered : IdentificationProblem::kNone;
}

ProbeOutcome ProbeDrive(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                        const DriveCandidate& candidate, const NarrowCodePage& codePage,
                        DriveEntry* entry) {
    if (!state.buffers.IsAllocated()) {
        return ProbeOutcome::kNotOpened;
    }
    PrepareModelBufferRead(state, mutex);
    if (OpenDrive(state, candidate.devicePath) == kNoDevice) {
        return ProbeOutcome::kNotOpened;
    }
    const ProbeOutcome outcome =
        IdentifyOpenDrive(state, runner, mutex, candidate, codePage, entry);
    CloseDrive(state.transport, state.driveHandle);
    return outcome;
}

ProbeOutcome IdentifyOpenDrive(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                               const DriveCandidate& candidate, const NarrowCodePage& codePage,
                               DriveEntry* entry) {
    bool answered = false;
    const char* model = ReadModelIdentifier(state, runner, mutex, codePage, &answered);
    if (model == nullptr) {
        return answered ? ProbeOutcome::kOtherModel : ProbeOutcome::kNoModelReply;
    }
    entry->device = candidate;
    entry->model = model;
    entry->listText = candidate.name + " " + InquiryText(state, runner, mutex);
    return ProbeOutcome::kSupported;
}

DriveTable DiscoverDrives(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                          const std::vector<DriveCandidate>& candidates,
                          const NarrowCodePage& codePage, DiscoveryReport* report) {
    DriveTable table;
    DiscoveryReport met;
    met.candidates = static_cast<int>(candidates.size());
    for (const DriveCandidate& candidate : candidates) {
        DriveEntry entry;
        const ProbeOutcome outcome = ProbeDrive(state, runner, mutex, candidate, codePage, &entry);
        if (outcome == ProbeOutcome::kSupported) {
            table.push_back(entry);
        } else if (outcome == ProbeOutcome::kNotOpened) {
            met.unopened.push_back(UnopenedDevice{candidate, state.openError});
        } else if (candidate.opticalDrive) {
            NoteUnidentified(state, candidate, met);
        }
    }
    if (report != nullptr) {
        *report = met;
    }
    return table;
}
