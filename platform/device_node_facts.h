// One device node as a diagnostic report describes it: whether it is there, its type, owner,
// group and permission bits, whether its group is one of this user's, and whether this user may
// open it for reading and writing. POSIX only.
#pragma once

#include <string>

#include "platform/optical_drive_facts.h"

// path is the system's name of the node ("/dev/sg1"), looked up at lookupPath (the same, or the
// node in a test's fake tree). The node is not opened: it is looked at through an O_PATH
// descriptor, which reaches no driver, and access() answers for the rights.
DeviceNodeFacts DescribeDeviceNode(const std::string& path, const std::string& lookupPath,
                                   DeviceNodeKind kind);
