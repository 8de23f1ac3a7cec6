// Every SCSI command the program sends. Each operation builds its 12-byte CDB, picks the
// direction and transfer length and hands it to the executor the command is declared with
// (not always the one its opcode group implies). Results are the executor's: 1 or 0, with the
// CommandStatus and sense data left behind. No operation reads its reply.
#pragma once

#include <cstdint>

#include "drive/cdb.h"
#include "drive/drive_state.h"

int TestUnitReady(DriveState& state);
int RequestSense(DriveState& state, uint8_t allocationLength);
int Inquiry(DriveState& state, uint8_t allocationLength);
int InquiryFull(DriveState& state);  // 254 bytes, declared as a 12-byte CDB
int StartStopUnit(DriveState& state, uint8_t immediate, uint8_t powerCondition, uint8_t loadEject,
                  uint8_t start);
// Offset and length go into 3-byte fields (low 24 bits); the executor gets the full length.
int ReadBuffer(DriveState& state, uint8_t bufferId, uint8_t mode, uint32_t bufferOffset,
               uint32_t length);
int ReadModelBuffer(DriveState& state);  // buffer 0xF1, mode 2, 48 bytes
int WriteBuffer(DriveState& state, uint8_t bufferId, uint8_t mode, uint32_t bufferOffset,
                uint32_t length);
int ReadToc(DriveState& state);
int GetMediaEventStatus(DriveState& state);
int ReadDiscInformation(DriveState& state);
// The CDB carries the low 16 bits of the allocation length; the executor gets all of it.
int ReadTrackInformation(DriveState& state, uint8_t addressType, uint32_t address,
                         uint32_t allocationLength);
int SendRawCdb(DriveState& state, const Cdb& cdb, uint32_t transferLength, int32_t direction);
