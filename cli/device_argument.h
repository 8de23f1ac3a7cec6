// The DEVICE argument of a command, matched against the devices where a drive may be. A device is
// named as the drive list names it ("/dev/sr0", "E:"), by the path the transport opens
// ("/dev/sg1"), or on Linux by any other path to one of those nodes: a link such as /dev/cdrom or
// /dev/disk/by-id/..., a spelling with extra slashes ("//dev/sr0", "/dev/sr0/"), a node of the same
// device number. A drive letter may be given in either case, without its colon or with a
// backslash after it ("e", "e:", "E:\"). Only the listed devices are ever opened: the argument
// itself is only looked up.
#pragma once

#include <string>
#include <vector>

#include "platform/drive_candidates.h"

// The matching candidate, or nullptr when the argument names none of them.
const DriveCandidate* FindDeviceCandidate(const std::vector<DriveCandidate>& candidates,
                                          const std::string& argument);

// Whether the argument leads to a file or device at all (one that is then not a listed drive).
bool NamesSomethingPresent(const std::string& argument);
