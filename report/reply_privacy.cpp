#include "report/reply_privacy.h"

#include <algorithm>

namespace {

constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kReadToc = 0x43;
constexpr uint8_t kReadDiscInformation = 0x51;
constexpr uint8_t kReadTrackInformation = 0x52;

constexpr uint32_t kInquiryBytesKept = 45;  // up to the end of the drive list's text
constexpr uint32_t kDiscStatusHeaderBytes = 4;

}  // namespace

uint32_t KeptReplyBytes(uint8_t opcode, uint32_t received) {
    switch (opcode) {
        case kInquiry:
            return std::min(received, kInquiryBytesKept);
        case kReadToc:
        case kReadDiscInformation:
        case kReadTrackInformation:
            return std::min(received, kDiscStatusHeaderBytes);
        default:
            return received;
    }
}
