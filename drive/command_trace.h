// One line of text per command sent to a drive: what a user attaches to a bug report about a
// drive nobody here owns, and what the simulated drives write to their trace files.
//   cdb=<hex of the declared length> len=<declared> dir=in|out|none xfer=<transfer length>
//   timeout=<seconds> status=<hex> sense=<KK/AA/QQ> [in=<reply bytes>] [out=<data-out hex>]
//   [os=rejected|error:<number>] [time=<microseconds>us]
// Hex is upper case without separators; in= is given for data-in commands, out= for data-out;
// os= only when the system did not send the command or failed it; time= only when measured.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/scsi_transport.h"

struct TracedCommand {
    std::array<uint8_t, 16> cdb{};  // the record's CDB field
    uint8_t cdbLength = 0;          // the length declared to the system
    uint8_t dataIn = 0;             // 0 out, 1 in, 2 none
    uint32_t transferLength = 0;
    uint32_t timeoutSeconds = 0;
    uint8_t scsiStatus = 0;
    uint8_t senseKey = 0, asc = 0, ascq = 0;
    // The record's whole sense area; the system wrote transport.senseLength bytes of it.
    std::array<uint8_t, sizeof(PassThroughRequest::sense)> sense{};
    uint32_t dataInBytes = 0;  // reply bytes received, for data-in commands
    // Data-in commands: those reply bytes where they arrived; valid only during OnCommand.
    const uint8_t* reply = nullptr;
    std::vector<uint8_t> dataOut;  // the bytes written, for data-out commands
    TransportResult transport;     // how the system's call ended
    int64_t microseconds = -1;     // time taken; -1 when not measured
};

std::string FormatTraceLine(const TracedCommand& command);

// The transfer's direction as the trace line and the report name it: "out", "in" or "none".
const char* DirectionName(uint8_t dataIn);

// The bytes in upper-case hex without separators, as the trace line gives them.
std::string HexBytes(const uint8_t* bytes, size_t count);

// Told of every command once it has ended, on the thread that sent it.
class CommandTraceSink {
public:
    virtual ~CommandTraceSink() = default;
    virtual void OnCommand(const TracedCommand& command) = 0;
};
