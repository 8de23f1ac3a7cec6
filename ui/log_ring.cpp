#include "ui/log_ring.h"

#include <cstring>
#include <string>

namespace {

// The longest prefix of text that fits limit bytes without splitting a two-byte character.
size_t FittingLength(const std::string& text, size_t limit, const StringTable& strings) {
    size_t length = 0;
    while (length < text.size()) {
        const size_t width = strings.IsLeadByte(static_cast<unsigned char>(text[length])) ? 2 : 1;
        if (length + width > limit || length + width > text.size()) {
            break;
        }
        length += width;
    }
    return length;
}

}  // namespace

void LogRing::LogAppend(int stringId) {
    LogAppendText(strings_.LoadText(stringId));
}

void LogRing::LogAppendText(const std::string& text) {
    if (pendingCount_ >= kSlotCount) {
        return;
    }
    const size_t length = FittingLength(text, kSlotSize - 1, strings_);
    std::memcpy(slots_[writeIndex_], text.data(), length);
    slots_[writeIndex_][length] = '\0';
    ++pendingCount_;
    writeIndex_ = (writeIndex_ + 1) % kSlotCount;
    if (pendingCount_ == 1 && pendingListener_) {
        pendingListener_();
    }
}

void LogRing::LogAdvance() {
    if (pendingCount_ == 0) {
        return;
    }
    --pendingCount_;
    readIndex_ = (readIndex_ + 1) % kSlotCount;
}

void LogRing::LogClear() {
    writeIndex_ = 0;
    readIndex_ = 0;
    pendingCount_ = 0;
}
