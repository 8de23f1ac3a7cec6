// What a command worker does: the catalogue operation the command block's code selects, or
// the disc-presence probe, and then the completion message.
#pragma once

#include "drive/command_done_sink.h"
#include "drive/drive_state.h"

// Performs the command state.block describes, on the calling thread. A code that names no
// command sends nothing and leaves the CommandStatus as it was.
void PerformCommand(DriveState& state);

// Decides whether a disc is in the drive; sets state.block.discPresent to 1 or 0. Only a
// medium-not-present sense from the four probing commands, or a media event reply whose
// media-present bit is clear, counts as no disc. With state.endOnGoneDrive a command that finds
// the drive gone ends the probe there (disc present stays 1).
void ProbeDisc(DriveState& state);

// The thread body's argument.
struct CommandWorkerContext {
    DriveState* state;
    CommandDoneSink* sink;  // nullptr: nobody to tell
};

// Thread body: PerformCommand, then posts the completion message as its last act.
void CommandWorker(void* context);
