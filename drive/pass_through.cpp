#include "drive/pass_through.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "drive/sense_class.h"

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

TransportResult NotSent() {
    TransportResult result;
    result.outcome = TransportOutcome::kRejected;
    return result;
}

// A data-in reply never counts more bytes than were asked for, whatever the system says.
TransportResult Bounded(TransportResult result, const ScsiPassThroughDirect& sent,
                        uint32_t requested) {
    if (sent.DataIn != kScsiDataIn) {
        result.bytesTransferred = 0;
    } else if (result.bytesTransferred > requested) {
        result.bytesTransferred = requested;
    }
    return result;
}

int Finish(DriveState& state, const TransportResult& transport) {
    PassThroughRequest& request = state.request;
    state.block.transport = transport;
    if (!transport.Sent()) {
        // Nothing reached the drive: whatever the system left behind is no answer of it.
        std::memset(request.sense, 0, sizeof(request.sense));
        state.block.status = kCommandFailed;
        return 0;
    }
    const bool good = request.header.ScsiStatus == 0;
    state.block.status = good ? kCommandCompleted : kCommandFailed;
    return good ? 1 : 0;
}

// The data-out bytes are copied only for a command that was handed to the system, whose transfer
// therefore lies within its buffer, and never more than the buffer holds.
void Trace(const DriveState& state, const ScsiPassThroughDirect& sent, bool handedOn,
           int64_t microseconds) {
    TracedCommand traced;
    std::memcpy(traced.cdb.data(), sent.Cdb, traced.cdb.size());
    traced.cdbLength = sent.CdbLength;
    traced.dataIn = sent.DataIn;
    traced.transferLength = sent.DataTransferLength;
    traced.timeoutSeconds = sent.TimeOutValue;
    traced.scsiStatus = state.request.header.ScsiStatus;
    const SenseFields sense = SenseFieldsOf(state.request.sense);
    traced.senseKey = sense.key;
    traced.asc = sense.asc;
    traced.ascq = sense.ascq;
    std::memcpy(traced.sense.data(), state.request.sense, traced.sense.size());
    traced.transport = state.block.transport;
    traced.dataInBytes = traced.transport.bytesTransferred;
    if (handedOn && sent.DataIn == kScsiDataIn) {
        traced.reply = static_cast<const uint8_t*>(sent.DataBuffer);
    }
    if (handedOn && sent.DataIn == kScsiDataOut && sent.DataBuffer != nullptr) {
        const uint8_t* data = static_cast<const uint8_t*>(sent.DataBuffer);
        const size_t length = std::min<size_t>(sent.DataTransferLength, TransferBuffers::kSize);
        traced.dataOut.assign(data, data + length);
    }
    traced.microseconds = microseconds;
    state.trace->OnCommand(traced);
}

int Execute(DriveState& state, uint8_t cdbLength, int32_t direction, uint32_t transferLength,
            const Cdb& cdb) {
    FillRequest(state, cdbLength, direction, transferLength, cdb);
    const ScsiPassThroughDirect sent = state.request.header;  // the system may rewrite the record
    const auto start = std::chrono::steady_clock::now();
    const bool handedOn = CanBeSent(state);
    const TransportResult transport =
        handedOn ? Bounded(state.transport.Execute(state.driveHandle, state.request), sent,
                           transferLength)
                 : NotSent();
    const int result = Finish(state, transport);
    if (state.trace != nullptr) {
        const auto taken = std::chrono::steady_clock::now() - start;
        Trace(state, sent, handedOn,
              std::chrono::duration_cast<std::chrono::microseconds>(taken).count());
    }
    return result;
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
