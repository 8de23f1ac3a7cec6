// The paths the SG_IO preload library moves into a fake tree (SIM_ROOT) so that the native
// program finds simulated drives where Linux would list them: /sys/class/block and everything
// under it, /sys/dev/char and /sys/dev/block (device numbers) and everything under them, the
// device nodes /dev/sgN and /dev/srN, and the mount table /proc/self/mountinfo (which the library
// moves only when the tree has one). Plain C strings and no allocation: the library calls this
// from inside open().
#pragma once

#include <cstddef>

// The path under root when it is one of those; path itself when root is null or empty or the path
// is none of them; nullptr when the moved path does not fit the buffer.
const char* PathUnderSimRoot(const char* root, const char* path, char* buffer, size_t size);

// The node's name ("sg1", "sr0") when path names a device node /dev/sgN or /dev/srN; else nullptr.
const char* DeviceNodeName(const char* path);

// The mount table's path, which moves only when the fake tree holds one.
constexpr char kMountTablePath[] = "/proc/self/mountinfo";
// Any other path under /dev (a link such as /dev/cdrom or /dev/disk/by-id/...) under root, for the
// look-ups that open nothing (stat, readlink, opendir): the library moves such a path only when
// the tree holds it. path itself when root is null or empty or the path is not under /dev;
// nullptr when the moved path does not fit the buffer.
const char* DevicePathUnderSimRoot(const char* root, const char* path, char* buffer, size_t size);
