// Where a command worker reports that it has ended: the main window posts itself
// WM_COMMAND_DONE (0x8001); tests supply their own sink.
#pragma once

constexpr unsigned kWmCommandDone = 0x8001;

class CommandDoneSink {
public:
    virtual ~CommandDoneSink() = default;
    // Called on the worker thread as its last act; must queue and return without waiting.
    virtual void PostCommandDone() = 0;
};
