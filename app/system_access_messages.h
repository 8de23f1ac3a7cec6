// The words for what the system refuses on the platform the program is built for: the Windows
// program's own texts on Windows, LinuxAccessMessages() on Linux. Every front end of the program
// (the window, the command line) takes these.
#pragma once

#include "settings/access_messages.h"

const AccessMessages& SystemAccessMessages();
