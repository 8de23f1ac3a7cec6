// How the system treats one simulated Linux device node, as the SG_IO preload library reads it
// from node-<node>.conf (node-sg1.conf, node-sr0.conf): one key=value a line, '#' starts a comment
// line. Keys: open=ERRNO (every open of the node fails so), excl=ERRNO (every open with O_EXCL
// fails so: EBUSY while a disc is mounted or another program holds the drive exclusively),
// io=ERRNO (every SG_IO on it fails so: the drive has gone), filter=0|1 (the block node's command
// filter; on by default for srN nodes, off for sgN). ERRNO is a name (EACCES, EPERM, ENOENT,
// ENODEV, ENXIO, EIO, EBUSY) or 0 for none.
#pragma once

#include <cstdint>
#include <string>

struct NodeConfig {
    int openError = 0;
    int exclusiveOpenError = 0;
    int ioError = 0;
    int filter = -1;  // -1: as the node's kind has it
};

// Parses the text into config. On a line it cannot read it returns false and says which line and
// why in error.
bool ParseNodeConfig(const std::string& text, NodeConfig& config, std::string& error);

// The block node's command filter as the kernel applies it to a user without CAP_SYS_RAWIO, for
// the commands this program sends: those on scsi_cmd_allowed()'s read-safe list pass; anything
// else, WRITE BUFFER (3Bh) among them, is refused with EPERM.
bool BlockNodeFilterPasses(uint8_t opcode);

// "EPERM" for EPERM, the number for an error without a name here.
std::string ErrorName(int error);
