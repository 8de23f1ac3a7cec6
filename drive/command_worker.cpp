#include "drive/command_worker.h"

#include "drive/command_catalogue.h"
#include "drive/drive_gone.h"
#include "drive/sense_class.h"

namespace {

constexpr uint8_t kRequestSenseLength = 22;
constexpr uint32_t kTrackInformationLength = 100;
constexpr int kMediaStatusByte = 5;
constexpr uint8_t kMediaPresentBit = 0x02;

int ReadFirstTrackInformation(DriveState& state) {
    return ReadTrackInformation(state, 0, 0, kTrackInformationLength);
}

// True when the command failed because no medium is in the drive.
bool ReportsNoMedium(DriveState& state, int (*command)(DriveState&)) {
    return command(state) == 0 && IsMediumNotPresent(ClassifyLastSense(state));
}

// A drive the system says is gone answers nothing more: where that ends the probe, its last
// command's result tells the caller why (the disc-present flag stays 1: nothing was learnt).
bool DriveWentAway(const DriveState& state) {
    return state.endOnGoneDrive && ReportsDriveGone(state.block.transport);
}

// The media event reply's media-present bit. Byte 5 is preset to "present", so a reply too
// short to reach it counts as a disc being in.
bool MediaEventSaysNoDisc(DriveState& state) {
    uint8_t* reply = state.buffers.DataInBuffer();
    if (reply == nullptr) {
        return false;
    }
    reply[kMediaStatusByte] = 0xFF;
    return GetMediaEventStatus(state) == 1 && (reply[kMediaStatusByte] & kMediaPresentBit) == 0;
}

}  // namespace

void ProbeDisc(DriveState& state) {
    CommandBlock& block = state.block;
    block.discPresent = 1;
    // A first round whose results are not looked at.
    int (*const firstRound[])(DriveState&) = {ReadDiscInformation, ReadFirstTrackInformation};
    for (auto command : firstRound) {
        command(state);
        if (DriveWentAway(state)) {
            return;
        }
    }
    int (*const probes[])(DriveState&) = {ReadDiscInformation, ReadFirstTrackInformation, ReadToc,
                                          TestUnitReady};
    for (auto probe : probes) {
        if (ReportsNoMedium(state, probe)) {
            block.discPresent = 0;
            return;
        }
        if (DriveWentAway(state)) {
            return;
        }
    }
    if (MediaEventSaysNoDisc(state)) {
        block.discPresent = 0;
    }
}

void PerformCommand(DriveState& state) {
    const CommandBlock& block = state.block;
    switch (block.code) {
        case kCodeTestUnitReady:
            TestUnitReady(state);
            break;
        case kCodeRequestSense:
            RequestSense(state, kRequestSenseLength);
            break;
        case kCodeInquiry:
            Inquiry(state, static_cast<uint8_t>(block.transferLength));
            break;
        case kCodeStartStopUnit:
            StartStopUnit(state, block.immediate, block.powerCondition, block.loadEject,
                          block.start);
            break;
        case kCodeWriteBuffer:
            WriteBuffer(state, block.bufferId, block.bufferMode, block.bufferOffset,
                        block.transferLength);
            break;
        case kCodeReadBuffer:
            ReadBuffer(state, block.bufferId, block.bufferMode, block.bufferOffset,
                       block.transferLength);
            break;
        case kCodeInquiryFull:
            InquiryFull(state);
            break;
        case kCodeReadModelBuffer:
            ReadModelBuffer(state);
            break;
        case kCodeRawCdb:
            SendRawCdb(state, block.rawCdb, block.transferLength, block.rawDirection);
            break;
        case kCodeProbeDiscPresence:
            ProbeDisc(state);
            break;
        default:
            break;  // no such command: nothing is sent
    }
}

void CommandWorker(void* context) {
    CommandWorkerContext* worker = static_cast<CommandWorkerContext*>(context);
    PerformCommand(*worker->state);
    if (worker->sink != nullptr) {
        worker->sink->PostCommandDone();
    }
}
