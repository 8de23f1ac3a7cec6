// The SCSI pass-through of the operating system the program runs on.
#pragma once

#include <memory>

#include "platform/scsi_transport.h"

std::unique_ptr<ScsiTransport> CreateSystemScsiTransport();
