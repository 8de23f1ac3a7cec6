#include "app/linux_access_messages.h"
#include "app/system_access_messages.h"

const AccessMessages& SystemAccessMessages() {
    return LinuxAccessMessages();
}
