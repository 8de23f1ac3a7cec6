// Whether this process may send a drive the commands that Linux's block-node command filter
// (scsi_cmd_allowed) keeps for CAP_SYS_RAWIO, WRITE BUFFER among them: so that a dry run can tell
// that a write through /dev/srN would be refused. Windows has no such filter: always true there.
#pragma once

bool HasRawIoCapability();
