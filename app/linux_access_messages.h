// What a Linux user is told when the system says no: the node that could not be opened and that
// the cdrom group (or logging in at the machine, which udev's seat rules reward with access) gives
// the right to it; that a drive reached only through its block node needs the sg module or an
// administrator to be written; and, when nothing is listed, whether there is no optical drive at
// all, one that did not answer the maker's identification query (behind a USB adapter that does
// not pass vendor commands), or none of a supported model.
#pragma once

#include "settings/access_messages.h"

const AccessMessages& LinuxAccessMessages();
