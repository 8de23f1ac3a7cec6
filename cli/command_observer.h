// Sees every command sent to a drive during a run (the drive state's trace sink): prints one trace
// line per command to the trace stream when --trace asks for it, and keeps what the exit code and
// the messages need: whether the system refused a command for want of rights, and the most
// recent command that did not end GOOD.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "drive/command_trace.h"

class CommandObserver : public CommandTraceSink {
public:
    // trace: where the trace lines go, nullptr for none.
    explicit CommandObserver(std::ostream* trace) : trace_(trace) {}

    void OnCommand(const TracedCommand& command) override;

    // Marks the trace lines of the commands the predicate names as not sent (the dry run's).
    void MarkWithheldCommands(bool (*withheld)(uint8_t opcode)) { withheld_ = withheld; }

    // Since the last ForgetFailures: a command the system refused for want of rights (EACCES,
    // EPERM; ERROR_ACCESS_DENIED), and the most recent command that did not end GOOD, whether the
    // drive or the system failed it.
    bool RefusedForRights() const { return refusedForRights_; }
    const TracedCommand& RefusalForRights() const { return refusal_; }
    bool HasFailure() const { return hasFailure_; }
    const TracedCommand& LastFailure() const { return lastFailure_; }

    // Starts afresh before an operation whose failures are to be told.
    void ForgetFailures() {
        hasFailure_ = false;
        refusedForRights_ = false;
    }

private:
    std::ostream* trace_;
    bool (*withheld_)(uint8_t opcode) = nullptr;
    bool refusedForRights_ = false;
    TracedCommand refusal_;
    bool hasFailure_ = false;
    TracedCommand lastFailure_;
};

// Why a command failed, as an argument of the failure messages: the sense the drive answered
// with, that it timed out, or the system's own reason. Its text ids (IDS_CLI_SENSE, ...) and
// the argument of that text.
struct FailureReason {
    int textId = 0;
    std::string argument;
};
FailureReason DescribeFailure(const TracedCommand& command);
