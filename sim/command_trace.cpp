#include "sim/command_trace.h"

TracedCommand AsTracedCommand(const ReceivedCommand& command) {
    TracedCommand traced;
    traced.cdb = command.cdb;
    traced.cdbLength = command.cdbLength;
    traced.dataIn = command.dataIn;
    traced.transferLength = command.transferLength;
    traced.timeoutSeconds = command.timeoutSeconds;
    traced.scsiStatus = command.scsiStatus;
    traced.senseKey = command.sense.key;
    traced.asc = command.sense.asc;
    traced.ascq = command.sense.ascq;
    traced.dataInBytes = command.dataInBytes;
    traced.dataOut = command.dataOut;
    return traced;
}

std::string FormatTraceLine(const ReceivedCommand& command) {
    return FormatTraceLine(AsTracedCommand(command));
}
