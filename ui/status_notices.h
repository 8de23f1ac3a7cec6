// Status lines that carry a message with its argument (a node's name) rather than a bare string
// id, and the notices among them that must stay visible: a settings report clears the log queue
// when it starts, so a notice queued before it (an unknown system, a drive that could not be
// opened) is queued once more after the report, on a line of its own.
#pragma once

#include <string>
#include <vector>

#include "dialog/string_table.h"
#include "settings/user_message.h"
#include "ui/log_ring.h"

class StatusNotices {
public:
    StatusNotices(LogRing& log, const StringTable& texts) : log_(log), texts_(texts) {}

    // Queues the message now and keeps it for Requeue.
    void Queue(const UserMessage& message);
    // Queues every kept notice again after a line break, and forgets them.
    void Requeue();
    // Forgets the kept notices: they have been shown where nothing clears them.
    void Forget() { kept_.clear(); }
    // Queues the message once (in several pieces when it is longer than a slot of the ring).
    void Append(const UserMessage& message);
    // The message's text in the user's language, its argument filled in.
    std::string TextOf(const UserMessage& message) const;

private:
    size_t PieceLength(const std::string& text, size_t start) const;

    LogRing& log_;
    const StringTable& texts_;
    std::vector<UserMessage> kept_;
};
