// The one request/result record between the thread that asks for a command and the worker
// that performs it. Every field starts at 0 and keeps its value from one command to the next:
// a caller sets what its command needs and inherits the rest (the settings write takes its
// buffer mode and offset from the settings read before it).
#pragma once

#include <cstdint>

#include "drive/cdb.h"
#include "platform/scsi_transport.h"

// Result of the last command; written only when a command ends.
enum CommandStatus : int32_t {
    kCommandNotRun = 0,     // no command has ended yet
    kCommandCompleted = 1,  // SCSI status GOOD
    kCommandFailed = 4,     // any other status, or the command was not carried out
};

// Command codes: the SCSI opcode for plain commands, 0x100 plus the opcode for the
// fixed-argument variants, and two codes of their own.
enum CommandCode : int32_t {
    kCodeTestUnitReady = 0x00,
    kCodeRequestSense = 0x03,
    kCodeInquiry = 0x12,
    kCodeStartStopUnit = 0x1B,
    kCodeWriteBuffer = 0x3B,
    kCodeReadBuffer = 0x3C,
    kCodeInquiryFull = 0x112,
    kCodeReadModelBuffer = 0x13C,
    kCodeRawCdb = 0x50C,
    kCodeProbeDiscPresence = 0x50D,
};

struct CommandBlock {
    int32_t code = 0;
    int32_t timeout = 0;  // seconds; the TimeOutValue of every pass-through call made meanwhile
    uint8_t bufferId = 0;
    uint8_t bufferMode = 0;
    uint8_t immediate = 0;       // START STOP UNIT byte 1
    uint8_t powerCondition = 0;  // START STOP UNIT byte 4, bits 7..4
    uint8_t loadEject = 0;       // START STOP UNIT byte 4, bit 1
    uint8_t start = 0;           // START STOP UNIT byte 4, bit 0
    uint32_t bufferOffset = 0;
    uint32_t transferLength = 0;  // code 18 uses only its low byte
    Cdb rawCdb{};
    int32_t rawDirection = 0;
    int32_t status = kCommandNotRun;  // the CommandStatus
    // How the system's call for the last command ended, written with the status: whether it was
    // sent, and if not the system's reason; for data-in commands the bytes the drive actually
    // returned (a reply shorter than asked leaves the rest of DataInBuffer as earlier commands
    // left it). A command not carried out has kRejected and 0 bytes.
    TransportResult transport;
    int32_t discPresent = 0;  // written by the disc-presence probe: 1 present, 0 none
};
