// Confirming that an open Linux device node still leads to the drive that was listed: the kernel
// hands a freed sr or sg number to the next device plugged in, so a path alone proves nothing.
// Linux only.
#pragma once

#include <string>

#include "platform/drive_candidates.h"
#include "platform/scsi_transport.h"

// From the descriptor itself (fstat: a character device for an sg node, a block device for an sr
// node, and its device number) and then sysfs for that number (root + /sys/dev/char/M:m or
// /sys/dev/block/M:m, its device/scsi_device/ entry): kSameDevice when all agree with what was
// listed; kNothingToCheck when no number or address was recorded; kOtherDevice otherwise, also
// when the descriptor or sysfs cannot be read.
NodeCheck CheckOpenNode(int descriptor, const DriveCandidate& listed, const std::string& root);
