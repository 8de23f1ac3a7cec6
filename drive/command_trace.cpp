#include "drive/command_trace.h"

#include <cstdio>

const char* DirectionName(uint8_t dataIn) {
    switch (dataIn) {
        case 0:
            return "out";
        case 1:
            return "in";
        default:
            return "none";
    }
}

namespace {

std::string TransportNote(const TransportResult& transport) {
    switch (transport.outcome) {
        case TransportOutcome::kSent:
            return "";
        case TransportOutcome::kRejected:
            return transport.osError != 0 ? " os=rejected:" + std::to_string(transport.osError)
                                          : std::string(" os=rejected");
        case TransportOutcome::kOsError:
            return " os=error:" + std::to_string(transport.osError);
    }
    return "";
}

}  // namespace

std::string FormatTraceLine(const TracedCommand& command) {
    const size_t cdbBytes =
        command.cdbLength < command.cdb.size() ? command.cdbLength : command.cdb.size();
    char fixed[160];
    std::snprintf(fixed, sizeof(fixed),
                  " len=%u dir=%s xfer=%u timeout=%u status=%02X sense=%02X/%02X/%02X",
                  unsigned{command.cdbLength}, DirectionName(command.dataIn),
                  unsigned{command.transferLength}, unsigned{command.timeoutSeconds},
                  unsigned{command.scsiStatus}, unsigned{command.senseKey}, unsigned{command.asc},
                  unsigned{command.ascq});
    std::string line = "cdb=" + HexBytes(command.cdb.data(), cdbBytes) + fixed;
    if (command.dataIn == 1) {
        line += " in=" + std::to_string(command.dataInBytes);
    } else if (command.dataIn == 0) {
        line += " out=" + HexBytes(command.dataOut.data(), command.dataOut.size());
    }
    line += TransportNote(command.transport);
    if (command.microseconds >= 0) {
        line += " time=" + std::to_string(command.microseconds) + "us";
    }
    return line;
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}
