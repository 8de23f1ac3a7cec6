// Where a command worker reports that it has ended: the main window queues itself its completion
// message, which closes the worker's thread handle; a program without a window needs none.
#pragma once

class CommandDoneSink {
public:
    virtual ~CommandDoneSink() = default;
    // Called on the worker thread as its last act; must queue and return without waiting.
    virtual void PostCommandDone() = 0;
};
