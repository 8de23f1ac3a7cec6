// The three executors: each sends one CDB through the pass-through record to the open drive
// and turns the outcome into the CommandStatus. They differ only in the CDB length they
// declare to the system, which the command catalogue fixes per command.
//
// Result 1 when the drive answered GOOD (CommandStatus 1); 0 otherwise (CommandStatus 4). A
// command that was not carried out at all (no drive open, the system rejected the call, no
// buffer for its data, a transfer longer than the buffer) also yields 0 and CommandStatus 4,
// with a zero sense area.
#pragma once

#include <cstdint>

#include "drive/cdb.h"
#include "drive/drive_state.h"

int ExecuteCdb6(DriveState& state, int32_t direction, uint32_t transferLength, const Cdb& cdb);
int ExecuteCdb10(DriveState& state, int32_t direction, uint32_t transferLength, const Cdb& cdb);
int ExecuteCdb12(DriveState& state, int32_t direction, uint32_t transferLength, const Cdb& cdb);
