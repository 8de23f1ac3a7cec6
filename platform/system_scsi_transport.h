// The pass-through of the operating system the program runs on: DeviceIoControl on Windows,
// SG_IO on Linux. Each backend file defines the factory.
#pragma once

#include <memory>

#include "platform/scsi_transport.h"

std::unique_ptr<ScsiTransport> CreateSystemScsiTransport();
