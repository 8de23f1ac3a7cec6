// The recording of a diagnostic report's drive session: every command sent, with the step of the
// session it belongs to, its reply as the report gives it (report/reply_privacy.h says what is
// left out), and everything else the pass-through traced. A trace sink, told of each command on
// the thread that sent it; a second sink (velmora-drive --trace) may be told as well.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "drive/command_trace.h"

struct RecordedCommand {
    std::string step;            // "identification", "inquiry", "settings_page", ...
    TracedCommand traced;        // as the pass-through traced it (its reply pointer cleared)
    std::vector<uint8_t> reply;  // the reply bytes the report gives: the first of those received
    uint32_t withheldBytes = 0;  // received after those, and left out of the report
};

class CommandRecorder : public CommandTraceSink {
public:
    explicit CommandRecorder(CommandTraceSink* alsoTell = nullptr) : alsoTell_(alsoTell) {}

    // The step the commands sent from now on belong to.
    void BeginStep(const std::string& step);
    // The commands recorded since the last call, in the order sent.
    std::vector<RecordedCommand> TakeCommands();

    void OnCommand(const TracedCommand& command) override;

private:
    CommandTraceSink* alsoTell_;
    std::mutex mutex_;  // the commands are told on the worker threads
    std::string step_;
    std::vector<RecordedCommand> commands_;
};
