// What a user whom the system refuses a drive for want of rights can do about it, which differs
// by system: on Linux join the group that udev gives the optical drives' nodes to; on Windows,
// where only administrators may send pass-through commands, run the program elevated.
#pragma once

enum class AccessRemedy {
    kJoinCdromGroup,
    kRunElevated,
};

AccessRemedy SystemAccessRemedy();
