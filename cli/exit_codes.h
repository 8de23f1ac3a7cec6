// The exit codes of velmora-drive, for scripts: documented in --help and the manual page. When
// more than one failure applies, the lowest code among them is returned (cli/run_verdict.h, the
// one place that decides it).
#pragma once

enum ExitCode : int {
    kExitSuccess = 0,        // done; for set and restore every requested value read back
    kExitInternalError = 1,  // the program could not set itself up (memory, threads)
    kExitUsage = 2,          // bad command line: nothing was sent to any drive
    kExitNoDevice = 3,       // no such device, not a supported drive, or none connected
    kExitNoAccess = 4,       // the system refused the device or a command for want of rights
    kExitDriveRefused = 5,   // the drive refused a command, or it did not answer in time
    kExitNotConfirmed = 6,   // a value written was not confirmed by reading it back
    kExitNotReady = 7,       // a write refused because the drive is not ready for it
    kExitNotSupported = 8,   // a setting asked for that the drive does not have
    kExitBusy = 9,           // the drive is in use by another program
    kExitInterrupted = 10,   // a request to end the program stopped it before the next write
    kExitOutputFailed = 11,  // the report could not be written to stdout or stderr
};
