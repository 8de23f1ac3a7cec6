#include "platform/raw_io_capability.h"

bool HasRawIoCapability() {
    return true;
}
