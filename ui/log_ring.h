// LogRing: status texts queued by string id while a handler blocks the window thread; the
// dialog's timer moves them into the log box one piece per tick. Window thread only.
#pragma once

#include <functional>
#include <string>

#include "dialog/string_table.h"
#include "settings/status_log.h"

class LogRing : public StatusLog {
public:
    static constexpr int kSlotCount = 30;
    static constexpr int kSlotSize = 200;  // bytes, terminator included

    explicit LogRing(const StringTable& strings) : strings_(strings) {}

    // Queues the text of the string id (empty when the id is missing). A text longer than a slot
    // is cut at a character boundary; when all slots hold pieces not yet shown, the new piece is
    // dropped rather than overwriting one of them.
    void LogAppend(int stringId) override;
    // Queues a text already in the narrow code page (a message with its node filled in), cut
    // and dropped as LogAppend's are.
    void LogAppendText(const std::string& text);
    int LogHasPending() const { return pendingCount_ != 0 ? 1 : 0; }
    // The oldest piece not yet shown; valid until that slot is appended to again.
    const char* LogPeek() const { return slots_[readIndex_]; }
    void LogAdvance();
    // Drops every piece not yet shown.
    void LogClear() override;
    // Called, on the window thread, whenever an append makes the queue non-empty.
    void SetPendingListener(std::function<void()> listener) {
        pendingListener_ = std::move(listener);
    }

private:
    const StringTable& strings_;
    char slots_[kSlotCount][kSlotSize] = {};
    int writeIndex_ = 0;
    int readIndex_ = 0;
    int pendingCount_ = 0;
    std::function<void()> pendingListener_;
};
