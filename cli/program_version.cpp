#include "cli/program_version.h"

const char* ProgramVersion() {
    return DRIVE_UTILITY_VERSION;  // defined for this file from the project version
}
