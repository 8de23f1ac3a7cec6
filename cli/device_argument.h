// The DEVICE argument of a command, matched against the devices where a drive may be: a device is
// named as the drive list names it ("/dev/sr0", "E:") or by the path the transport opens. A drive
// letter may be given in either case and without its colon ("e", "e:", "E:").
#pragma once

#include <string>
#include <vector>

#include "platform/drive_candidates.h"

// The matching candidate, or nullptr when the argument names none of them.
const DriveCandidate* FindDeviceCandidate(const std::vector<DriveCandidate>& candidates,
                                          const std::string& argument);
