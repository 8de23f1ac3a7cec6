// The format version of every JSON document the programs write: velmora-drive's --json documents
// and the diagnostic report (cli/velmora-drive.schema.json describes them all). The promise to
// scripts: a key added raises the minor number; a key renamed or removed, or a value whose
// meaning changes, the major one.
//   1.0  the first form
//   1.1  each message's code; the device's by_id, scsi_address and sysfs_path
//   1.2  the report command's document; the program block's program and built_for
#pragma once

constexpr int kJsonFormatMajor = 1;
constexpr int kJsonFormatMinor = 2;
