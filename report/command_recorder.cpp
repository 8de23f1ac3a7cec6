#include "report/command_recorder.h"

#include <utility>

#include "report/reply_privacy.h"

void CommandRecorder::BeginStep(const std::string& step) {
    std::lock_guard<std::mutex> lock(mutex_);
    step_ = step;
}

std::vector<RecordedCommand> CommandRecorder::TakeCommands() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<RecordedCommand> taken;
    taken.swap(commands_);
    return taken;
}

void CommandRecorder::OnCommand(const TracedCommand& command) {
    if (alsoTell_ != nullptr) {
        alsoTell_->OnCommand(command);
    }
    RecordedCommand recorded;
    recorded.traced = command;
    recorded.traced.reply = nullptr;  // the buffer is the next command's
    const uint32_t received = command.reply != nullptr ? command.dataInBytes : 0;
    const uint32_t kept = KeptReplyBytes(command.cdb[0], received);
    if (command.reply != nullptr) {
        recorded.reply.assign(command.reply, command.reply + kept);
    }
    recorded.withheldBytes = received - kept;
    std::lock_guard<std::mutex> lock(mutex_);
    recorded.step = step_;
    commands_.push_back(std::move(recorded));
}
