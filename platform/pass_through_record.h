// The SCSI pass-through record that every command fills and the operating system answers in
// place. The first member mirrors the platform's SCSI_PASS_THROUGH_DIRECT field for field, so
// the Windows backend hands the record to DeviceIoControl unchanged; the other backends read
// the same fields. With 32-bit pointers the record is the classic 80-byte layout (44-byte header,
// 4-byte filler, 32-byte sense area at 48); with 64-bit pointers the header is 56 bytes and the
// sense area follows it at 60.
#pragma once

#include <cstddef>
#include <cstdint>

struct ScsiPassThroughDirect {
    uint16_t Length;
    uint8_t ScsiStatus;
    uint8_t PathId;
    uint8_t TargetId;
    uint8_t Lun;
    uint8_t CdbLength;
    uint8_t SenseInfoLength;
    uint8_t DataIn;
    uint32_t DataTransferLength;
    uint32_t TimeOutValue;
    void* DataBuffer;
    uint32_t SenseInfoOffset;
    uint8_t Cdb[16];
};

struct PassThroughRequest {
    ScsiPassThroughDirect header;
    uint32_t filler;
    uint8_t sense[32];
};

// Values of ScsiPassThroughDirect::DataIn.
enum : uint8_t { kScsiDataOut = 0, kScsiDataIn = 1, kScsiDataUnspecified = 2 };

constexpr uint8_t kSenseBytesRequested = 18;

// Byte offsets of the sense key, ASC and ASCQ inside the record (sense bytes 2, 12, 13).
constexpr std::size_t kSenseOffset = offsetof(PassThroughRequest, sense);
constexpr std::size_t kSenseKeyOffset = kSenseOffset + 2;
constexpr std::size_t kAscOffset = kSenseOffset + 12;
constexpr std::size_t kAscqOffset = kSenseOffset + 13;

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ScsiPassThroughDirect) == 44, "32-bit pass-through header is 44 bytes");
static_assert(sizeof(PassThroughRequest) == 80, "32-bit pass-through record is 80 bytes");
static_assert(offsetof(ScsiPassThroughDirect, DataTransferLength) == 12, "record layout");
static_assert(offsetof(ScsiPassThroughDirect, TimeOutValue) == 16, "record layout");
static_assert(offsetof(ScsiPassThroughDirect, DataBuffer) == 20, "record layout");
static_assert(offsetof(ScsiPassThroughDirect, SenseInfoOffset) == 24, "record layout");
static_assert(offsetof(ScsiPassThroughDirect, Cdb) == 28, "record layout");
static_assert(kSenseKeyOffset == 50 && kAscOffset == 60 && kAscqOffset == 61, "sense offsets");
#else
static_assert(sizeof(ScsiPassThroughDirect) == 56, "64-bit pass-through header is 56 bytes");
static_assert(offsetof(ScsiPassThroughDirect, DataBuffer) == 24, "record layout");
static_assert(offsetof(ScsiPassThroughDirect, SenseInfoOffset) == 32, "record layout");
static_assert(offsetof(ScsiPassThroughDirect, Cdb) == 36, "record layout");
static_assert(kSenseOffset == 60, "64-bit sense area follows the header and the filler");
#endif
