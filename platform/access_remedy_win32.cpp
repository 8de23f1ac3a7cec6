#include "platform/access_remedy.h"

AccessRemedy SystemAccessRemedy() {
    return AccessRemedy::kRunElevated;
}
