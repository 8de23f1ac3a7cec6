// The whole program on a dialog backend, with its drives reached through a transport: the real
// executable passes the system's pass-through, a demo can pass simulated drives.
#pragma once

#include "platform/dialog_backend.h"
#include "platform/drive_access_mutex.h"
#include "platform/scsi_transport.h"

extern const char kSingleInstanceName[];

// Builds the process's drive state and services, runs the application and returns its exit
// code. instanceName: the single-instance object's name (narrow bytes); mutexName: the name of the
// drive-access mutex, shared with every process that uses it.
int RunDriveUtility(DialogBackend& backend, ScsiTransport& transport,
                    const char* instanceName = kSingleInstanceName,
                    const char* mutexName = kDriveAccessMutexName);
