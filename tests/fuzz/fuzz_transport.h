// A pass-through transport whose drive is the fuzzer's input: every open and every command takes
// its answer from the next bytes of the input, in the order the program sends them. Once the
// input is used up every byte reads as 0: opens succeed and commands come back GOOD with no data.
//
// One answer, byte by byte:
//   open      1 byte: low bit set refuses the open
//   command   status   1 byte: the SCSI status; instead 0xFF: the system rejects the call, 0xFE:
//                      it refuses the call for want of rights (EPERM), 0xFD: it fails it (EIO),
//                      0xFC: it says the device is gone (ENODEV)
//             when the status is not GOOD:
//                      sense count 1 byte (at most the sense bytes asked for), then the sense bytes
//             when the command reads data:
//                      length 2 bytes, little-endian: the bytes the drive returns, which the
//                      system reports back; then that many reply bytes, never more than the
//                      allocation length. A length above the allocation length is reported as
//                      it is (a misbehaving system) while the whole allocation length moves.
//
// It also keeps what the program must not get wrong about those answers: the bytes each INQUIRY,
// settings read and ready poll returned, for every setting written (WRITE BUFFER to buffer FAh
// with page kind 9 or 2, also one the program meant to send that never reached the system)
// whether the settings read that followed it confirmed the value, and how many opens and commands
// of each opcode reached it.
//
// Commands reach it one at a time (each worker is waited for before the next starts), so it
// needs no lock.
#pragma once

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/scsi_transport.h"

// The fuzzer's input read from the front; 0 once it is used up.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }
    // The input's last byte, taken off its end (0 for an empty input): for what the program
    // meets besides the drive's answers.
    uint8_t TailByte() { return used_ < size_ ? data_[--size_] : 0; }
    uint16_t Word() {
        const uint8_t low = Byte();
        return static_cast<uint16_t>(low | (Byte() << 8));
    }
    // Fills `count` bytes, with zeros past the end of the input.
    void Fill(uint8_t* out, size_t count) {
        const size_t available = std::min(count, size_ - used_);
        std::memcpy(out, data_ + used_, available);
        std::memset(out + available, 0, count - available);
        used_ += available;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};

// The bytes at the start of each transfer buffer that a command may use; the program's commands
// move at most 256.
constexpr size_t kReplyArea = 4096;

// Stops the run so that libFuzzer reports the input: a property of the program did not hold.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "violated: %s\n", what);
        __builtin_trap();
    }
}

// What one data-in reply was: its status and the bytes that came back.
struct ReplySeen {
    bool good = false;  // carried out with SCSI status GOOD
    // CHECK CONDITION with sense key 6 (UNIT ATTENTION) in the fixed or the descriptor place:
    // a read the program may send once more.
    bool unitAttention = false;
    uint32_t returned = 0;  // bytes the drive put into the buffer
    std::array<uint8_t, 256> bytes{};
};

// A setting the program wrote, and whether the settings read after it confirmed it.
struct SettingWriteSeen {
    bool written = false;
    uint8_t value = 0;
    uint8_t save = 0;
    bool confirmed = false;
};

class FuzzTransport : public ScsiTransport {
public:
    static constexpr uint8_t kRejectCall = 0xFF;
    static constexpr uint8_t kRefuseForRights = 0xFE;
    static constexpr uint8_t kFailCall = 0xFD;
    static constexpr uint8_t kGoneCall = 0xFC;
    static constexpr uint8_t kOptimalSpeedKind = 9;
    static constexpr uint8_t kAudioModeKind = 2;

    explicit FuzzTransport(FuzzInput& input) : input_(input) {}

    OpenResult Open(const std::string& /*devicePath*/) override {
        ++opens_;
        inquiries_.emplace_back();
        OpenResult opened;
        refusedOpens_.push_back((input_.Byte() & 1) != 0);
        if (refusedOpens_.back()) {
            opened.osError = EACCES;
        } else {
            opened.handle = ++lastHandle_;
        }
        return opened;
    }
    void Close(DeviceHandle /*handle*/) override {}

    TransportResult Execute(DeviceHandle /*handle*/, PassThroughRequest& request) override {
        ScsiPassThroughDirect& header = request.header;
        ++sent_[header.Cdb[0]];
        const uint8_t status = input_.Byte();
        TransportResult result;
        if (status == kRejectCall || status == kRefuseForRights) {
            result.outcome = TransportOutcome::kRejected;
            result.osError = status == kRefuseForRights ? EPERM : 0;
        } else if (status == kFailCall || status == kGoneCall) {
            result.outcome = TransportOutcome::kOsError;
            result.osError = status == kGoneCall ? ENODEV : EIO;
        } else {
            header.ScsiStatus = status;
            result.senseLength = AnswerSense(request);
        }
        ReplySeen reply;
        reply.good = result.Sent() && status == 0;
        reply.unitAttention = result.Sent() && status == 2 &&
                              ((request.sense[2] & 0x0F) == 6 || (request.sense[1] & 0x0F) == 6);
        if (result.Sent() && ReadsData(header)) {
            result.bytesTransferred = AnswerData(header, &reply);
        }
        Observe(header, reply);
        return result;
    }

