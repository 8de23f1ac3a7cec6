// Sends a handful of commands through the Windows pass-through backend and checks the answers.
// Run under Wine by tests/e2e/test_passthrough.sh, which places simulated drives first:
//   E: a drive as the simulated drive's defaults describe it (model "7315KT52    ", vendor
//      "VELMORA ", both settings supported and OFF, no disc);
//   F: the same drive with its tray open;
//   G: no drive at all.
// Prints one line per check and exits 1 when any check fails.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/pass_through_record.h"
#include "platform/system_scsi_transport.h"

namespace {

int failures = 0;

void Check(bool passed, const std::string& what) {
    std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
    if (!passed) {
        ++failures;
    }
}

// The record as the command executors fill it.
PassThroughRequest MakeRecord(const uint8_t (&cdb)[12], uint8_t cdbLength, uint8_t dataIn,
                              uint8_t* buffer, uint32_t length, uint32_t timeoutSeconds) {
    PassThroughRequest request;
    std::memset(&request, 0, sizeof(request));
    request.header.Length = sizeof(ScsiPassThroughDirect);
    request.header.CdbLength = cdbLength;
    request.header.SenseInfoLength = kSenseBytesRequested;
    request.header.DataIn = dataIn;
    request.header.DataTransferLength = length;
    request.header.TimeOutValue = timeoutSeconds;
    request.header.DataBuffer = buffer;
    request.header.SenseInfoOffset = kSenseOffset;
    std::memcpy(request.header.Cdb, cdb, sizeof(cdb));
    return request;
}

uint8_t RecordByte(const PassThroughRequest& request, size_t offset) {
    return reinterpret_cast<const uint8_t*>(&request)[offset];
}

TransportResult lastResult;

bool Send(ScsiTransport& transport, DeviceHandle drive, PassThroughRequest& request,
          const char* what) {
    lastResult = transport.Execute(drive, request);
    Check(lastResult.Sent(), std::string(what) + ": the system ran the command");
    return lastResult.Sent();
}

void CheckInquiry(ScsiTransport& transport, DeviceHandle drive, uint8_t* in) {
    const uint8_t cdb[12] = {0x12, 0, 0, 0, 0xFE};
    std::memset(in, 0, 256);
    PassThroughRequest request = MakeRecord(cdb, 12, kScsiDataIn, in, 254, 2);
    if (Send(transport, drive, request, "INQUIRY 254")) {
        Check(request.header.ScsiStatus == 0, "INQUIRY 254: status GOOD");
        Check(lastResult.bytesTransferred == 96, "INQUIRY 254: the 96 bytes that came back");
        Check(std::memcmp(in + 8, "VELMORA CD-R DRIVE      1.00", 28) == 0,
              "INQUIRY 254: vendor, product and revision at bytes 8..35");
    }
}

void CheckModelBuffer(ScsiTransport& transport, DeviceHandle drive, uint8_t* in) {
    const uint8_t cdb[12] = {0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x30};
    std::memset(in, 0, 256);
    PassThroughRequest request = MakeRecord(cdb, 12, kScsiDataIn, in, 48, 1);
    if (Send(transport, drive, request, "READ BUFFER F1h")) {
        Check(request.header.ScsiStatus == 0, "READ BUFFER F1h: status GOOD");
        Check(std::memcmp(in + 16, "7315KT52    ", 12) == 0 && in[28] == 0,
              "READ BUFFER F1h: identification text at byte 16");
    }
}

// Reads buffer F4h with the mode given into in; false when the command did not complete.
bool ReadSettings(ScsiTransport& transport, DeviceHandle drive, uint8_t mode, uint8_t* in,
                  const char* what) {
    const uint8_t cdb[12] = {0x3C, mode, 0xF4, 0, 0, 0, 0, 0x01, 0x00};
    std::memset(in, 0xEE, 256);
    PassThroughRequest request = MakeRecord(cdb, 12, kScsiDataIn, in, 256, 10);
    if (!Send(transport, drive, request, what)) {
        return false;
    }
    Check(request.header.ScsiStatus == 0, std::string(what) + ": status GOOD");
    return request.header.ScsiStatus == 0;
}

void CheckSettingsWrite(ScsiTransport& transport, DeviceHandle drive, uint8_t* in, uint8_t* out) {
    if (ReadSettings(transport, drive, 1, in, "READ BUFFER F4h mode 1")) {
        Check(in[18] == 1 && in[19] == 0 && in[20] == 0 && in[21] == 1,
              "settings page: both supported, speed OFF");
    }
    const uint8_t cdb[12] = {0x3B, 0x01, 0xFA, 0, 0, 0, 0, 0x01, 0x00};
    std::memset(out, 0, 256);
    out[0] = 9;  // Optimal Writing Speed page: ON, saved
    out[2] = 1;
    out[3] = 1;
    PassThroughRequest request = MakeRecord(cdb, 12, kScsiDataOut, out, 256, 10);
    if (Send(transport, drive, request, "WRITE BUFFER FAh")) {
        Check(request.header.ScsiStatus == 0, "WRITE BUFFER FAh: status GOOD");
    }
    if (ReadSettings(transport, drive, 1, in, "READ BUFFER F4h after the write")) {
        Check(in[19] == 1 && in[20] == 1, "read back: speed ON, current and saved");
    }
    if (ReadSettings(transport, drive, 0, in, "READ BUFFER F4h mode 0")) {
        Check(in[24] == 1, "ready byte 1 with no disc");
    }
}

void CheckTrayOpen(ScsiTransport& transport) {
    const DeviceHandle drive = transport.Open("F:").handle;
    Check(drive != kNoDevice, "open F:");
    if (drive == kNoDevice) {
        return;
    }
    const uint8_t cdb[12] = {0x00};
    PassThroughRequest request = MakeRecord(cdb, 6, kScsiDataUnspecified, nullptr, 0, 10);
    if (Send(transport, drive, request, "TEST UNIT READY, tray open")) {
        Check(request.header.ScsiStatus == 2, "TEST UNIT READY: CHECK CONDITION");
        Check(RecordByte(request, kSenseKeyOffset) == 0x02 &&
                  RecordByte(request, kAscOffset) == 0x3A &&
                  RecordByte(request, kAscqOffset) == 0x02,
              "TEST UNIT READY: sense 02/3A/02 at the record's sense offsets");
    }
    transport.Close(drive);
}

// A header Length other than the system's structure size is refused by the system; the
// backend must say so rather than report a command that never ran.
void CheckRefusals(ScsiTransport& transport, DeviceHandle drive) {
    const uint8_t cdb[12] = {0x00};
    PassThroughRequest request = MakeRecord(cdb, 6, kScsiDataUnspecified, nullptr, 0, 10);
    Check(transport.Execute(kNoDevice, request).outcome == TransportOutcome::kRejected,
          "no handle: Execute reports a refusal");
    if (sizeof(ScsiPassThroughDirect) != 44) {
        request.header.Length = 44;
        const TransportResult refused = transport.Execute(drive, request);
        Check(refused.outcome == TransportOutcome::kRejected && refused.osError != 0,
              "Length 44 on a 64-bit system is refused, with the system's reason");
    }
    const OpenResult missing = transport.Open("G:");
    Check(missing.handle == kNoDevice && missing.osError != 0,
          "open G: without a drive gives no handle and the system's reason");
}

}  // namespace

int main() {
    std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
    static uint8_t in[256];
    static uint8_t out[256];
    const DeviceHandle drive = transport->Open("E:").handle;
    Check(drive != kNoDevice, "open E:");
    if (drive != kNoDevice) {
        CheckInquiry(*transport, drive, in);
        CheckModelBuffer(*transport, drive, in);
        CheckSettingsWrite(*transport, drive, in, out);
        CheckRefusals(*transport, drive);
        transport->Close(drive);
    }
    CheckTrayOpen(*transport);
    std::printf("passthrough_check: %d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
