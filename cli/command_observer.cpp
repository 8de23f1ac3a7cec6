#include "cli/command_observer.h"
#include "cli/system_error.h"

#include <cstdio>

#include "res/resource_ids.h"

namespace {

bool EndedGood(const TracedCommand& command) {
    return command.transport.Sent() && command.scsiStatus == 0;
}

}  // namespace

void CommandObserver::OnCommand(const TracedCommand& command) {
    if (trace_ != nullptr) {
        const bool keptBack = withheld_ != nullptr && withheld_(command.cdb[0]);
        *trace_ << FormatTraceLine(command) << (keptBack ? " dry-run=not-sent" : "") << "\n";
    }
    if (EndedGood(command)) {
        return;
    }
    hasFailure_ = true;
    lastFailure_ = command;
    if (!command.transport.Sent() && IsRightsError(command.transport.osError)) {
        refusedForRights_ = true;
        refusal_ = command;
    }
}

FailureReason DescribeFailure(const TracedCommand& command) {
    if (command.transport.Sent()) {
        char sense[16];
        std::snprintf(sense, sizeof sense, "%02X/%02X/%02X", unsigned{command.senseKey},
                      unsigned{command.asc}, unsigned{command.ascq});
        return FailureReason{IDS_CLI_SENSE, sense};
    }
    if (IsTimeout(command.transport.osError)) {
        return FailureReason{IDS_CLI_TIMED_OUT, ""};
    }
    const std::string reason = command.transport.osError != 0
                                   ? SystemErrorText(command.transport.osError)
                                   : std::string("not sent");
    return FailureReason{IDS_CLI_NOT_SENT, reason};
}
