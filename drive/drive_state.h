// The drive state that exists once per process: the transport and open drive, the
// pass-through record, the transfer buffers and the command block. The program owns exactly
// one and hands it to the code that talks to the drive; a test builds a fresh one.
//
// None of it has a lock of its own: whoever uses it holds the DriveAccessMutex (drive
// discovery excepted, which runs before any other thread exists).
#pragma once

#include <cstdint>

#include "drive/command_block.h"
#include "drive/command_trace.h"
#include "drive/transfer_buffers.h"
#include "platform/pass_through_record.h"
#include "platform/scsi_transport.h"

// How commands reach the drive. Only the pass-through is built; 0 (the start value) and 2
// select it, 1 would select a host-adapter interface that does not exist here.
enum TransportMode : int32_t {
    kTransportModeUnset = 0,
    kTransportModeHostAdapter = 1,
    kTransportModePassThrough = 2,
};

struct DriveState {
    explicit DriveState(ScsiTransport& systemTransport) : transport(systemTransport) {}
    DriveState(const DriveState&) = delete;
    DriveState& operator=(const DriveState&) = delete;

    ScsiTransport& transport;
    DeviceHandle driveHandle = kNoDevice;  // the DriveHandle: every command goes to it
    PassThroughRequest request{};
    TransferBuffers buffers;
    CommandBlock block;
    int32_t transportMode = kTransportModeUnset;
    int openError = 0;  // the system's reason when the last OpenDrive failed, else 0
    // Told of every command once it has ended; none by default (the window keeps no trace).
    CommandTraceSink* trace = nullptr;
    // Whether a command the system fails because the drive is no longer there
    // (ReportsDriveGone) ends what it is part of at once: the disc probe, an apply, the media
    // watcher's polling. Off by default, as for the Windows program, which keeps its retries.
    bool endOnGoneDrive = false;
};
