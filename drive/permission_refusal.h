// Whether the system said no for want of rights: a node the user may not open, a command the
// kernel's filter does not pass on. The words for it are the front end's.
#pragma once

#include "platform/scsi_transport.h"

// EACCES, EPERM; ERROR_ACCESS_DENIED on Windows.
bool IsPermissionError(int osError);

// The call was refused for want of rights: nothing reached the drive.
bool RefusedForWantOfRights(const TransportResult& result);
