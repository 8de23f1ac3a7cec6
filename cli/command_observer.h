// Sees every command sent to a drive during a run (the drive state's trace sink): prints one trace
// line per command to the trace stream when --trace asks for it, and keeps what the messages and
// the exit code need: whether the system refused a command for want of rights, and the most
// recent command that did not end GOOD.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>

#include "cli/cli_report.h"
#include "drive/command_trace.h"

// Why the command failed: the sense the drive answered with, that it timed out, or the system's
// reason.
CommandFailure FailureOf(const TracedCommand& command);

class CommandObserver : public CommandTraceSink {
public:
    // trace: where the trace lines go, nullptr for none.
    explicit CommandObserver(std::ostream* trace) : trace_(trace) {}

    void OnCommand(const TracedCommand& command) override;

    // Marks the trace lines of the commands the predicate names as not sent (the dry run's).
    void MarkWithheldCommands(bool (*withheld)(uint8_t opcode)) { withheld_ = withheld; }

    // Since the last ForgetFailures: a command the system refused for want of rights (EACCES,
    // EPERM; ERROR_ACCESS_DENIED).
    bool RefusedForRights() const { return refusedForRights_; }

    // Why the latest operation failed: the refusal for want of rights when there was one, else
    // the most recent command that did not end GOOD (the sense the drive answered with, that it
    // timed out, or the system's reason). completed: the last command's status was completed,
    // which with no failure seen means a GOOD reply too short to use; else its worker outlasted
    // the wait.
    CommandFailure Failure(bool completed) const;

    // Since the last ForgetFailures: how many WRITE BUFFER pages of the kind (their byte 0) the
    // drive answered with CHECK CONDITION, and why the last of them failed.
    int DriveRefusedWrites(uint8_t pageKind) const;
    CommandFailure DriveRefusal(uint8_t pageKind) const;

    // Starts afresh before an operation whose failures are to be told.
    void ForgetFailures() {
        hasFailure_ = false;
        refusedForRights_ = false;
        driveRefusals_.clear();
    }

private:
    std::ostream* trace_;
    bool (*withheld_)(uint8_t opcode) = nullptr;
    bool refusedForRights_ = false;
    TracedCommand refusal_;
    bool hasFailure_ = false;
    TracedCommand lastFailure_;
    struct Refusals {
        int count = 0;
        TracedCommand last;
    };
    std::map<uint8_t, Refusals> driveRefusals_;  // by page kind
};
