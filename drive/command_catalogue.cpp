#include "drive/command_catalogue.h"

#include "drive/pass_through.h"

namespace {

constexpr uint8_t kOpTestUnitReady = 0x00;
constexpr uint8_t kOpRequestSense = 0x03;
constexpr uint8_t kOpInquiry = 0x12;
constexpr uint8_t kOpStartStopUnit = 0x1B;
constexpr uint8_t kOpWriteBuffer = 0x3B;
constexpr uint8_t kOpReadBuffer = 0x3C;
constexpr uint8_t kOpReadToc = 0x43;
constexpr uint8_t kOpGetEventStatus = 0x4A;
constexpr uint8_t kOpReadDiscInformation = 0x51;
constexpr uint8_t kOpReadTrackInformation = 0x52;

constexpr uint8_t kInquiryFullLength = 0xFE;
constexpr uint8_t kModelBufferId = 0xF1;
constexpr uint8_t kModelBufferMode = 0x02;
constexpr uint8_t kModelBufferLength = 0x30;
constexpr uint8_t kTocLength = 0x30;
constexpr uint8_t kEventLength = 0x08;
constexpr uint8_t kMediaEventClass = 0x10;
constexpr uint8_t kDiscInformationLength = 0x22;

uint8_t Byte(uint32_t value, int shift) {
    return static_cast<uint8_t>(value >> shift);
}

// Big-endian, most significant byte first, keeping the low `width` bytes of the value.
void PutBigEndian(Cdb& cdb, int first, int width, uint32_t value) {
    for (int i = 0; i < width; ++i) {
        cdb[first + i] = Byte(value, 8 * (width - 1 - i));
    }
}

// READ BUFFER and WRITE BUFFER share one layout.
Cdb BufferCdb(uint8_t opcode, uint8_t bufferId, uint8_t mode, uint32_t offset, uint32_t length) {
    Cdb cdb{};
    cdb[0] = opcode;
    cdb[1] = mode;
    cdb[2] = bufferId;
    PutBigEndian(cdb, 3, 3, offset);
    PutBigEndian(cdb, 6, 3, length);
    return cdb;
}

}  // namespace

int TestUnitReady(DriveState& state) {
    Cdb cdb{};
    cdb[0] = kOpTestUnitReady;
    return ExecuteCdb6(state, kDirectionNone, 0, cdb);
}

int RequestSense(DriveState& state, uint8_t allocationLength) {
    Cdb cdb{};
    cdb[0] = kOpRequestSense;
    cdb[4] = allocationLength;
    return ExecuteCdb6(state, kDirectionIn, allocationLength, cdb);
}

int Inquiry(DriveState& state, uint8_t allocationLength) {
    Cdb cdb{};
    cdb[0] = kOpInquiry;
    cdb[4] = allocationLength;
    return ExecuteCdb6(state, kDirectionIn, allocationLength, cdb);
}

int InquiryFull(DriveState& state) {
    Cdb cdb{};
    cdb[0] = kOpInquiry;
    cdb[4] = kInquiryFullLength;
    return ExecuteCdb12(state, kDirectionIn, kInquiryFullLength, cdb);
}

int StartStopUnit(DriveState& state, uint8_t immediate, uint8_t powerCondition, uint8_t loadEject,
                  uint8_t start) {
    Cdb cdb{};
    cdb[0] = kOpStartStopUnit;
    cdb[1] = immediate;
    cdb[4] = static_cast<uint8_t>(powerCondition * 16 | loadEject * 2 | start);
    return ExecuteCdb6(state, kDirectionNone, 0, cdb);
}

int ReadBuffer(DriveState& state, uint8_t bufferId, uint8_t mode, uint32_t bufferOffset,
               uint32_t length) {
    Cdb cdb = BufferCdb(kOpReadBuffer, bufferId, mode, bufferOffset, length);
    return ExecuteCdb12(state, kDirectionIn, length, cdb);
}

int ReadModelBuffer(DriveState& state) {
    Cdb cdb = BufferCdb(kOpReadBuffer, kModelBufferId, kModelBufferMode, 0, kModelBufferLength);
    return ExecuteCdb12(state, kDirectionIn, kModelBufferLength, cdb);
}

int WriteBuffer(DriveState& state, uint8_t bufferId, uint8_t mode, uint32_t bufferOffset,
                uint32_t length) {
    Cdb cdb = BufferCdb(kOpWriteBuffer, bufferId, mode, bufferOffset, length);
    return ExecuteCdb12(state, kDirectionOut, length, cdb);
}

int ReadToc(DriveState& state) {
    Cdb cdb{};
    cdb[0] = kOpReadToc;
    cdb[6] = 0x01;  // from track 1, addresses as logical block addresses, format 0
    PutBigEndian(cdb, 7, 2, kTocLength);
    return ExecuteCdb10(state, kDirectionIn, kTocLength, cdb);
}

int GetMediaEventStatus(DriveState& state) {
    Cdb cdb{};
    cdb[0] = kOpGetEventStatus;
    cdb[4] = kMediaEventClass;  // media class only; byte 1 (Polled bit) stays 0
    PutBigEndian(cdb, 7, 2, kEventLength);
    return ExecuteCdb10(state, kDirectionIn, kEventLength, cdb);
}

int ReadDiscInformation(DriveState& state) {
    Cdb cdb{};
    cdb[0] = kOpReadDiscInformation;
    PutBigEndian(cdb, 7, 2, kDiscInformationLength);
    return ExecuteCdb10(state, kDirectionIn, kDiscInformationLength, cdb);
}

int ReadTrackInformation(DriveState& state, uint8_t addressType, uint32_t address,
                         uint32_t allocationLength) {
    Cdb cdb{};
    cdb[0] = kOpReadTrackInformation;
    cdb[1] = addressType;
    PutBigEndian(cdb, 2, 4, address);
    PutBigEndian(cdb, 7, 2, allocationLength);
    return ExecuteCdb12(state, kDirectionIn, allocationLength, cdb);
}

int SendRawCdb(DriveState& state, const Cdb& cdb, uint32_t transferLength, int32_t direction) {
    return ExecuteCdb12(state, direction, transferLength, cdb);
}
