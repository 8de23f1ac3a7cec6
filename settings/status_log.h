// Where the settings code queues its status lines: by string id, shown later by the window's
// log pump. The main window's LogRing implements it.
#pragma once

class StatusLog {
public:
    virtual ~StatusLog() = default;
    virtual void LogAppend(int stringId) = 0;
    // Drops every line queued and not yet shown.
    virtual void LogClear() = 0;
};
