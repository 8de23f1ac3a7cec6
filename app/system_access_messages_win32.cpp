#include "app/system_access_messages.h"

const AccessMessages& SystemAccessMessages() {
    return ClassicAccessMessages();
}
