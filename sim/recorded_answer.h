// One command of a diagnostic report's recording as a replayed drive gives it back: the command it
// answers (the CDB as long as declared, the direction and the transfer length) and how the drive
// or the system answered it then. A read that configures the simulated model (the model buffer,
// INQUIRY, the settings page, the ready byte) and was answered GOOD with data is answered by the
// model, so that a write and its read-back behave as the model says; every other one as recorded.
#pragma once

#include <cstdint>
#include <vector>

struct RecordedAnswer {
    enum class Source {
        kRecording,  // status, sense and data as recorded
        kModel,      // the model's answer, cut to replyBytes as the recorded reply was
    };

    std::vector<uint8_t> cdb;  // as many bytes as declared to the system
    uint8_t dataIn = 2;        // 0 out, 1 in, 2 none
    uint32_t transferLength = 0;

    Source source = Source::kRecording;
    // The system failed the call: the drive saw nothing. rejected: refused before sending
    // (TransportOutcome::kRejected), else the system tried and failed (kOsError); systemError:
    // the system's number, 0 when it gave none.
    bool systemFailed = false;
    bool rejected = false;
    int systemError = 0;
    uint8_t status = 0;
    std::vector<uint8_t> sense;  // every sense byte the system wrote, in the drive's format
    std::vector<uint8_t> data;   // kRecording: the reply bytes
    uint32_t replyBytes = 0;     // kModel: at most this many reply bytes
    uint32_t microseconds = 0;   // how long the answer took
};