    // The last INQUIRY after the open numbered `open` (from 0); returned 0 when none was carried
    // out.
    ReplySeen InquiryAfterOpen(size_t open) const {
        return open < inquiries_.size() ? inquiries_[open] : ReplySeen{};
    }
    const ReplySeen& LastSettingsRead() const { return settingsRead_; }
    const ReplySeen& LastReadyPoll() const { return readyPoll_; }
    const SettingWriteSeen& OptimalSpeedWrite() const { return speedWrite_; }
    const SettingWriteSeen& AudioModeWrite() const { return audioWrite_; }
    int Opens() const { return opens_; }
    // The number (from 0) of the first open that was refused; Opens() when none was.
    // Whether each open, in order, was refused.
    const std::vector<bool>& RefusedOpens() const { return refusedOpens_; }
    int Sent(uint8_t opcode) const { return sent_[opcode]; }
    int SentInAll() const {
        int all = 0;
        for (int count : sent_) {
            all += count;
        }
        return all;
    }
    // A WRITE BUFFER page the program meant to send, but whose command never reached the system
    // (its worker could not start): its read-back must confirm it all the same.
    void NoteWriteNotCarriedOut(const uint8_t* page, uint32_t length) {
        NoteSettingPage(page, length);
    }
    // Forgets the settings written so far: the next operation is judged on its own writes.
    void ForgetWrites() {
        speedWrite_ = SettingWriteSeen{};
        audioWrite_ = SettingWriteSeen{};
        awaitingReadBack_ = nullptr;
    }

private:
    static bool ReadsData(const ScsiPassThroughDirect& header) {
        return header.DataIn == kScsiDataIn && header.DataBuffer != nullptr &&
               header.DataTransferLength > 0;
    }

    uint8_t AnswerSense(PassThroughRequest& request) {
        ScsiPassThroughDirect& header = request.header;
        uint8_t count = 0;
        if (header.ScsiStatus != 0) {
            count = std::min(input_.Byte(), header.SenseInfoLength);
            Require(header.SenseInfoOffset >= sizeof(ScsiPassThroughDirect) &&
                        header.SenseInfoOffset + count <= sizeof(PassThroughRequest),
                    "sense area inside the pass-through record");
            input_.Fill(reinterpret_cast<uint8_t*>(&request) + header.SenseInfoOffset, count);
        }
        header.SenseInfoLength = count;
        return count;
    }

    // Moves the reply into the buffer and reports a length as the system does: the one the input
    // gives, which may claim more than moved or was asked for.
    uint32_t AnswerData(ScsiPassThroughDirect& header, ReplySeen* reply) {
        const uint32_t allocation = header.DataTransferLength;
        Require(allocation <= kReplyArea, "reply within the area cleared before each input");
        const uint32_t length = input_.Word();
        const uint32_t moved = std::min(length, allocation);
        auto* buffer = static_cast<uint8_t*>(header.DataBuffer);
        input_.Fill(buffer, moved);
        header.DataTransferLength = length;
        reply->returned = moved;
        std::memcpy(reply->bytes.data(), buffer, std::min<size_t>(moved, reply->bytes.size()));
        return length;
    }

    void Observe(const ScsiPassThroughDirect& header, const ReplySeen& reply) {
        const uint8_t* cdb = header.Cdb;
        const bool bufferF4 = cdb[0] == 0x3C && cdb[2] == 0xF4;
        if (cdb[0] == 0x12) {
            if (inquiries_.empty()) {
                inquiries_.emplace_back();
            }
            inquiries_.back() = reply;
        } else if (bufferF4 && (cdb[1] & 0x1F) == 0) {
            readyPoll_ = reply;
        } else if (bufferF4 && (cdb[1] & 0x1F) == 1) {
            settingsRead_ = reply;
            JudgeReadBack(reply);
        } else if (cdb[0] == 0x3B && cdb[2] == 0xFA) {
            NoteSettingWrite(header);
        }
    }

    void NoteSettingWrite(const ScsiPassThroughDirect& header) {
        if (header.DataIn == kScsiDataOut) {
            NoteSettingPage(static_cast<const uint8_t*>(header.DataBuffer),
                            header.DataTransferLength);
        }
    }

    void NoteSettingPage(const uint8_t* page, uint32_t length) {
        if (page == nullptr || length < 4) {
            return;
        }
        SettingWriteSeen* write = page[0] == kOptimalSpeedKind ? &speedWrite_
                                  : page[0] == kAudioModeKind  ? &audioWrite_
                                                               : nullptr;
        if (write != nullptr) {
            *write = SettingWriteSeen{true, page[2], page[3], false};
            awaitingReadBack_ = write;
        }
    }

    // The settings read right after a write: GOOD, reaching byte 23, the current value (byte 19
    // or 22) as written and, when saving was asked, the saved value (byte 20 or 23) too. One
    // answered with a unit attention leaves the write awaiting the read sent again.
    void JudgeReadBack(const ReplySeen& reply) {
        if (awaitingReadBack_ == nullptr || reply.unitAttention) {
            return;
        }
        SettingWriteSeen& write = *awaitingReadBack_;
        const size_t current = &write == &speedWrite_ ? 19 : 22;
        write.confirmed = reply.good && reply.returned >= 24 &&
                          reply.bytes[current] == write.value &&
                          (write.save != 1 || reply.bytes[current + 1] == write.value);
        awaitingReadBack_ = nullptr;
    }

    FuzzInput& input_;
    DeviceHandle lastHandle_ = 0;
    int opens_ = 0;
    std::array<int, 256> sent_{};
    std::vector<ReplySeen> inquiries_;  // one for each open, in order
    std::vector<bool> refusedOpens_;    // one for each open, in order
    ReplySeen settingsRead_;
    ReplySeen readyPoll_;
    SettingWriteSeen speedWrite_;
    SettingWriteSeen audioWrite_;
    SettingWriteSeen* awaitingReadBack_ = nullptr;
};
