#include "cli/command_observer.h"

#include <cstdio>

#include "cli/system_error.h"
#include "drive/command_block.h"
#include "drive/permission_refusal.h"
#include "res/resource_ids.h"

namespace {

constexpr uint8_t kCheckCondition = 0x02;

bool EndedGood(const TracedCommand& command) {
    return command.transport.Sent() && command.scsiStatus == 0;
}

bool DriveRefusedWrite(const TracedCommand& command) {
    return command.cdb[0] == kCodeWriteBuffer && command.transport.Sent() &&
           command.scsiStatus == kCheckCondition && !command.dataOut.empty();
}

CommandFailure Reason(const TracedCommand& command) {
    if (command.transport.Sent()) {
        char sense[16];
        std::snprintf(sense, sizeof sense, "%02X/%02X/%02X", unsigned{command.senseKey},
                      unsigned{command.asc}, unsigned{command.ascq});
        return CommandFailure{false, IDS_CLI_SENSE, sense};
    }
    if (IsTimeout(command.transport.osError)) {
        return CommandFailure{false, IDS_CLI_TIMED_OUT, ""};
    }
    const std::string reason = command.transport.osError != 0
                                   ? SystemErrorText(command.transport.osError)
                                   : std::string("not sent");
    return CommandFailure{false, IDS_CLI_NOT_SENT, reason};
}

}  // namespace

CommandFailure FailureOf(const TracedCommand& command) {
    return Reason(command);
}

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
    if (DriveRefusedWrite(command)) {
        Refusals& refusals = driveRefusals_[command.dataOut[0]];
        ++refusals.count;
        refusals.last = command;
    }
    if (RefusedForWantOfRights(command.transport)) {
        refusedForRights_ = true;
        refusal_ = command;
    }
}

CommandFailure CommandObserver::Failure(bool completed) const {
    if (refusedForRights_) {
        CommandFailure refusal = Reason(refusal_);
        refusal.refusedForRights = true;
        return refusal;
    }
    if (hasFailure_) {
        return Reason(lastFailure_);
    }
    return CommandFailure{false, completed ? IDS_CLI_SHORT_REPLY : IDS_CLI_TIMED_OUT, ""};
}

int CommandObserver::DriveRefusedWrites(uint8_t pageKind) const {
    const auto found = driveRefusals_.find(pageKind);
    return found != driveRefusals_.end() ? found->second.count : 0;
}

CommandFailure CommandObserver::DriveRefusal(uint8_t pageKind) const {
    const auto found = driveRefusals_.find(pageKind);
    return found != driveRefusals_.end() ? Reason(found->second.last) : CommandFailure{};
}
