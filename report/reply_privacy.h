// What of a drive's reply a diagnostic report leaves out, so that the report names nothing
// personal: the vendor-specific part of the INQUIRY data (from byte 45 on; some drives keep a
// serial number there) and, of the disc-status reads, everything after their 4-byte header (the
// disc's identification, bar code and track layout say which disc is in the drive). The program
// reads none of those bytes: INQUIRY bytes 8 to 44 are the drive list's text, and the disc probe
// looks at the status and sense only. Every other reply is given whole.
#pragma once

#include <cstdint>

// How many of the received bytes of a reply to the opcode the report gives.
uint32_t KeptReplyBytes(uint8_t opcode, uint32_t received);
