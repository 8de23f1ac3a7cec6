// A fault of a simulated drive: which commands it selects, when it fires, and how the drive then
// answers: failing with a status and sense data, or answering GOOD with a reply cut short (as a
// drive or a USB bridge may do). One description, added with SimulatedDrive::AddFault, serves the
// tests, the demo and the conf files of the SG_IO preload library alike.
#pragma once

#include <cstdint>

#include "sim/scsi_answer.h"

// Selects the commands a fault or a latency applies to: an opcode, and for READ BUFFER and WRITE
// BUFFER optionally the buffer id (CDB byte 2) and mode (low 5 bits of CDB byte 1).
struct CommandMatch {
    CommandMatch(uint8_t opcodeToMatch) : opcode(opcodeToMatch) {}  // NOLINT: implicit on purpose
    CommandMatch(uint8_t opcodeToMatch, int bufferIdToMatch, int modeToMatch = -1)
        : opcode(opcodeToMatch), bufferId(bufferIdToMatch), mode(modeToMatch) {}
    bool Matches(const uint8_t* cdb) const;

    uint8_t opcode;
    int bufferId = -1;  // -1: any
    int mode = -1;      // -1: any
};

struct DriveFault {
    enum class When { kAlways, kTimes, kOnCall };

    CommandMatch match{0};
    When when = When::kAlways;
    int count = 0;  // kTimes: how many calls fail; kOnCall: which call (1-based)
    uint8_t status = kScsiStatusCheckCondition;
    SenseTriple sense;
    int replyBytes = -1;  // >= 0: answers GOOD with at most this many reply bytes

    // The same fault for the next n selected calls only, or for the n-th one only.
    DriveFault Times(int n) const { return With(When::kTimes, n); }
    DriveFault OnCall(int n) const { return With(When::kOnCall, n); }

private:
    DriveFault With(When kind, int n) const {
        DriveFault fault = *this;
        fault.when = kind;
        fault.count = n;
        return fault;
    }
};

// Every selected command fails with the status and sense data.
inline DriveFault Failing(CommandMatch match, SenseTriple sense,
                          uint8_t status = kScsiStatusCheckCondition) {
    DriveFault fault;
    fault.match = match;
    fault.sense = sense;
    fault.status = status;
    return fault;
}

// Every selected command answers GOOD but delivers at most `bytes` of its reply.
inline DriveFault ShortReply(CommandMatch match, uint32_t bytes) {
    DriveFault fault;
    fault.match = match;
    fault.status = kScsiStatusGood;
    fault.replyBytes = static_cast<int>(bytes);
    return fault;
}
