#include "drive/pass_through.h"

#include <cstring>

namespace {

void FillRequest(DriveState& state, uint8_t cdbLength, int32_t direction, uint32_t transferLength,
                 const Cdb& cdb) {
    PassThroughRequest& request = state.request;
    std::memset(&request, 0, sizeof(request));
    ScsiPassThroughDirect& header = request.header;
    header.Length = sizeof(ScsiPassThroughDirect);
    header.CdbLength = cdbLength;
    header.SenseInfoLength = kSenseBytesRequested;
    header.DataTransferLength = transferLength;
    header.TimeOutValue = static_cast<uint32_t>(state.block.timeout);  // read at call time
    if (direction == kDirectionIn) {
        header.DataIn = kScsiDataIn;
        header.DataBuffer = state.buffers.DataInBuffer();
    } else {
        header.DataIn = direction == kDirectionOut ? kScsiDataOut : kScsiDataUnspecified;
        header.DataBuffer = state.buffers.DataOutBuffer();
    }
    header.SenseInfoOffset = static_cast<uint32_t>(kSenseOffset);
    std::memcpy(header.Cdb, cdb.data(), cdb.size());
}

// Whether the request can go to the system at all: a drive is open, the only built transport
// is selected, and the named buffer exists and holds the whole transfer.
bool CanBeSent(const DriveState& state) {
    const ScsiPassThroughDirect& header = state.request.header;
    if (state.driveHandle == kNoDevice || state.transportMode == kTransportModeHostAdapter) {
        return false;
    }
    if (header.DataBuffer == nullptr) {
        return header.DataTransferLength == 0;
    }
    return header.DataTransferLength <= TransferBuffers::kSize;
}

// The system writes the number of bytes it moved back into DataTransferLength; only a data-in
// reply's count matters to the callers, and it can never exceed what was asked for.
uint32_t BytesReturned(const ScsiPassThroughDirect& header, uint32_t requested) {
    if (header.DataIn != kScsiDataIn) {
        return 0;
    }
    return header.DataTransferLength < requested ? header.DataTransferLength : requested;
}

int Finish(DriveState& state, bool carriedOut, uint32_t requested) {
    PassThroughRequest& request = state.request;
    if (!carriedOut) {
        // Nothing reached the drive: whatever the system left behind is no answer of it.
        std::memset(request.sense, 0, sizeof(request.sense));
        state.block.status = kCommandFailed;
        state.block.transferred = 0;
        return 0;
    }
    state.block.transferred = BytesReturned(request.header, requested);
    bool good = request.header.ScsiStatus == 0;
    state.block.status = good ? kCommandCompleted : kCommandFailed;
    return good ? 1 : 0;
}

int Execute(DriveState& state, uint8_t cdbLength, int32_t direction, uint32_t transferLength,
            const Cdb& cdb) {
    FillRequest(state, cdbLength, direction, transferLength, cdb);
    bool carriedOut = CanBeSent(state) && state.transport.Execute(state.driveHandle, state.request);
    return Finish(state, carriedOut, transferLength);
}

}  // namespace

int ExecuteCdb6(DriveState& state, int32_t direction, uint32_t transferLength, const Cdb& cdb) {
    return Execute(state, 6, direction, transferLength, cdb);
}

int ExecuteCdb10(DriveState& state, int32_t direction, uint32_t transferLength, const Cdb& cdb) {
    return Execute(state, 10, direction, transferLength, cdb);
}

int ExecuteCdb12(DriveState& state, int32_t direction, uint32_t transferLength, const Cdb& cdb) {
    return Execute(state, 12, direction, transferLength, cdb);
}
