// Whether the system says that the drive a command was meant for is no longer there (unplugged,
// switched off): on Linux SG_IO fails with ENODEV or ENXIO. Nothing reached the drive, and
// nothing sent to it later will.
#pragma once

#include "platform/scsi_transport.h"

bool ReportsDriveGone(const TransportResult& result);
