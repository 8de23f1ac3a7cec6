#include "ui/status_notices.h"

#include <algorithm>

#include "res/resource_ids.h"

void StatusNotices::Queue(const UserMessage& message) {
    Append(message);
    kept_.push_back(message);
}

void StatusNotices::Requeue() {
    for (const UserMessage& message : kept_) {
        log_.LogAppend(IDS_LINE_BREAK);
        Append(message);
    }
    kept_.clear();
}

// A notice longer than a slot of the log ring (a Linux notice in Japanese may be) is queued in
// pieces, each cut between characters: the log box joins them again, and nothing is lost.
void StatusNotices::Append(const UserMessage& message) {
    const std::string text = TextOf(message);
    size_t start = 0;
    do {
        const size_t length = PieceLength(text, start);
        log_.LogAppendText(text.substr(start, length));
        start += length;
    } while (start < text.size());
}

// The longest piece from start that fits a slot: a two-byte character of the code page, or a
// UTF-8 lead byte with the continuation bytes after it, is never cut.
size_t StatusNotices::PieceLength(const std::string& text, size_t start) const {
    const size_t limit = LogRing::kSlotSize - 1;
    size_t length = 0;
    while (start + length < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[start + length]);
        size_t width = texts_.IsLeadByte(lead) ? 2 : 1;
        while (lead >= 0xC0 && start + length + width < text.size() &&
               (static_cast<unsigned char>(text[start + length + width]) & 0xC0) == 0x80) {
            ++width;
        }
        if (length + width > limit) {
            break;
        }
        length += width;
    }
    return length > 0 ? length : std::min(limit, text.size() - start);
}

std::string StatusNotices::TextOf(const UserMessage& message) const {
    return FillPlaceholder(texts_.LoadText(message.stringId), message.argument);
}
