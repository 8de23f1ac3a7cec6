// Outside Windows there is no 9x family to refuse: the NT branch applies.
#include "platform/os_platform.h"

int QueryOsPlatformId() {
    return kOsPlatformNt;
}
