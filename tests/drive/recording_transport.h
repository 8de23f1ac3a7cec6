// A transport for tests that records every request record exactly as the executors filled it
// and answers each opcode as the test scripts it: SCSI status, sense bytes and reply data, or
// a rejected call. Safe to call from worker threads.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/scsi_transport.h"

struct ScriptedAnswer {
    uint8_t scsiStatus = 0;
    uint8_t senseKey = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
    std::vector<uint8_t> reply;  // copied to the data-in buffer
    bool rejected = false;       // the system refuses the call
    int osError = 0;             // with a refusal: the system's reason
};

inline ScriptedAnswer CheckCondition(uint8_t key, uint8_t asc, uint8_t ascq) {
    ScriptedAnswer answer;
    answer.scsiStatus = 2;
    answer.senseKey = key;
    answer.asc = asc;
    answer.ascq = ascq;
    return answer;
}

inline ScriptedAnswer Reply(std::vector<uint8_t> bytes) {
    ScriptedAnswer answer;
    answer.reply = std::move(bytes);
    return answer;
}

struct SentCommand {
    DeviceHandle handle = kNoDevice;
    PassThroughRequest record{};  // as the executor filled it, before the answer
    std::vector<uint8_t> dataOut;
    std::thread::id sender;
    uint8_t Opcode() const { return record.header.Cdb[0]; }
};

class RecordingTransport : public ScsiTransport {
public:
    static constexpr DeviceHandle kOpenHandle = 7;

    std::string openablePath = "E:";
    int openError = 2;  // what a refused open reports
    std::vector<DeviceHandle> closed;

    OpenResult Open(const std::string& devicePath) override {
        OpenResult result;
        if (devicePath == openablePath) {
            result.handle = kOpenHandle;
        } else {
            result.osError = openError;
        }
        return result;
    }
    void Close(DeviceHandle handle) override { closed.push_back(handle); }

    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        ScriptedAnswer answer;
        uint32_t delayMs = 0;
        {
            std::lock_guard<std::mutex> guard(lock_);
            Record(handle, request);
            answer = NextAnswer(request.header.Cdb[0]);
            delayMs = delayMs_;
        }
        if (delayMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        }
        const TransportResult result = Answer(answer, request);
        std::lock_guard<std::mutex> guard(lock_);
        ++finished_;
        return result;
    }

    // Every later call with this opcode, after any one-time answers are used up.
    void AnswerAlways(uint8_t opcode, ScriptedAnswer answer) {
        std::lock_guard<std::mutex> guard(lock_);
        always_[opcode] = std::move(answer);
    }
    // The next call with this opcode (queued in order).
    void AnswerOnce(uint8_t opcode, ScriptedAnswer answer) {
        std::lock_guard<std::mutex> guard(lock_);
        once_[opcode].push_back(std::move(answer));
    }
    void SetDelayMs(uint32_t delayMs) {
        std::lock_guard<std::mutex> guard(lock_);
        delayMs_ = delayMs;
    }

    std::vector<SentCommand> Sent() const {
        std::lock_guard<std::mutex> guard(lock_);
        return sent_;
    }
    std::vector<uint8_t> Opcodes() const {
        std::vector<uint8_t> opcodes;
        for (const SentCommand& command : Sent()) {
            opcodes.push_back(command.Opcode());
        }
        return opcodes;
    }
    int Finished() const {
        std::lock_guard<std::mutex> guard(lock_);
        return finished_;
    }

private:
    void Record(DeviceHandle handle, const PassThroughRequest& request) {
        SentCommand command;
        command.handle = handle;
        command.record = request;
        command.sender = std::this_thread::get_id();
        const ScsiPassThroughDirect& header = request.header;
        if (header.DataIn == kScsiDataOut && header.DataBuffer != nullptr) {
            const uint8_t* data = static_cast<const uint8_t*>(header.DataBuffer);
            command.dataOut.assign(data, data + header.DataTransferLength);
        }
        sent_.push_back(std::move(command));
    }

    ScriptedAnswer NextAnswer(uint8_t opcode) {
        auto queued = once_.find(opcode);
        if (queued != once_.end() && !queued->second.empty()) {
            ScriptedAnswer answer = queued->second.front();
            queued->second.pop_front();
            return answer;
        }
        auto fixed = always_.find(opcode);
        return fixed == always_.end() ? ScriptedAnswer{} : fixed->second;
    }

    // Writes the answer into the record as a system would; a rejected call leaves debris. The
    // whole transfer counts as moved, as from a system that does not report short transfers.
    static TransportResult Answer(const ScriptedAnswer& answer, PassThroughRequest& request) {
        TransportResult result;
        if (answer.rejected) {
            std::memset(request.sense, 0xEE, sizeof(request.sense));
            result.outcome = TransportOutcome::kRejected;
            result.osError = answer.osError;
            return result;
        }
        ScsiPassThroughDirect& header = request.header;
        header.ScsiStatus = answer.scsiStatus;
        if (answer.scsiStatus != 0) {
            request.sense[0] = 0x70;
            request.sense[2] = answer.senseKey;
            request.sense[7] = 10;
            request.sense[12] = answer.asc;
            request.sense[13] = answer.ascq;
        }
        if (header.DataIn == kScsiDataIn && header.DataBuffer != nullptr) {
            size_t length = std::min<size_t>(answer.reply.size(), header.DataTransferLength);
            if (length > 0) {
                std::memcpy(header.DataBuffer, answer.reply.data(), length);
            }
            result.bytesTransferred = header.DataTransferLength;
        }
        return result;
    }

    mutable std::mutex lock_;
    std::vector<SentCommand> sent_;
    std::map<uint8_t, std::deque<ScriptedAnswer>> once_;
    std::map<uint8_t, ScriptedAnswer> always_;
    uint32_t delayMs_ = 0;
    int finished_ = 0;
};
