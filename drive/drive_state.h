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

// The model read's time-out in the Windows window: 1 s, as it has always had it.
constexpr int32_t kModelReadTimeoutSeconds = 1;
// A drive just plugged in, or woken behind a USB adapter, may take some seconds over its first
// command (3 s is common); with 1 s the system gives up on it and it is not listed. The Linux
// programs and velmora-drive wait 4 s, which still ends within the caller's 5000 ms wait
// (CommandRunner), so that a drive that never answers fails as the system's time-out and not as
// a worker outlasting its wait. (On a Linux block node the kernel raises any time-out below 7 s
// to 7 s; there the worker may outlast the wait, and is still waited for.)
constexpr int32_t kPatientModelReadTimeoutSeconds = 4;

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
    // How long the model identification read, the first command an opened drive gets, may take
    // (kModelReadTimeoutSeconds unless a program chooses kPatientModelReadTimeoutSeconds).
    int32_t modelReadTimeoutSeconds = kModelReadTimeoutSeconds;
};
