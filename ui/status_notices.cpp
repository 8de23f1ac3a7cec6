#include "ui/status_notices.h"

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

void StatusNotices::Append(const UserMessage& message) {
    log_.LogAppendText(TextOf(message));
}

std::string StatusNotices::TextOf(const UserMessage& message) const {
    return FillPlaceholder(texts_.LoadText(message.stringId), message.argument);
}
